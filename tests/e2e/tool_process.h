// Runs the built tool as a child process, the way a user's shell would.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct tool_run {
    std::string out;  // standard output, byte for byte
    std::string err;
    int status = -1;  // exit status, or -1 when the child did not exit normally
};

struct tool_limits {
    std::optional<long> file_size_limit;  // RLIMIT_FSIZE in bytes, with SIGXFSZ ignored
};

// The command comes from the environment: ZELMAR_TOOL_COMMAND holds blank-separated words, an
// optional runner prefix (an emulator and its settings, say) and last the executable's path.
tool_run run_tool_process(const std::vector<std::string>& arguments,
                          const std::filesystem::path& working_folder,
                          const tool_limits& limits = {});

// True when the tool under test is a Windows build, so texts and paths read the Windows way.
bool testing_windows_build();
