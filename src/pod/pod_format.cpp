#include "pod_format.h"

#include <cstring>

namespace pod {
namespace {

std::uint32_t decode_u32_le(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

// The destination is one byte longer than the field and already zeroed, so it stays terminated.
void copy_text_field(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t length,
                     char* destination) {
    std::memcpy(destination, bytes.data() + at, length);
}

}  // namespace

pod_header decode_header(std::span<const std::uint8_t, header_size> bytes) {
    pod_header header;
    header.file_count = decode_u32_le(bytes, file_count_offset);
    copy_text_field(bytes, comment_offset, comment_length, header.comment);
    return header;
}

pod_entry decode_entry(std::span<const std::uint8_t, entry_size> bytes) {
    pod_entry entry;
    copy_text_field(bytes, name_offset, name_length, entry.name);
    entry.size = decode_u32_le(bytes, size_offset);
    entry.offset = decode_u32_le(bytes, data_offset_offset);
    return entry;
}

std::string_view comment_of(const pod_header& header) { return header.comment; }

std::string_view name_of(const pod_entry& entry) { return entry.name; }

}  // namespace pod
