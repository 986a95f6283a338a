// The tool run as a user runs it: exact standard output, exit status, and the tree it leaves.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "expected_output.h"
#include "pod_writer.h"
#include "scratch_folder.h"
#include "tool_process.h"

namespace fs = std::filesystem;
using pod_writer::entry;

namespace {

struct cli_case {
    std::string label;
    std::vector<std::string> arguments;         // "{work}" stands for the working folder
    std::map<std::string, std::string> inputs;  // files laid out before the run
    std::function<void(const fs::path&)> prepare;
    std::string output;  // everything after the banner
    int status;
    std::map<std::string, std::string> created;  // what the run adds, in list_tree's terms
    tool_limits limits = {};
};

std::string archive_of(std::vector<entry> entries, std::string comment = "demo") {
    return pod_writer::build({.comment = comment, .entries = std::move(entries)});
}

const std::string a_few = archive_of({{"ART\\SHIP.RAW", "ship"}, {"top.txt", "abc"}});

std::string after_summary(std::string_view comment, std::uint32_t count) {
    return expected::blank_line + expected::summary(comment, count);
}

std::string all_written(std::string_view comment, const std::vector<std::string>& names) {
    std::string text = after_summary(comment, static_cast<std::uint32_t>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += expected::progress(static_cast<std::uint32_t>(i + 1),
                                   static_cast<std::uint32_t>(names.size()), names[i]);
    }
    return text + expected::all_done;
}

void write_inputs(const fs::path& work, const std::map<std::string, std::string>& inputs) {
    for (const auto& [name, bytes] : inputs) {
        fs::create_directories((work / name).parent_path());
        ASSERT_TRUE(pod_writer::write_file((work / name).string(), bytes)) << name;
    }
}

// The tree a run should leave: the inputs, what it adds, and every folder on their way.
std::map<std::string, std::string> expected_tree(const cli_case& c, const fs::path& work) {
    std::map<std::string, std::string> tree = list_tree(work);
    for (const auto& [name, bytes] : c.created) {
        tree[name] = bytes;
        for (fs::path up = fs::path(name).parent_path(); !up.empty(); up = up.parent_path()) {
            tree[up.generic_string() + "/"] = "";
        }
    }
    return tree;
}

std::vector<std::string> arguments_for(const cli_case& c, const fs::path& work) {
    std::vector<std::string> arguments;
    for (std::string argument : c.arguments) {
        if (const auto at = argument.find("{work}"); at != std::string::npos) {
            argument.replace(at, 6, work.string());
        }
        arguments.push_back(argument);
    }
    return arguments;
}

void PrintTo(const cli_case& c, std::ostream* os) { *os << c.label; }

class cli : public testing::TestWithParam<cli_case> {};

TEST_P(cli, prints_exits_and_writes_as_expected) {
    const cli_case& c = GetParam();
    scratch_folder scratch;
    const fs::path work = scratch.path() / "work";
    fs::create_directory(work);
    write_inputs(work, c.inputs);
    if (c.prepare) c.prepare(work);
    const auto tree_before_plus_created = expected_tree(c, work);

    const tool_run run = run_tool_process(arguments_for(c, work), work, c.limits);

    EXPECT_EQ(run.out, expected::as_delivered(expected::banner() + c.output));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(list_tree(work), tree_before_plus_created);
}

std::string name_of_case(const testing::TestParamInfo<cli_case>& info) { return info.param.label; }

void make_fifo(const fs::path& path) { ::mkfifo(path.c_str(), 0644); }

// ---- arguments, paths and the summary ----

const cli_case summary_cases[] = {
    {"no_argument", {}, {}, {}, expected::usage + expected::invalid_parameters, 1, {}},
    {"two_arguments",
     {"a.pod", "b.pod"},
     {{"a.pod", a_few}, {"b.pod", a_few}},
     {},
     expected::usage + expected::invalid_parameters,
     1,
     {}},
    {"other_extension",
     {"x.pod.bak"},
     {{"x.pod.bak", a_few}},
     {},
     expected::blank_line + expected::invalid_path,
     2,
     {}},
    {"trailing_blank",
     {"x.pod "},
     {{"x.pod ", a_few}},
     {},
     expected::blank_line + expected::invalid_path,
     2,
     {}},
    {"three_characters",
     {"pod"},
     {{"pod", a_few}},
     {},
     expected::blank_line + expected::invalid_path,
     2,
     {}},
    {"missing_archive",
     {"missing.pod"},
     {},
     {},
     expected::blank_line + expected::cannot_open,
     3,
     {}},
    {"folder_as_archive",
     {"dir.pod"},
     {},
     [](const fs::path& w) { fs::create_directory(w / "dir.pod"); },
     expected::blank_line + expected::cannot_open,
     3,
     {}},
    {"pipe_as_archive",
     {"pipe.pod"},
     {},
     [](const fs::path& w) { make_fifo(w / "pipe.pod"); },
     expected::blank_line + expected::cannot_open,
     3,
     {}},
    {"device_as_archive",
     {"null.pod"},
     {},
     [](const fs::path& w) { fs::create_symlink("/dev/null", w / "null.pod"); },
     expected::blank_line + expected::cannot_open,
     3,
     {}},
    {"empty_archive",
     {"e.pod"},
     {{"e.pod", ""}},
     {},
     expected::blank_line + expected::damaged,
     5,
     {}},
    {"header_one_byte_short",
     {"h.pod"},
     {{"h.pod", pod_writer::encode_header(0, "c").substr(0, 83)}},
     {},
     expected::blank_line + expected::damaged,
     5,
     {}},
    {"directory_past_the_end",
     {"d.pod"},
     {{"d.pod", pod_writer::build({.comment = "short", .entries = {{"a", "x"}}, .file_count = 2})}},
     {},
     after_summary("short", 2) + expected::damaged,
     5,
     {}},
    {"count_above_signed_range",
     {"big.pod"},
     {{"big.pod", pod_writer::encode_header(0x80000000u, "huge")}},
     {},
     after_summary("huge", 2147483648u) + expected::damaged,
     5,
     {}},
    {"upper_case_extension_and_no_entries",
     {"x.POD"},
     {{"x.POD", archive_of({}, "empty")}},
     {},
     all_written("empty", {}),
     0,
     {{"data/x/", ""}}},
    {"full_width_comment",
     {"c.pod"},
     {{"c.pod", archive_of({}, std::string(80, 'C'))}},
     {},
     all_written(std::string(80, 'C'), {}),
     0,
     {{"data/c/", ""}}},
    {"control_bytes_in_comment",
     {"c.pod"},
     {{"c.pod", archive_of({}, "\x1b[2Jred\x07\x7f~")}},
     {},
     all_written("?[2Jred??~", {}),
     0,
     {{"data/c/", ""}}},
};
INSTANTIATE_TEST_SUITE_P(summary, cli, testing::ValuesIn(summary_cases), name_of_case);

}  // namespace

TEST(banner, is_four_lines_of_67_columns_on_every_run) {
    scratch_folder scratch;
    const tool_run run = run_tool_process({}, scratch.path());
    const std::string banner = run.out.substr(0, run.out.find(expected::as_delivered("usage")));
    const std::string line_end = expected::as_delivered("\n");
    std::size_t lines = 0;
    for (std::size_t at = 0; at < banner.size(); ++lines) {
        const std::size_t end = banner.find(line_end, at);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(end - at, 67u) << banner.substr(at, end - at);
        EXPECT_EQ(banner[end - 1], lines == 0 || lines == 3 ? '+' : '|');
        at = end + line_end.size();
    }
    EXPECT_EQ(lines, 4u);
}
