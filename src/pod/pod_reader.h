// Reading a POD archive: the header, the directory front to back, and each entry's data.
// Nothing here prints, exits or decides where files go; every result is a status to check.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/platform.h"
#include "pod_format.h"

namespace pod {

// An open archive and the reader's place in its directory. The file handle is the caller's.
struct pod_archive {
    platform::handle file;
    std::uint64_t length = 0;
    std::uint64_t next_entry_at = header_size;
    std::uint64_t directory_end_at = header_size;
    // Directory bytes read ahead, so entries cost no read each; data reads never touch them.
    std::vector<std::uint8_t> directory_bytes;
    std::size_t directory_pos = 0;
};

enum class read_status { ok, damaged };

enum class fetch_status { ok, damaged, write_failed };

[[nodiscard]] pod_archive attach_archive(platform::handle file, std::uint64_t length);

// Reads the header; an archive too short to hold one is damaged.
[[nodiscard]] read_status read_header(pod_archive& archive, pod_header& header);

// True when all file_count entries lie inside the archive.
[[nodiscard]] bool directory_fits(const pod_archive& archive, const pod_header& header);

// Reads the entry at the reader's place in the directory and moves past it.
[[nodiscard]] read_status read_next_entry(pod_archive& archive, pod_entry& entry);

// True when the entry's data lies inside the archive, so fetching it can succeed.
[[nodiscard]] bool entry_data_fits(const pod_archive& archive, const pod_entry& entry);

// Copies the entry's bytes into destination; the directory place is left where it was.
[[nodiscard]] fetch_status fetch_entry_data(const pod_archive& archive, const pod_entry& entry,
                                            platform::handle destination,
                                            std::span<std::uint8_t> scratch);

}  // namespace pod
