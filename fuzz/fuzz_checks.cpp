#include "fuzz_checks.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz_checks {
namespace {

std::uint32_t u32_at(bytes archive, std::uint64_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | archive[at + static_cast<std::uint64_t>(i)];
    return value;
}

// A text field ends at its first NUL or at its width.
std::string text_at(bytes archive, std::uint64_t at, std::size_t width) {
    std::string text;
    for (std::size_t i = 0; i < width && archive[at + i] != 0; ++i) {
        text.push_back(static_cast<char>(archive[at + i]));
    }
    return text;
}

}  // namespace

void fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

std::uint32_t file_count_of(bytes archive) { return u32_at(archive, 0); }

std::string comment_of(bytes archive) { return text_at(archive, 4, 80); }

bool has_header(bytes archive) { return archive.size() >= header_size; }

bool directory_fits(bytes archive) {
    return has_header(archive) &&
           header_size + entry_size * file_count_of(archive) <= archive.size();
}

raw_entry entry_at(bytes archive, std::uint32_t index) {
    const std::uint64_t at = header_size + entry_size * index;
    return {text_at(archive, at, 32), u32_at(archive, at + 32), u32_at(archive, at + 36)};
}

bool data_fits(const raw_entry& entry, bytes archive) {
    return std::uint64_t{entry.offset} + entry.size <= archive.size();
}

bytes data_of(const raw_entry& entry, bytes archive) {
    return archive.subspan(entry.offset, entry.size);
}

}  // namespace fuzz_checks
