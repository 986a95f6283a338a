// POSIX implementation of the platform layer; on Linux the data copy stays in the kernel.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform.h"

namespace platform {

const path_style native_path_style = {"/", '/', false, false};

namespace {

int fd_of(handle h) { return static_cast<int>(h.value); }

handle handle_of(int fd) { return handle{fd}; }

bool write_all(int fd, const std::uint8_t* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, bytes, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

copy_status copy_through_buffer(int source, std::uint64_t offset, std::uint64_t size,
                                int destination, std::span<std::uint8_t> scratch) {
    while (size > 0) {
        const std::size_t chunk =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, scratch.size()));
        const ssize_t got = ::pread(source, scratch.data(), chunk, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return copy_status::read_failed;
        if (got == 0) return copy_status::short_read;
        if (!write_all(destination, scratch.data(), static_cast<std::size_t>(got))) {
            return copy_status::write_failed;
        }
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::uint64_t>(got);
    }
    return copy_status::ok;
}

// Asked only after an open failed: O_DIRECTORY reports a link as "not a folder".
bool is_link(const std::string& name) {
    struct stat status;
    return ::lstat(name.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

#ifdef __linux__
// Errors that say the destination cannot take more bytes, as opposed to "not here, use a buffer".
bool is_write_error(int error) { return error == EFBIG || error == ENOSPC || error == EDQUOT; }

// Errors by which the kernel says it cannot copy between these files at all (another file
// system, no support in it or in the kernel), rather than that something went wrong.
bool is_refusal(int error) {
    return error == EXDEV || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL;
}

// Set by the first refusal: the output tree is nearly always on one file system, so every
// later entry would be refused too and pay a failing call before its buffered copy.
bool kernel_copy_refused = false;

// Moves as much as the kernel will; offset and size are advanced past what was copied.
copy_status copy_in_kernel(int source, std::uint64_t& offset, std::uint64_t& size,
                           int destination) {
    while (size > 0) {
        loff_t from = static_cast<loff_t>(offset);
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(size, 1u << 30));
        const ssize_t moved = ::copy_file_range(source, &from, destination, nullptr, chunk, 0);
        if (moved < 0 && errno == EINTR) continue;
        if (moved < 0) {
            kernel_copy_refused = kernel_copy_refused || is_refusal(errno);
            return is_write_error(errno) ? copy_status::write_failed : copy_status::read_failed;
        }
        if (moved == 0) return copy_status::short_read;
        offset += static_cast<std::uint64_t>(moved);
        size -= static_cast<std::uint64_t>(moved);
    }
    return copy_status::ok;
}
#endif

}  // namespace

void set_up_standard_output() {
    static char buffer[1 << 16];
    if (::isatty(STDOUT_FILENO)) {
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    } else {
        std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    }
}

bool open_archive(const std::string& path, handle& archive, std::uint64_t& length) {
    // Looked at before opening, so a device is never opened and a pipe cannot block the open.
    struct stat before;
    if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return false;
    }
    archive = handle_of(fd);
    length = static_cast<std::uint64_t>(opened.st_size);
    return true;
}

void close_handle(handle h) {
    if (is_open(h)) ::close(fd_of(h));
}

read_status read_at(handle file, std::uint64_t offset, std::span<std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd_of(file), bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return read_status::failed;
        if (got == 0) return read_status::short_read;
        done += static_cast<std::size_t>(got);
    }
    return read_status::ok;
}

copy_status copy_range(handle source, std::uint64_t offset, std::uint64_t size, handle destination,
                       std::span<std::uint8_t> scratch) {
#ifdef __linux__
    if (!kernel_copy_refused) {
        const copy_status in_kernel =
            copy_in_kernel(fd_of(source), offset, size, fd_of(destination));
        // A refused in-kernel copy (other file systems, old kernels, a real I/O error) is
        // retried through the buffer, which also tells a read failure from a write failure.
        if (in_kernel != copy_status::read_failed) return in_kernel;
    }
#endif
    return copy_through_buffer(fd_of(source), offset, size, fd_of(destination), scratch);
}

open_status create_output_file(const std::string& name, handle& file) {
    // O_NONBLOCK keeps a fifo standing in the tree from stalling the run; files ignore it.
    const int fd =
        ::open(name.c_str(),
               O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0) return errno == ELOOP ? open_status::is_link : open_status::failed;
    file = handle_of(fd);
    return open_status::ok;
}

bool close_output_file(handle file) { return ::close(fd_of(file)) == 0 || errno == EINTR; }

void remove_output_file(const std::string& name) { ::unlink(name.c_str()); }

open_status make_and_enter_folder(const std::string& name, bool refuse_links) {
    // An existing folder is simply used again, so mkdir's result does not matter.
    ::mkdir(name.c_str(), 0777);
    if (!refuse_links) return ::chdir(name.c_str()) == 0 ? open_status::ok : open_status::failed;
    // Opened without following, then entered by descriptor: no link can be swapped in between.
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return is_link(name) ? open_status::is_link : open_status::failed;
    const bool entered = ::fchdir(fd) == 0;
    ::close(fd);
    return entered ? open_status::ok : open_status::failed;
}

bool enter_folder(const std::string& path) { return ::chdir(path.c_str()) == 0; }

bool remember_current_folder(folder_mark& mark) {
    // Entered again by descriptor, so returning costs no lookup from the root.
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    mark.folder = handle_of(fd);
    return true;
}

bool return_to_folder(const folder_mark& mark) { return ::fchdir(fd_of(mark.folder)) == 0; }

void forget_folder(folder_mark& mark) {
    close_handle(mark.folder);
    mark.folder = {};
}

}  // namespace platform
