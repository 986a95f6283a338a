#include "pod_reader.h"

#include <algorithm>
#include <array>

namespace pod {
namespace {

// Directory bytes fetched per read: enough entries to make the reads rare, small enough to
// keep memory flat whatever file_count says.
constexpr std::size_t directory_chunk = 1024 * entry_size;

bool fill_directory_bytes(pod_archive& archive) {
    const std::uint64_t left = archive.directory_end_at - archive.next_entry_at;
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(left, directory_chunk));
    if (wanted == 0) return false;
    archive.directory_bytes.resize(wanted);
    archive.directory_pos = 0;
    return platform::read_at(archive.file, archive.next_entry_at, archive.directory_bytes) ==
           platform::read_status::ok;
}

}  // namespace

pod_archive attach_archive(platform::handle file, std::uint64_t length) {
    pod_archive archive;
    archive.file = file;
    archive.length = length;
    return archive;
}

read_status read_header(pod_archive& archive, pod_header& header) {
    std::array<std::uint8_t, header_size> bytes;
    if (archive.length < header_size ||
        platform::read_at(archive.file, 0, bytes) != platform::read_status::ok) {
        return read_status::damaged;
    }
    header = decode_header(bytes);
    archive.next_entry_at = header_size;
    archive.directory_end_at = directory_end(header.file_count);
    archive.directory_bytes.clear();
    archive.directory_pos = 0;
    return read_status::ok;
}

bool directory_fits(const pod_archive& archive, const pod_header& header) {
    return directory_end(header.file_count) <= archive.length;
}

read_status read_next_entry(pod_archive& archive, pod_entry& entry) {
    if (archive.directory_pos == archive.directory_bytes.size() && !fill_directory_bytes(archive)) {
        return read_status::damaged;
    }
    const auto bytes = std::span(archive.directory_bytes).subspan(archive.directory_pos);
    entry = decode_entry(bytes.first<entry_size>());
    archive.directory_pos += entry_size;
    archive.next_entry_at += entry_size;
    return read_status::ok;
}

bool entry_data_fits(const pod_archive& archive, const pod_entry& entry) {
    return data_fits(entry, archive.length);
}

fetch_status fetch_entry_data(const pod_archive& archive, const pod_entry& entry,
                              platform::handle destination, std::span<std::uint8_t> scratch) {
    if (!entry_data_fits(archive, entry)) return fetch_status::damaged;
    switch (platform::copy_range(archive.file, entry.offset, entry.size, destination, scratch)) {
        case platform::copy_status::ok:
            return fetch_status::ok;
        case platform::copy_status::write_failed:
            return fetch_status::write_failed;
        case platform::copy_status::short_read:
        case platform::copy_status::read_failed:
            break;
    }
    return fetch_status::damaged;
}

}  // namespace pod
