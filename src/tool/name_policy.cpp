#include "name_policy.h"

namespace {

constexpr std::string_view stored_separators = "\\/";

char upper_ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper_ascii(a[i]) != upper_ascii(b[i])) return false;
    }
    return true;
}

// Digits the device names take; the superscripts 1, 2 and 3 of the 8-bit code page count too.
bool is_device_digit(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (c >= '1' && c <= '9') || byte == 0xb9 || byte == 0xb2 || byte == 0xb3;
}

// Windows opens a device for these whatever extension, trailing dots or blanks follow.
bool is_reserved_device_name(std::string_view component) {
    std::string_view stem = component.substr(0, component.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (equals_ignoring_case(stem, device)) return true;
    }
    return stem.size() == 4 && is_device_digit(stem[3]) &&
           (equals_ignoring_case(stem.substr(0, 3), "COM") ||
            equals_ignoring_case(stem.substr(0, 3), "LPT"));
}

// Windows drops trailing dots and blanks, so "..." or ".. " would be read as "..".
bool is_only_dots_and_blanks(std::string_view component) {
    return component.find_first_not_of(". ") == std::string_view::npos;
}

bool is_unsafe_component(std::string_view component, const platform::path_style& style) {
    if (component == "..") return true;
    if (!style.reserved_names) return false;
    if (component.find(':') != std::string_view::npos) return true;
    if (component != "." && !component.empty() && is_only_dots_and_blanks(component)) return true;
    return is_reserved_device_name(component);
}

bool adds_no_level(std::string_view component) { return component.empty() || component == "."; }

}  // namespace

name_verdict split_stored_name(std::string_view name, const platform::path_style& style,
                               stored_path& path) {
    path.folders.clear();
    for (std::size_t cut;
         (cut = name.find_first_of(stored_separators)) != std::string_view::npos;) {
        const std::string_view component = name.substr(0, cut);
        if (is_unsafe_component(component, style)) return name_verdict::unsafe;
        if (!adds_no_level(component)) path.folders.emplace_back(component);
        name.remove_prefix(cut + 1);
    }
    if (is_unsafe_component(name, style)) return name_verdict::unsafe;
    path.file_name = name;
    return name_verdict::ok;
}
