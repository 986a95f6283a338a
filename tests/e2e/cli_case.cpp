// The runner behind every case table: lays out the inputs, runs the tool, compares.
#include "cli_case.h"

#include "scratch_folder.h"

namespace fs = std::filesystem;
using pod_writer::entry;

std::string archive_of(std::vector<entry> entries, std::string comment) {
    return pod_writer::build({.comment = comment, .entries = std::move(entries)});
}

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

namespace {

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

}  // namespace

void PrintTo(const cli_case& c, std::ostream* os) { *os << c.label; }

TEST_P(cli, prints_exits_and_writes_as_expected) {
    const cli_case& c = GetParam();
    if (c.platforms == (testing_windows_build() ? runs_on::posix_only : runs_on::windows_only)) {
        GTEST_SKIP() << "not a case for this platform";
    }
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
