// Builds POD archives for tests, fixtures and benchmarks, sound or deliberately damaged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pod_writer {

struct entry {
    std::string name;  // bytes as stored; longer than 32 is cut, exactly 32 leaves no NUL
    std::string data;
    std::optional<std::uint32_t> offset;  // set: point there and store no data of its own
    std::optional<std::uint32_t> size;    // set: claim this size whatever data holds
};

struct archive {
    std::string comment;  // longer than 80 is cut, exactly 80 leaves no NUL
    std::vector<entry> entries;
    bool data_in_reverse_order = false;
    std::optional<std::uint32_t> file_count;  // set: claim this count instead of the real one
    std::optional<std::size_t> truncate_to;   // set: cut the finished archive to this length
};

[[nodiscard]] std::string encode_header(std::uint32_t file_count, std::string_view comment);
[[nodiscard]] std::string encode_entry(std::string_view name, std::uint32_t size,
                                       std::uint32_t offset);

// Where stored data starts behind a directory of entry_count entries.
[[nodiscard]] std::uint32_t first_data_offset(std::size_t entry_count);

[[nodiscard]] std::string build(const archive& layout);

[[nodiscard]] bool write_file(const std::string& path, std::string_view bytes);

}  // namespace pod_writer
