// The POSIX layer where the tool's own runs do not reach it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/platform.h"
#include "pod_writer.h"
#include "scratch_folder.h"

namespace {

// A pipe takes no in-kernel copy, so this is the path every copy takes where the kernel refuses.
TEST(platform_posix, copies_through_the_buffer_where_the_kernel_will_not) {
    scratch_folder scratch;
    const std::string path = (scratch.path() / "in").string();
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes.push_back(static_cast<char>(i * 7));
    ASSERT_TRUE(pod_writer::write_file(path, bytes));
    platform::handle in;
    std::uint64_t length = 0;
    ASSERT_TRUE(platform::open_archive(path, in, length));
    int pipe_ends[2];
    ASSERT_EQ(::pipe(pipe_ends), 0);
    std::uint8_t buffer[64];
    EXPECT_EQ(platform::copy_range(in, 10, 900, platform::handle{pipe_ends[1]}, buffer),
              platform::copy_status::ok);
    EXPECT_EQ(platform::copy_range(in, 990, 20, platform::handle{pipe_ends[1]}, buffer),
              platform::copy_status::short_read);
    ::close(pipe_ends[1]);
    std::string copied(2000, '\0');
    std::size_t got = 0;
    for (ssize_t n; (n = ::read(pipe_ends[0], copied.data() + got, copied.size() - got)) > 0;) {
        got += static_cast<std::size_t>(n);
    }
    ::close(pipe_ends[0]);
    platform::close_handle(in);
    copied.resize(got);
    EXPECT_EQ(copied, bytes.substr(10, 900) + bytes.substr(990, 10));
}

}  // namespace
