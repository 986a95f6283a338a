#include "tool_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> words_of(const char* text) {
    std::vector<std::string> words;
    std::istringstream stream(text ? text : "");
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

std::string read_whole_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

[[noreturn]] void become_tool(const std::vector<std::string>& command,
                              const std::filesystem::path& working_folder,
                              const std::filesystem::path& out_file,
                              const std::filesystem::path& err_file, const tool_limits& limits) {
    const int out = ::open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int none = ::open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || none < 0 || ::dup2(none, 0) < 0 || ::dup2(out, 1) < 0 ||
        ::dup2(err, 2) < 0 || ::chdir(working_folder.c_str()) != 0) {
        ::_exit(127);
    }
    if (limits.file_size_limit) {
        ::signal(SIGXFSZ, SIG_IGN);  // an ignored signal stays ignored across exec
        const rlimit limit{static_cast<rlim_t>(*limits.file_size_limit),
                           static_cast<rlim_t>(*limits.file_size_limit)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

std::vector<std::string> tool_command() {
    std::vector<std::string> command = words_of(std::getenv("ZELMAR_TOOL_COMMAND"));
    if (command.empty()) command.push_back("Zelmar_decruncher");
    return command;
}

}  // namespace

bool testing_windows_build() {
    const std::string tool = tool_command().back();
    return tool.size() >= 4 && tool.substr(tool.size() - 4) == ".exe";
}

tool_run run_tool_process(const std::vector<std::string>& arguments,
                          const std::filesystem::path& working_folder, const tool_limits& limits) {
    std::vector<std::string> command = tool_command();
    command.insert(command.end(), arguments.begin(), arguments.end());
    // The captured streams live beside the working folder, so they are not part of its tree.
    const std::filesystem::path out_file = working_folder.string() + ".stdout";
    const std::filesystem::path err_file = working_folder.string() + ".stderr";
    const pid_t child = ::fork();
    if (child == 0) become_tool(command, working_folder, out_file, err_file, limits);
    tool_run run;
    int wait_status = 0;
    if (child > 0 && ::waitpid(child, &wait_status, 0) == child && WIFEXITED(wait_status)) {
        run.status = WEXITSTATUS(wait_status);
    }
    run.out = read_whole_file(out_file);
    run.err = read_whole_file(err_file);
    return run;
}
