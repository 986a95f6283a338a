// Decoding records from bytes, and the bounds checks every later read relies on.
#include "pod/pod_format.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

TEST(pod_format, decodes_little_endian_fields_byte_by_byte) {
    std::array<std::uint8_t, pod::header_size> header{};
    header[0] = 0x01, header[1] = 0x02, header[2] = 0x03, header[3] = 0xf4;
    std::memcpy(&header[4], "note", 4);
    const pod::pod_header decoded = pod::decode_header(header);
    EXPECT_EQ(decoded.file_count, 0xf4030201u);
    EXPECT_EQ(pod::comment_of(decoded), "note");

    std::array<std::uint8_t, pod::entry_size> entry{};
    std::memcpy(&entry[0], "A\\B", 3);
    entry[32] = 0xff, entry[33] = 0x00, entry[34] = 0x00, entry[35] = 0x80;
    entry[36] = 0x10, entry[37] = 0x20, entry[38] = 0x30, entry[39] = 0x40;
    const pod::pod_entry e = pod::decode_entry(entry);
    EXPECT_EQ(pod::name_of(e), "A\\B");
    EXPECT_EQ(e.size, 0x800000ffu);
    EXPECT_EQ(e.offset, 0x40302010u);
}

TEST(pod_format, full_width_text_fields_end_after_their_last_byte) {
    std::array<std::uint8_t, pod::header_size> header;
    header.fill('c');
    EXPECT_EQ(pod::comment_of(pod::decode_header(header)), std::string(80, 'c'));

    std::array<std::uint8_t, pod::entry_size> entry;
    entry.fill('n');  // size and offset bytes too: the name must stop at 32 anyway
    EXPECT_EQ(pod::name_of(pod::decode_entry(entry)), std::string(32, 'n'));
}

struct fit_case {
    std::uint32_t size, offset;
    std::uint64_t length;
    bool fits;
};

TEST(pod_format, data_fits_only_inside_the_archive_without_wrapping) {
    const fit_case cases[] = {
        {0, 0, 0, true},
        {10, 90, 100, true},
        {10, 91, 100, false},
        {0, 100, 100, true},
        {0, 101, 100, false},
        {101, 0, 100, false},
        {0x20, 0xfffffff0u, 0x100, false},  // 32-bit sum would wrap to 0x10
        {0xffffffffu, 0xffffffffu, 0x1fffffffeull, true},
    };
    for (const fit_case& c : cases) {
        pod::pod_entry entry;
        entry.size = c.size;
        entry.offset = c.offset;
        EXPECT_EQ(pod::data_fits(entry, c.length), c.fits)
            << c.size << " at " << c.offset << " in " << c.length;
    }
    EXPECT_EQ(pod::directory_end(0xffffffffu), 84 + 40 * 0xffffffffull);
}

}  // namespace
