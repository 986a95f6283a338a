// Win32 implementation of the platform layer, for the tool's home: a 32-bit Windows console.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "platform.h"

// The C runtime must not expand wildcards in arguments: a path holding '*' or '?' arrives
// unchanged.
extern "C" {
int _dowildcard = 0;
}

namespace platform {

const path_style native_path_style = {"\\/", '\\', true, true};

namespace {

HANDLE native(handle h) { return reinterpret_cast<HANDLE>(h.value); }

handle handle_of(HANDLE h) { return handle{reinterpret_cast<std::intptr_t>(h)}; }

// Largest single ReadFile or WriteFile; their counts are 32-bit.
constexpr DWORD largest_transfer = 1u << 30;

// Reads at an absolute offset; the handle's own file pointer is not relied on.
bool read_some_at(HANDLE file, std::uint64_t offset, std::uint8_t* bytes, DWORD wanted,
                  DWORD& got) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    got = 0;
    if (ReadFile(file, bytes, wanted, &got, &at)) return true;
    // A read that starts at or past the end reports it as an error; it is just a short read.
    return GetLastError() == ERROR_HANDLE_EOF;
}

bool write_all(HANDLE file, const std::uint8_t* bytes, std::size_t length) {
    while (length > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length, largest_transfer));
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        length -= written;
    }
    return true;
}

bool is_reparse_point(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

void set_up_standard_output() {
    static char buffer[1 << 16];
    // A console, not any character device: _isatty also says yes for NUL.
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) {
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    } else {
        std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    }
}

bool open_archive(const std::string& path, handle& archive, std::uint64_t& length) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // Folders do not open without backup semantics; devices and pipes are told by their type.
    LARGE_INTEGER size;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return false;
    }
    archive = handle_of(file);
    length = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

void close_handle(handle h) {
    if (is_open(h)) CloseHandle(native(h));
}

read_status read_at(handle file, std::uint64_t offset, std::span<std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD wanted =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, largest_transfer));
        DWORD got = 0;
        if (!read_some_at(native(file), offset + done, bytes.data() + done, wanted, got)) {
            return read_status::failed;
        }
        if (got == 0) return read_status::short_read;
        done += got;
    }
    return read_status::ok;
}

copy_status copy_range(handle source, std::uint64_t offset, std::uint64_t size, handle destination,
                       std::span<std::uint8_t> scratch) {
    while (size > 0) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::uint64_t>(size, scratch.size()));
        DWORD got = 0;
        if (!read_some_at(native(source), offset, scratch.data(), wanted, got)) {
            return copy_status::read_failed;
        }
        if (got == 0) return copy_status::short_read;
        if (!write_all(native(destination), scratch.data(), got)) return copy_status::write_failed;
        offset += got;
        size -= got;
    }
    return copy_status::ok;
}

open_status create_output_file(const std::string& name, handle& file) {
    // A symbolic link or junction standing there is refused, never written through.
    if (is_reparse_point(GetFileAttributesA(name.c_str()))) return open_status::is_link;
    const HANDLE created = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) return open_status::failed;
    if (GetFileType(created) != FILE_TYPE_DISK) {
        CloseHandle(created);
        return open_status::failed;
    }
    file = handle_of(created);
    return open_status::ok;
}

bool close_output_file(handle file) { return CloseHandle(native(file)) != 0; }

void remove_output_file(const std::string& name) { DeleteFileA(name.c_str()); }

open_status make_and_enter_folder(const std::string& name, bool refuse_links) {
    // An existing folder is simply used again, so the result of creating it does not matter.
    CreateDirectoryA(name.c_str(), nullptr);
    if (refuse_links) {
        const DWORD attributes = GetFileAttributesA(name.c_str());
        if (is_reparse_point(attributes)) return open_status::is_link;
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return open_status::failed;
        }
    }
    return SetCurrentDirectoryA(name.c_str()) ? open_status::ok : open_status::failed;
}

bool enter_folder(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != 0; }

bool remember_current_folder(folder_mark& mark) {
    // Asked for its size first: the path may be longer than the classic 260 characters.
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return false;
    std::string path(needed, '\0');
    const DWORD length = GetCurrentDirectoryA(needed, path.data());
    if (length == 0 || length >= needed) return false;
    path.resize(length);
    mark.path = std::move(path);
    return true;
}

bool return_to_folder(const folder_mark& mark) {
    return SetCurrentDirectoryA(mark.path.c_str()) != 0;
}

void forget_folder(folder_mark& mark) { mark.path.clear(); }

}  // namespace platform
