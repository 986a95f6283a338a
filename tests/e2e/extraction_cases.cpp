// The output tree: where it goes, how names become folders and files, and every way a
// hostile or broken archive is stopped.
#include <fstream>

#include "cli_case.h"

namespace fs = std::filesystem;
using pod_writer::entry;

namespace {

void write_text(const fs::path& path, std::string_view text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The first entries' output up to a failure that stops the run at entry failing_index.
std::string written_until(const std::vector<std::string>& names, std::size_t failing_index) {
    std::string text = after_summary("demo", static_cast<std::uint32_t>(names.size()));
    for (std::size_t i = 0; i < failing_index; ++i) {
        text += expected::progress(static_cast<std::uint32_t>(i + 1),
                                   static_cast<std::uint32_t>(names.size()), names[i]);
    }
    return text;
}

const std::string long_folder(200, 'F');
const std::string long_base(200, 'b');

const std::uint32_t behind_five = pod_writer::first_data_offset(5);

// ---- where the tree goes and how names shape it ----

const cli_case tree_cases[] = {
    {.label = "nested_folders_next_to_the_archive",
     .arguments = {"games/level1.pod"},
     .inputs = {{"games/level1.pod",
                 archive_of(
                     {{"ART\\SHIP.RAW", "ship"}, {"ART\\ICONS\\A.RAW", "a"}, {"top.txt", "abc"}})}},
     .output = all_written("demo", {"ART\\SHIP.RAW", "ART\\ICONS\\A.RAW", "top.txt"}),
     .status = 0,
     .created = {{"games/data/level1/ART/SHIP.RAW", "ship"},
                 {"games/data/level1/ART/ICONS/A.RAW", "a"},
                 {"games/data/level1/top.txt", "abc"}}},
    {.label = "base_name_ends_at_the_first_dot",
     .arguments = {"level.1.pod"},
     .inputs = {{"level.1.pod", archive_of({{"f", "1"}})}},
     .output = all_written("demo", {"f"}),
     .status = 0,
     .created = {{"data/level/f", "1"}}},
    {.label = "dots_in_the_folder_part_do_not_cut",
     .arguments = {"my.games/x.pod"},
     .inputs = {{"my.games/x.pod", archive_of({{"f", "1"}})}},
     .output = all_written("demo", {"f"}),
     .status = 0,
     .created = {{"my.games/data/x/f", "1"}}},
    {.label = "empty_base_name_writes_into_data",
     .arguments = {".pod"},
     .inputs = {{".pod", archive_of({{"f", "1"}})}},
     .output = all_written("demo", {"f"}),
     .status = 0,
     .created = {{"data/f", "1"}}},
    {.label = "absolute_archive_path",
     .arguments = {"{work}/abs/a.pod"},
     .inputs = {{"abs/a.pod", archive_of({{"f", "1"}})}},
     .output = all_written("demo", {"f"}),
     .status = 0,
     .created = {{"abs/data/a/f", "1"}}},
    // Windows' 8-bit file functions stop at 260 characters, so there the archive cannot be opened.
    {.label = "paths_longer_than_the_old_260_byte_limit",
     .arguments = {"{work}/" + long_folder + "/" + long_base + ".pod"},
     .inputs = {{long_folder + "/" + long_base + ".pod", archive_of({{"A\\f", "1"}})}},
     .output = all_written("demo", {"A\\f"}),
     .status = 0,
     .created = {{long_folder + "/data/" + long_base + "/A/f", "1"}},
     .platforms = runs_on::posix_only},
    {.label = "separators_doubled_leading_slashed_and_dotted",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"A\\\\B.TXT", "b"},
                                      {"\\LEAD.TXT", "l"},
                                      {"A/SLASH.TXT", "s"},
                                      {".\\A\\.\\DOT.TXT", "d"}})}},
     .output = all_written("demo", {"A\\\\B.TXT", "\\LEAD.TXT", "A/SLASH.TXT", ".\\A\\.\\DOT.TXT"}),
     .status = 0,
     .created = {{"data/x/A/B.TXT", "b"},
                 {"data/x/LEAD.TXT", "l"},
                 {"data/x/A/SLASH.TXT", "s"},
                 {"data/x/A/DOT.TXT", "d"}}},
    {.label = "data_before_shared_overlapping_and_empty",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"A.BIN", "0123456789"},
                                      {"PART.BIN", "", behind_five + 3, 4},
                                      {"SAME.BIN", "", behind_five, 10},
                                      {"EMPTY.BIN", ""},
                                      {"HEAD.BIN", "", 4, 4}})}},
     .output = all_written("demo", {"A.BIN", "PART.BIN", "SAME.BIN", "EMPTY.BIN", "HEAD.BIN"}),
     .status = 0,
     .created = {{"data/x/A.BIN", "0123456789"},
                 {"data/x/PART.BIN", "3456"},
                 {"data/x/SAME.BIN", "0123456789"},
                 {"data/x/EMPTY.BIN", ""},
                 {"data/x/HEAD.BIN", "demo"}}},
    {.label = "data_in_reverse_order",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod",
                 pod_writer::build({.comment = "demo",
                                    .entries = {{"1", "one"}, {"2", "two"}, {"3", "three"}},
                                    .data_in_reverse_order = true})}},
     .output = all_written("demo", {"1", "2", "3"}),
     .status = 0,
     .created = {{"data/x/1", "one"}, {"data/x/2", "two"}, {"data/x/3", "three"}}},
    {.label = "later_entry_and_rerun_overwrite",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"SAME", "first"}, {"SAME", "2nd"}, {"OLD", "new"}})},
                {"data/x/OLD", "a longer old content"}},
     .output = all_written("demo", {"SAME", "SAME", "OLD"}),
     .status = 0,
     .created = {{"data/x/SAME", "2nd"}, {"data/x/OLD", "new"}}},
    {.label = "full_width_name",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"D\\ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "w"}})}},
     .output = all_written("demo", {"D\\ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"}),
     .status = 0,
     .created = {{"data/x/D/ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "w"}}},
    // Windows allows no control bytes in file names; see the Windows row below.
    {.label = "control_bytes_in_a_name_are_shown_as_question_marks",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"BEL\x07\x1b.TXT", "b"}})}},
     .output = all_written("demo", {"BEL??.TXT"}),
     .status = 0,
     .created = {{"data/x/BEL\x07\x1b.TXT", "b"}},
     .platforms = runs_on::posix_only},
};
INSTANTIATE_TEST_SUITE_P(tree, cli, testing::ValuesIn(tree_cases), name_of_case);

// ---- failures: every one stops the run with its text and status ----

const std::vector<std::string> ok_then_dir = {"ok.txt", "DIR\\"};
const std::vector<std::string> file_then_folder = {"A", "A\\B"};
const std::vector<std::string> ok_then_far = {"ok", "far"};
const std::vector<std::string> ok_then_wrap = {"ok", "wrap"};
const std::vector<std::string> ok_then_up = {"ok", "..\\evil.txt"};
const std::vector<std::string> small_then_big = {"small", "big"};

const cli_case failure_cases[] = {
    {.label = "name_ending_in_a_separator",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"ok.txt", "1"}, {"DIR\\", "2"}})}},
     .output = written_until(ok_then_dir, 1) + expected::cannot_write("DIR\\"),
     .status = 4,
     .created = {{"data/x/ok.txt", "1"}, {"data/x/DIR/", ""}}},
    {.label = "empty_name_first",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"", "x"}})}},
     .output = after_summary("demo", 1) + expected::cannot_write(""),
     .status = 4,
     .created = {{"data/x/", ""}}},
    {.label = "file_where_a_folder_is_needed",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"A", "file"}, {"A\\B", "x"}})}},
     .output = written_until(file_then_folder, 1) + expected::cannot_write("A\\B"),
     .status = 4,
     .created = {{"data/x/A", "file"}}},
    {.label = "folder_where_a_file_is_needed",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"F.TXT", "x"}})}},
     .prepare = [](const fs::path& w) { fs::create_directories(w / "data/x/F.TXT"); },
     .output = after_summary("demo", 1) + expected::cannot_write("F.TXT"),
     .status = 4},
    {.label = "data_past_the_end",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"ok", "1"}, {"far", "", 1000, 5}})}},
     .output = written_until(ok_then_far, 1) + expected::damaged,
     .status = 5,
     .created = {{"data/x/ok", "1"}}},
    {.label = "data_run_that_wraps_in_32_bits",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"ok", "1"}, {"wrap", "", 0xfffffff0u, 0x20}})}},
     .output = written_until(ok_then_wrap, 1) + expected::damaged,
     .status = 5,
     .created = {{"data/x/ok", "1"}}},
    {.label = "dot_dot_component",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"ok", "1"}, {"..\\evil.txt", "x"}})}},
     .output = written_until(ok_then_up, 1) + expected::unsafe_path("..\\evil.txt"),
     .status = 6,
     .created = {{"data/x/ok", "1"}}},
    {.label = "dot_dot_behind_a_folder_and_slashes",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"A/../../x", "x"}})}},
     .output = after_summary("demo", 1) + expected::unsafe_path("A/../../x"),
     .status = 6,
     .created = {{"data/x/", ""}}},
    {.label = "planted_folder_link",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"A\\f.txt", "x"}})}},
     .prepare =
         [](const fs::path& w) {
             fs::create_directories(w / "outside");
             fs::create_directories(w / "data/x");
             fs::create_directory_symlink("../../outside", w / "data/x/A");
         },
     .output = after_summary("demo", 1) + expected::unsafe_path("A\\f.txt"),
     .status = 6},
    // Wine shows a link to a file as a plain file (Windows itself marks it as a reparse point).
    {.label = "planted_file_link",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"f.txt", "evil"}})}, {"victim.txt", "keep"}},
     .prepare =
         [](const fs::path& w) {
             fs::create_directories(w / "data/x");
             fs::create_symlink("../../victim.txt", w / "data/x/f.txt");
         },
     .output = after_summary("demo", 1) + expected::unsafe_path("f.txt"),
     .status = 6,
     .platforms = runs_on::posix_only},
    {.label = "users_own_data_link_is_followed",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"f", "1"}})}},
     .prepare =
         [](const fs::path& w) {
             fs::create_directories(w / "real");
             fs::create_directory_symlink("real", w / "data");
         },
     .output = all_written("demo", {"f"}),
     .status = 0,
     .created = {{"real/x/f", "1"}}},
    {.label = "data_is_a_file",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"f", "1"}})}, {"data", "in the way"}},
     .output = after_summary("demo", 1) + expected::cannot_create_folder("data"),
     .status = 4},
    {.label = "base_folder_is_a_file",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"f", "1"}})}},
     .prepare = [](const fs::path& w) { write_text(w / "data/x", "in the way"); },
     .output = after_summary("demo", 1) + expected::cannot_create_folder("data/x"),
     .status = 4},
    {.label = "write_failure_removes_the_partial_file",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"small", "fits"}, {"big", std::string(10000, 'b')}})}},
     .output = written_until(small_then_big, 1) + expected::cannot_write("big"),
     .status = 4,
     .created = {{"data/x/small", "fits"}},
     .limits = {.file_size_limit = 4096}},
};
INSTANTIATE_TEST_SUITE_P(failure, cli, testing::ValuesIn(failure_cases), name_of_case);

// ---- names Windows gives a meaning of their own ----

const std::vector<std::string> ok_then_device = {"ok", "NUL.RAW"};

const cli_case windows_cases[] = {
    {.label = "device_name_with_an_extension",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"ok", "1"}, {"NUL.RAW", "lost"}})}},
     .output = written_until(ok_then_device, 1) + expected::unsafe_path("NUL.RAW"),
     .status = 6,
     .created = {{"data/x/ok", "1"}},
     .platforms = runs_on::windows_only},
    {.label = "device_name_as_a_folder_or_file_in_any_case",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"A\\con", "lost"}})}},
     .output = after_summary("demo", 1) + expected::unsafe_path("A\\con"),
     .status = 6,
     .created = {{"data/x/", ""}},
     .platforms = runs_on::windows_only},
    {.label = "drive_component",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"C:\\evil.txt", "lost"}})}},
     .output = after_summary("demo", 1) + expected::unsafe_path("C:\\evil.txt"),
     .status = 6,
     .created = {{"data/x/", ""}},
     .platforms = runs_on::windows_only},
    {.label = "alternate_data_stream",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"f.txt:s", "lost"}})}},
     .output = after_summary("demo", 1) + expected::unsafe_path("f.txt:s"),
     .status = 6,
     .created = {{"data/x/", ""}},
     .platforms = runs_on::windows_only},
    {.label = "dots_and_blanks_that_windows_reads_as_dot_dot",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"... \\f", "lost"}})}},
     .output = after_summary("demo", 1) + expected::unsafe_path("... \\f"),
     .status = 6,
     .created = {{"data/x/", ""}},
     .platforms = runs_on::windows_only},
    {.label = "control_bytes_in_a_name_cannot_be_a_windows_file_name",
     .arguments = {"x.pod"},
     .inputs = {{"x.pod", archive_of({{"BEL\x07\x1b.TXT", "b"}})}},
     .output = after_summary("demo", 1) + expected::cannot_write("BEL??.TXT"),
     .status = 4,
     .created = {{"data/x/", ""}},
     .platforms = runs_on::windows_only},
    {.label = "archive_path_with_blanks_arrives_whole",
     .arguments = {"my games/level one.pod"},
     .inputs = {{"my games/level one.pod", archive_of({{"f", "1"}})}},
     .output = all_written("demo", {"f"}),
     .status = 0,
     .created = {{"my games/data/level one/f", "1"}}},
};
INSTANTIATE_TEST_SUITE_P(windows_names, cli, testing::ValuesIn(windows_cases), name_of_case);

}  // namespace
