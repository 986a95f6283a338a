#include "extract.h"

#include <memory>
#include <string>
#include <vector>

#include "archive_path.h"
#include "name_policy.h"
#include "platform/platform.h"

namespace {

// Bounce buffer for copies the kernel will not do; the only memory that grows with data.
constexpr std::size_t scratch_size = 256 * 1024;

// Where the walk stands: the extraction folder, remembered by a mark, and the folders of the
// output tree entered below it. Consecutive entries of one folder stay there.
struct folder_walk {
    platform::folder_mark extraction_folder;
    std::vector<std::string> entered;
    ~folder_walk() { platform::forget_folder(extraction_folder); }
};

failure cannot_write(std::string_view name) {
    return {failure_text::cannot_write_output, std::string(name)};
}

failure unsafe(std::string_view name) { return {failure_text::unsafe_path, std::string(name)}; }

failure damaged() { return {failure_text::damaged_input, {}}; }

std::optional<failure> enter_output_folder(const std::string& name, const std::string& shown) {
    if (platform::make_and_enter_folder(name, false) == platform::open_status::ok) return {};
    return failure{failure_text::cannot_create_folder, shown};
}

// Enters the archive's folder, then "data" and the base-name folder, and remembers the last.
std::optional<failure> enter_extraction_folder(std::string_view archive_path, folder_walk& walk) {
    const platform::path_style& style = platform::native_path_style;
    const archive_location location = locate_archive(archive_path, style);
    const std::string data = "data";
    if (location.has_folder && !platform::enter_folder(location.folder)) {
        return failure{failure_text::cannot_create_folder, data};
    }
    if (auto failed = enter_output_folder(data, data)) return failed;
    const std::string shown = data + style.preferred_separator + location.base_name;
    // An empty base name (".pod") names no folder: the entries go straight into "data".
    if (!location.base_name.empty()) {
        if (auto failed = enter_output_folder(location.base_name, shown)) return failed;
    }
    if (!platform::remember_current_folder(walk.extraction_folder)) {
        return failure{failure_text::cannot_create_folder,
                       location.base_name.empty() ? data : shown};
    }
    return {};
}

std::optional<failure> go_to_folders(const std::vector<std::string>& folders, std::string_view name,
                                     folder_walk& walk) {
    if (walk.entered == folders) return {};
    if (!walk.entered.empty()) {
        if (!platform::return_to_folder(walk.extraction_folder)) return cannot_write(name);
        walk.entered.clear();
    }
    for (const std::string& folder : folders) {
        switch (platform::make_and_enter_folder(folder, true)) {
            case platform::open_status::ok:
                walk.entered.push_back(folder);
                break;
            case platform::open_status::is_link:
                return unsafe(name);
            case platform::open_status::failed:
                return cannot_write(name);
        }
    }
    return {};
}

// Writes one entry's file in the current folder; a file left incomplete is removed.
std::optional<failure> write_entry_file(const pod::pod_archive& archive,
                                        const pod::pod_entry& entry, const std::string& file_name,
                                        std::span<std::uint8_t> scratch) {
    const std::string_view name = pod::name_of(entry);
    platform::handle file;
    switch (platform::create_output_file(file_name, file)) {
        case platform::open_status::ok:
            break;
        case platform::open_status::is_link:
            return unsafe(name);
        case platform::open_status::failed:
            return cannot_write(name);
    }
    const pod::fetch_status fetched = pod::fetch_entry_data(archive, entry, file, scratch);
    const bool closed = platform::close_output_file(file);
    if (fetched == pod::fetch_status::ok && closed) return {};
    platform::remove_output_file(file_name);
    return fetched == pod::fetch_status::damaged ? damaged() : cannot_write(name);
}

std::optional<failure> extract_entry(const pod::pod_archive& archive, const pod::pod_entry& entry,
                                     stored_path& path, folder_walk& walk,
                                     std::span<std::uint8_t> scratch) {
    const std::string_view name = pod::name_of(entry);
    if (split_stored_name(name, platform::native_path_style, path) != name_verdict::ok) {
        return unsafe(name);
    }
    if (!pod::entry_data_fits(archive, entry)) return damaged();
    if (auto failed = go_to_folders(path.folders, name, walk)) return failed;
    return write_entry_file(archive, entry, path.file_name, scratch);
}

}  // namespace

std::optional<failure> extract_archive(pod::pod_archive& archive, const pod::pod_header& header,
                                       std::string_view archive_path) {
    folder_walk walk;
    if (auto failed = enter_extraction_folder(archive_path, walk)) return failed;
    // Left uninitialised: pages are only touched when the kernel refuses to copy by itself.
    const auto scratch = std::make_unique_for_overwrite<std::uint8_t[]>(scratch_size);
    stored_path path;
    for (std::uint32_t i = 0; i < header.file_count; ++i) {
        pod::pod_entry entry;
        if (pod::read_next_entry(archive, entry) != pod::read_status::ok) return damaged();
        if (auto failed =
                extract_entry(archive, entry, path, walk, {scratch.get(), scratch_size})) {
            return failed;
        }
        say_progress(i + 1, header.file_count, pod::name_of(entry));
    }
    return {};
}
