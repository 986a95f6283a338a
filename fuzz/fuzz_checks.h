// What the harnesses expect of an archive, worked out from its bytes alone: none of the tool's
// decoding is used here, so a decoding mistake shows as a difference instead of hiding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace fuzz_checks {

using bytes = std::span<const std::uint8_t>;

inline constexpr std::uint64_t header_size = 84;
inline constexpr std::uint64_t entry_size = 40;

struct raw_entry {
    std::string name;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

// Prints what broke and aborts, so libFuzzer keeps the input as a crash.
[[noreturn]] void fail(const char* what);

inline void require(bool holds, const char* what) {
    if (!holds) fail(what);
}

[[nodiscard]] std::uint32_t file_count_of(bytes archive);
[[nodiscard]] std::string comment_of(bytes archive);
[[nodiscard]] bool has_header(bytes archive);
[[nodiscard]] bool directory_fits(bytes archive);
[[nodiscard]] raw_entry entry_at(bytes archive, std::uint32_t index);
[[nodiscard]] bool data_fits(const raw_entry& entry, bytes archive);
[[nodiscard]] bytes data_of(const raw_entry& entry, bytes archive);

}  // namespace fuzz_checks
