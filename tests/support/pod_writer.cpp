#include "pod_writer.h"

#include <cstdio>

namespace pod_writer {
namespace {

void append_u32_le(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(value >> shift & 0xff));
    }
}

void append_text_field(std::string& out, std::string_view text, std::size_t width) {
    const std::string_view kept = text.substr(0, width);
    out.append(kept);
    out.append(width - kept.size(), '\0');
}

}  // namespace

std::string encode_header(std::uint32_t file_count, std::string_view comment) {
    std::string out;
    append_u32_le(out, file_count);
    append_text_field(out, comment, 80);
    return out;
}

std::string encode_entry(std::string_view name, std::uint32_t size, std::uint32_t offset) {
    std::string out;
    append_text_field(out, name, 32);
    append_u32_le(out, size);
    append_u32_le(out, offset);
    return out;
}

std::uint32_t first_data_offset(std::size_t entry_count) {
    return static_cast<std::uint32_t>(84 + 40 * entry_count);
}

std::string build(const archive& layout) {
    const std::size_t count = layout.entries.size();
    std::vector<std::uint32_t> offsets(count);
    std::string data;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t i = layout.data_in_reverse_order ? count - 1 - k : k;
        const entry& e = layout.entries[i];
        if (e.offset) {
            offsets[i] = *e.offset;
        } else {
            offsets[i] = first_data_offset(count) + static_cast<std::uint32_t>(data.size());
            data += e.data;
        }
    }
    std::string out = encode_header(layout.file_count.value_or(static_cast<std::uint32_t>(count)),
                                    layout.comment);
    for (std::size_t i = 0; i < count; ++i) {
        const entry& e = layout.entries[i];
        out += encode_entry(e.name, e.size.value_or(static_cast<std::uint32_t>(e.data.size())),
                            offsets[i]);
    }
    out += data;
    if (layout.truncate_to && *layout.truncate_to < out.size()) out.resize(*layout.truncate_to);
    return out;
}

bool write_file(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace pod_writer
