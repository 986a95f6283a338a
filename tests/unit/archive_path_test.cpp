// The archive path: its extension test, its folder and its base name.
#include "archive_path.h"

#include <gtest/gtest.h>

namespace {

const platform::path_style posix = {"/", '/', false, false};
const platform::path_style windows = {"\\/", '\\', true, true};

TEST(archive_path, only_the_last_four_characters_count_in_any_case) {
    const std::pair<std::string_view, bool> cases[] = {
        {"x.pod", true},     {"X.POD", true},      {"x.Pod", true},   {".pod", true},
        {"x.txt.pod", true}, {"x.pod.bak", false}, {"x.pod ", false}, {"pod", false},
        {"", false},         {"xpod", false},      {"x.p0d", false},  {"x.pod\\", false},
    };
    for (const auto& [path, accepted] : cases) EXPECT_EQ(has_pod_extension(path), accepted) << path;
}

struct location_case {
    std::string_view path;
    const platform::path_style* style;
    bool has_folder;
    std::string folder;
    std::string base_name;
};

TEST(archive_path, folder_and_base_name_as_each_platform_spells_them) {
    const location_case cases[] = {
        {"level1.pod", &posix, false, "", "level1"},
        {"games/level1.pod", &posix, true, "games", "level1"},
        {"my.games/x.pod", &posix, true, "my.games", "x"},
        {"level.1.pod", &posix, false, "", "level"},
        {".pod", &posix, false, "", ""},
        {"/x.pod", &posix, true, "/", "x"},
        {"/a/b/x.pod", &posix, true, "/a/b", "x"},
        {"a\\b.pod", &posix, false, "", "a\\b"},
        {"C:x.pod", &posix, false, "", "C:x"},
        {"games\\level1.pod", &windows, true, "games", "level1"},
        {"games/level1.pod", &windows, true, "games", "level1"},
        {"\\x.pod", &windows, true, "\\", "x"},
        {"C:\\x.pod", &windows, true, "C:\\", "x"},
        {"C:/x.pod", &windows, true, "C:/", "x"},
        {"C:x.pod", &windows, true, "C:", "x"},
        {"C:\\g\\x.y.pod", &windows, true, "C:\\g", "x"},
        {"\\\\server\\share\\x.pod", &windows, true, "\\\\server\\share", "x"},
    };
    for (const location_case& c : cases) {
        const archive_location location = locate_archive(c.path, *c.style);
        EXPECT_EQ(location.has_folder, c.has_folder) << c.path;
        EXPECT_EQ(location.folder, c.folder) << c.path;
        EXPECT_EQ(location.base_name, c.base_name) << c.path;
    }
}

}  // namespace
