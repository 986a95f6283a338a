// One run of the tool as a test case: what lies on disk before, the command line, and the
// exact standard output, exit status and tree expected after.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "expected_output.h"
#include "pod_writer.h"
#include "tool_process.h"

// Where a case applies, for behaviour that rightly differs between the platforms.
enum class runs_on { both, posix_only, windows_only };

struct cli_case {
    std::string label;
    std::vector<std::string> arguments;         // "{work}" stands for the working folder
    std::map<std::string, std::string> inputs;  // files laid out before the run
    std::function<void(const std::filesystem::path&)> prepare;
    std::string output;  // everything after the banner
    int status;
    std::map<std::string, std::string> created;  // what the run adds, in list_tree's terms
    tool_limits limits = {};
    runs_on platforms = runs_on::both;
};

void PrintTo(const cli_case& c, std::ostream* os);
std::string name_of_case(const testing::TestParamInfo<cli_case>& info);

class cli : public testing::TestWithParam<cli_case> {};

std::string archive_of(std::vector<pod_writer::entry> entries, std::string comment = "demo");
std::string after_summary(std::string_view comment, std::uint32_t count);
// The whole output of a run that writes every entry of the named list.
std::string all_written(std::string_view comment, const std::vector<std::string>& names);
