// Every call into the operating system the tool makes, behind a few free functions.
// One implementation per platform (platform_posix.cpp, platform_win32.cpp), chosen by the build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// A file or folder handle in the platform's own terms (a descriptor or a HANDLE).
struct handle {
    std::intptr_t value = -1;
};

[[nodiscard]] constexpr bool is_open(handle h) { return h.value != -1; }

// How paths are spelled where the tool runs.
struct path_style {
    std::string_view separators;  // every character that ends a path component
    char preferred_separator;     // used when the tool shows a path it put together
    bool drive_letters;           // "C:" starts a path
    bool reserved_names;          // device names and ':' cannot be file names
};

extern const path_style native_path_style;

// Standard output: unbuffered on a terminal, so progress shows at once; fully buffered otherwise.
void set_up_standard_output();

// Opens a regular file for reading; folders, devices and pipes are refused.
[[nodiscard]] bool open_archive(const std::string& path, handle& archive, std::uint64_t& length);
void close_handle(handle h);

enum class read_status { ok, short_read, failed };

// Reads exactly bytes.size() bytes at offset without moving any read position.
[[nodiscard]] read_status read_at(handle file, std::uint64_t offset, std::span<std::uint8_t> bytes);

enum class copy_status { ok, short_read, read_failed, write_failed };

// Copies size bytes from offset in source to the end of destination, without moving any read
// position of source; scratch is the bounce buffer where the bytes cannot move in the kernel.
[[nodiscard]] copy_status copy_range(handle source, std::uint64_t offset, std::uint64_t size,
                                     handle destination, std::span<std::uint8_t> scratch);

enum class open_status { ok, failed, is_link };

// Creates or truncates name in the current folder for writing. A link standing there is
// refused, not followed, so nothing outside the output tree can be truncated through it.
[[nodiscard]] open_status create_output_file(const std::string& name, handle& file);

// Closes a finished output file; false when the data may not have reached the disk.
[[nodiscard]] bool close_output_file(handle file);

// Removes a partly written output file from the current folder.
void remove_output_file(const std::string& name);

// Enters a folder of the output tree, creating it first when it is missing. With refuse_links
// a link standing there is reported instead of followed.
[[nodiscard]] open_status make_and_enter_folder(const std::string& name, bool refuse_links);

// Enters an existing folder given by a path (the folder the archive lies in).
[[nodiscard]] bool enter_folder(const std::string& path);

// A way back to a folder: a descriptor where the platform can enter one, else its full path.
struct folder_mark {
    handle folder;
    std::string path;
};

[[nodiscard]] bool remember_current_folder(folder_mark& mark);
[[nodiscard]] bool return_to_folder(const folder_mark& mark);
void forget_folder(folder_mark& mark);

}  // namespace platform
