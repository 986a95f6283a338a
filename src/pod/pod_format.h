// The POD archive layout, decoded from raw bytes.
//
// All integers are 32-bit unsigned little-endian; offsets count from the archive's first byte.
//
//   offset 0    4 bytes              file_count
//   offset 4    80 bytes             comment, ends at its first NUL or after 80 bytes
//   offset 84   40 * file_count      directory, one entry after another
//   anywhere    -                    stored bytes, each run found only through its entry
//
// Directory entry (40 bytes):
//   0   32 bytes   name, a relative path with '\' between components, ends at its first NUL
//   32  4 bytes    size
//   36  4 bytes    offset of the stored file's first byte
//
// The decoders only look at bytes; reading them from a file is pod_reader's job.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace pod {

inline constexpr std::size_t file_count_offset = 0;
inline constexpr std::size_t comment_offset = 4;
inline constexpr std::size_t comment_length = 80;
inline constexpr std::size_t header_size = 84;
static_assert(comment_offset + comment_length == header_size);

inline constexpr std::size_t name_offset = 0;
inline constexpr std::size_t name_length = 32;
inline constexpr std::size_t size_offset = 32;
inline constexpr std::size_t data_offset_offset = 36;
inline constexpr std::size_t entry_size = 40;
static_assert(name_offset + name_length == size_offset);
static_assert(data_offset_offset + 4 == entry_size);

// Text fields get one extra byte that is always NUL, so a field filled to the brim still ends.
struct pod_header {
    std::uint32_t file_count = 0;
    char comment[comment_length + 1] = {};
};

struct pod_entry {
    char name[name_length + 1] = {};
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

[[nodiscard]] pod_header decode_header(std::span<const std::uint8_t, header_size> bytes);
[[nodiscard]] pod_entry decode_entry(std::span<const std::uint8_t, entry_size> bytes);

[[nodiscard]] std::string_view comment_of(const pod_header& header);
[[nodiscard]] std::string_view name_of(const pod_entry& entry);

// Where the directory ends; 64-bit, so no file_count can wrap it.
[[nodiscard]] constexpr std::uint64_t directory_end(std::uint32_t file_count) {
    return header_size + std::uint64_t{entry_size} * file_count;
}

// True when the entry's whole data run lies inside an archive of archive_length bytes.
[[nodiscard]] constexpr bool data_fits(const pod_entry& entry, std::uint64_t archive_length) {
    return entry.size <= archive_length && entry.offset <= archive_length - entry.size;
}

}  // namespace pod
