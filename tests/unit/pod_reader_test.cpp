// The reader on real files: header, directory walk and data fetch, sound and damaged.
#include "pod/pod_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "pod_writer.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;

namespace {

struct opened_archive {
    platform::handle file;
    pod::pod_archive archive;
    ~opened_archive() { platform::close_handle(file); }
};

class pod_reader : public testing::Test {
protected:
    void open(const std::string& bytes) {
        path = (scratch.path() / "a.pod").string();
        ASSERT_TRUE(pod_writer::write_file(path, bytes));
        open_existing();
    }
    void open_existing() {
        platform::close_handle(opened.file);
        opened.file = {};
        std::uint64_t length = 0;
        ASSERT_TRUE(platform::open_archive(path, opened.file, length));
        opened.archive = pod::attach_archive(opened.file, length);
    }
    // Fetches into a fresh file and gives back what landed there.
    pod::fetch_status fetch(const pod::pod_entry& entry, std::string& bytes) {
        const std::string out = (scratch.path() / "out").string();
        platform::handle file;
        EXPECT_EQ(platform::create_output_file(out, file), platform::open_status::ok);
        std::uint8_t scratch_bytes[7];  // odd and tiny, so buffered copies take many rounds
        const pod::fetch_status status =
            pod::fetch_entry_data(opened.archive, entry, file, scratch_bytes);
        EXPECT_TRUE(platform::close_output_file(file));
        std::ifstream in(out, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        bytes = all.str();
        return status;
    }
    scratch_folder scratch;
    std::string path;
    opened_archive opened;
};

TEST_F(pod_reader, walks_the_directory_and_fetches_each_entry) {
    open(pod_writer::build({.comment = "hi",
                            .entries = {{"A\\ONE", "first"}, {"TWO", ""}, {"THREE", "3"}},
                            .data_in_reverse_order = true}));
    pod::pod_header header;
    ASSERT_EQ(pod::read_header(opened.archive, header), pod::read_status::ok);
    EXPECT_EQ(header.file_count, 3u);
    EXPECT_EQ(pod::comment_of(header), "hi");
    ASSERT_TRUE(pod::directory_fits(opened.archive, header));
    const std::pair<const char*, const char*> expected[] = {
        {"A\\ONE", "first"}, {"TWO", ""}, {"THREE", "3"}};
    for (const auto& [name, data] : expected) {
        pod::pod_entry entry;
        ASSERT_EQ(pod::read_next_entry(opened.archive, entry), pod::read_status::ok);
        EXPECT_EQ(pod::name_of(entry), name);
        std::string bytes;
        EXPECT_EQ(fetch(entry, bytes), pod::fetch_status::ok);
        EXPECT_EQ(bytes, data);
    }
}

TEST_F(pod_reader, long_directories_read_in_order_across_read_ahead_chunks) {
    // Numbered names; appended, not concatenated, to keep clear of a false GCC 12 warning.
    const auto name_of_file = [](int i) { return std::string("F").append(std::to_string(i)); };
    pod_writer::archive layout;
    for (int i = 0; i < 2500; ++i) layout.entries.push_back({name_of_file(i), "d"});
    open(pod_writer::build(layout));
    pod::pod_header header;
    ASSERT_EQ(pod::read_header(opened.archive, header), pod::read_status::ok);
    for (int i = 0; i < 2500; ++i) {
        pod::pod_entry entry;
        ASSERT_EQ(pod::read_next_entry(opened.archive, entry), pod::read_status::ok);
        ASSERT_EQ(pod::name_of(entry), name_of_file(i));
    }
    pod::pod_entry past_the_end;
    EXPECT_EQ(pod::read_next_entry(opened.archive, past_the_end), pod::read_status::damaged);
}

TEST_F(pod_reader, short_header_and_short_directory_are_damage) {
    open(pod_writer::encode_header(1, "x").substr(0, 83));
    pod::pod_header header;
    EXPECT_EQ(pod::read_header(opened.archive, header), pod::read_status::damaged);

    open(pod_writer::build({.entries = {{"a", "1"}}, .file_count = 3}));
    ASSERT_EQ(pod::read_header(opened.archive, header), pod::read_status::ok);
    EXPECT_FALSE(pod::directory_fits(opened.archive, header));
}

TEST_F(pod_reader, an_archive_that_shrank_gives_a_damaged_fetch) {
    open(pod_writer::build({.entries = {{"a", std::string(100, 'a')}}}));
    pod::pod_header header;
    pod::pod_entry entry;
    ASSERT_EQ(pod::read_header(opened.archive, header), pod::read_status::ok);
    ASSERT_EQ(pod::read_next_entry(opened.archive, entry), pod::read_status::ok);
    ASSERT_EQ(::truncate(path.c_str(), pod::header_size + pod::entry_size + 50), 0);
    std::string bytes;
    EXPECT_EQ(fetch(entry, bytes), pod::fetch_status::damaged);
}

TEST_F(pod_reader, offsets_beyond_two_gibibytes_are_reached) {
    const std::uint32_t far = 0x80000010u;
    open(pod_writer::build({.entries = {{"far", "", far, 5}}}));
    // A sparse tail, so the archive is over 2 GiB without taking the disk.
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "FAR!!", 5, far), 5);
    ::close(fd);
    open_existing();
    pod::pod_header header;
    pod::pod_entry entry;
    ASSERT_EQ(pod::read_header(opened.archive, header), pod::read_status::ok);
    ASSERT_EQ(pod::read_next_entry(opened.archive, entry), pod::read_status::ok);
    std::string bytes;
    EXPECT_EQ(fetch(entry, bytes), pod::fetch_status::ok);
    EXPECT_EQ(bytes, "FAR!!");
}

}  // namespace
