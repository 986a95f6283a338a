// What each stored name may do, on POSIX and on Windows.
#include "name_policy.h"

#include <gtest/gtest.h>

namespace {

const platform::path_style posix = {"/", '/', false, false};
const platform::path_style windows = {"\\/", '\\', true, true};

struct name_case {
    std::string_view name;
    std::vector<std::string> folders;  // empty with file "" and unsafe: refused
    std::string file_name;
    bool unsafe_on_posix;
    bool unsafe_on_windows;
};

const name_case cases[] = {
    {"SHIP.RAW", {}, "SHIP.RAW", false, false},
    {"ART\\SHIP.RAW", {"ART"}, "SHIP.RAW", false, false},
    {"A/B\\C", {"A", "B"}, "C", false, false},
    {"A\\\\B", {"A"}, "B", false, false},
    {"\\LEAD", {}, "LEAD", false, false},
    {"/abs/x", {"abs"}, "x", false, false},
    {".\\A\\.\\B", {"A"}, "B", false, false},
    {"DIR\\", {"DIR"}, "", false, false},
    {"", {}, "", false, false},
    {".", {}, ".", false, false},
    {"..", {}, "", true, true},
    {"..\\x", {}, "", true, true},
    {"A\\..\\x", {}, "", true, true},
    {"A/../..", {}, "", true, true},
    {"..a\\b..", {"..a"}, "b..", false, false},
    {"C:\\x", {"C:"}, "x", false, true},
    {"f.txt:stream", {}, "f.txt:stream", false, true},
    {"A\\CON", {"A"}, "CON", false, true},
    {"nul.raw", {}, "nul.raw", false, true},
    {"Com1.txt", {}, "Com1.txt", false, true},
    {"LPT9", {}, "LPT9", false, true},
    {"AUX .x", {}, "AUX .x", false, true},
    {"PRN...", {}, "PRN...", false, true},
    {"conout$", {}, "conout$", false, true},
    {"COM\xb9", {}, "COM\xb9", false, true},
    {"COM0", {}, "COM0", false, false},
    {"CONSOLE", {}, "CONSOLE", false, false},
    {"LPT10", {}, "LPT10", false, false},
    {"...\\x", {"..."}, "x", false, true},
    {".. \\x", {".. "}, "x", false, true},
};

void check(const name_case& c, const platform::path_style& style, bool unsafe) {
    stored_path path;
    const name_verdict verdict = split_stored_name(c.name, style, path);
    EXPECT_EQ(verdict, unsafe ? name_verdict::unsafe : name_verdict::ok) << c.name;
    if (unsafe) return;
    EXPECT_EQ(path.folders, c.folders) << c.name;
    EXPECT_EQ(path.file_name, c.file_name) << c.name;
}

TEST(name_policy, splits_and_judges_every_case_on_posix) {
    for (const name_case& c : cases) check(c, posix, c.unsafe_on_posix);
}

TEST(name_policy, splits_and_judges_every_case_on_windows) {
    for (const name_case& c : cases) check(c, windows, c.unsafe_on_windows);
}

TEST(name_policy, a_reused_path_forgets_the_previous_folders) {
    stored_path path;
    ASSERT_EQ(split_stored_name("A\\B\\c", posix, path), name_verdict::ok);
    ASSERT_EQ(split_stored_name("d", posix, path), name_verdict::ok);
    EXPECT_TRUE(path.folders.empty());
    EXPECT_EQ(path.file_name, "d");
}

}  // namespace
