#include "archive_path.h"

namespace {

char lower_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_drive_prefix(std::string_view text) {
    const auto letter = static_cast<char>(text.empty() ? 0 : lower_ascii(text[0]));
    return text.size() >= 2 && letter >= 'a' && letter <= 'z' && text[1] == ':';
}

}  // namespace

bool has_pod_extension(std::string_view path) {
    constexpr std::string_view extension = ".pod";
    if (path.size() < extension.size()) return false;
    const std::string_view tail = path.substr(path.size() - extension.size());
    for (std::size_t i = 0; i < extension.size(); ++i) {
        if (lower_ascii(tail[i]) != extension[i]) return false;
    }
    return true;
}

archive_location locate_archive(std::string_view path, const platform::path_style& style) {
    archive_location location;
    std::string_view last_component = path;
    const std::size_t cut = path.find_last_of(style.separators);
    if (cut != std::string_view::npos) {
        location.has_folder = true;
        location.folder = path.substr(0, cut);
        // A root ("/x.pod", "C:\x.pod") keeps its separator: without it the root would be lost
        // ("" or the drive's current folder).
        if (location.folder.empty() || (style.drive_letters && location.folder.size() == 2 &&
                                        is_drive_prefix(location.folder))) {
            location.folder = path.substr(0, cut + 1);
        }
        last_component = path.substr(cut + 1);
    } else if (style.drive_letters && is_drive_prefix(path)) {
        // "C:x.pod" lies in drive C's current folder, which "C:" enters.
        location.has_folder = true;
        location.folder = path.substr(0, 2);
        last_component = path.substr(2);
    }
    location.base_name = last_component.substr(0, last_component.find('.'));
    return location;
}
