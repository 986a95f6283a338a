// Any byte string as an archive, read the way the tool reads one: header, directory check,
// every entry in turn, each entry's data fetched into a file. Every verdict of the reader is
// compared with what the bytes say, and every fetched run with the bytes it came from.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "fuzz_checks.h"
#include "pod/pod_reader.h"

namespace {

using fuzz_checks::bytes;
using fuzz_checks::require;

// In-memory files, made once: a regular file for each side, as the tool has on disk.
struct files {
    int archive = memfd_create("archive", MFD_CLOEXEC);
    int sink = memfd_create("sink", MFD_CLOEXEC);
};

const files& open_files() {
    static const files opened;
    require(opened.archive >= 0 && opened.sink >= 0, "open files");
    return opened;
}

void empty_file(int fd) {
    require(::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0, "empty a file");
}

void write_archive(int fd, bytes archive) {
    empty_file(fd);
    const ssize_t written = ::pwrite(fd, archive.data(), archive.size(), 0);
    require(written == static_cast<ssize_t>(archive.size()), "write the archive");
}

std::vector<std::uint8_t> contents_of(int fd) {
    std::vector<std::uint8_t> got(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)));
    require(::pread(fd, got.data(), got.size(), 0) == static_cast<ssize_t>(got.size()),
            "read the sink back");
    return got;
}

void check_entry(const pod::pod_entry& entry, const fuzz_checks::raw_entry& expected) {
    require(pod::name_of(entry) == expected.name, "entry name");
    require(entry.size == expected.size && entry.offset == expected.offset, "entry numbers");
}

void check_fetch(const pod::pod_archive& archive, const pod::pod_entry& entry,
                 const fuzz_checks::raw_entry& expected, bytes input) {
    const files& f = open_files();
    const bool fits = fuzz_checks::data_fits(expected, input);
    require(pod::entry_data_fits(archive, entry) == fits, "entry_data_fits");
    const auto wanted = fits ? pod::fetch_status::ok : pod::fetch_status::damaged;
    // An odd, small buffer: where the kernel refuses to copy, the buffered copy goes round its
    // loop and ends on a partial chunk.
    std::array<std::uint8_t, 509> scratch;
    empty_file(f.sink);
    require(pod::fetch_entry_data(archive, entry, platform::handle{f.sink}, scratch) == wanted,
            "fetch_entry_data");
    if (!fits) return;
    const bytes data = fuzz_checks::data_of(expected, input);
    const std::vector<std::uint8_t> got = contents_of(f.sink);
    require(std::ranges::equal(got, data), "fetched bytes");
}

void walk_directory(pod::pod_archive& archive, std::uint32_t file_count, bytes input) {
    for (std::uint32_t i = 0; i < file_count; ++i) {
        pod::pod_entry entry;
        require(pod::read_next_entry(archive, entry) == pod::read_status::ok, "read_next_entry");
        const fuzz_checks::raw_entry expected = fuzz_checks::entry_at(input, i);
        check_entry(entry, expected);
        check_fetch(archive, entry, expected, input);
    }
    pod::pod_entry beyond;
    require(pod::read_next_entry(archive, beyond) == pod::read_status::damaged,
            "an entry past the directory");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bytes input(data, size);
    const int fd = open_files().archive;
    write_archive(fd, input);
    pod::pod_archive archive = pod::attach_archive(platform::handle{fd}, size);
    pod::pod_header header;
    const bool has_header = pod::read_header(archive, header) == pod::read_status::ok;
    require(has_header == fuzz_checks::has_header(input), "read_header");
    if (!has_header) return 0;
    require(header.file_count == fuzz_checks::file_count_of(input), "file_count");
    require(pod::comment_of(header) == fuzz_checks::comment_of(input), "comment");
    const bool fits = pod::directory_fits(archive, header);
    require(fits == fuzz_checks::directory_fits(input), "directory_fits");
    if (fits) walk_directory(archive, header.file_count, input);
    return 0;
}
