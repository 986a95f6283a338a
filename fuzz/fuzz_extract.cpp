// Any byte string as an archive in a fresh folder, then the whole tool run on it. Two links
// already stand in the extraction folder, one to the folder above the run and one to a sentinel
// file there. Afterwards the folder must hold exactly what the bytes call for: the archive, and
// below data/ the links untouched and the files and folders of the entries processed before the
// run stopped, each file with the data of the last entry that named it. Nothing outside the
// folder may change, and the status must be the one the bytes call for.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "exit_status.h"
#include "fuzz_checks.h"
#include "run.h"

namespace {

namespace fs = std::filesystem;
using fuzz_checks::bytes;
using fuzz_checks::require;

constexpr const char* archive_name = "game.pod";
constexpr const char* sentinel_text = "outside the run's folder\n";

enum class kind { file, folder, link };

struct node {
    kind is = kind::file;
    std::string data;  // a file's bytes, a link's target
    bool operator==(const node&) const = default;
};

// Paths below data/game, components joined with '/'.
using tree = std::map<std::string, node>;

struct outcome {
    exit_status status = exit_status::success;
    tree below_it;
};

// scratch/sentinel stays put; scratch/run is made and removed for each input.
struct places {
    fs::path scratch;
    fs::path sentinel;
    fs::path run;
    fs::path extraction_folder;
    int home_folder = -1;
};

places the_places;

std::vector<std::string> components_of(std::string_view name) {
    std::vector<std::string> parts(1);
    for (const char c : name) {
        if (c == '\\' || c == '/') {
            parts.emplace_back();
        } else {
            parts.back().push_back(c);
        }
    }
    return parts;
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + '/' + name;
}

// One entry's effect on the tree, or the status it stops the run with.
exit_status place_entry(const fuzz_checks::raw_entry& entry, bytes input, tree& files) {
    const std::vector<std::string> parts = components_of(entry.name);
    for (const std::string& part : parts) {
        if (part == "..") return exit_status::unsafe_path;
    }
    if (!fuzz_checks::data_fits(entry, input)) return exit_status::damaged_input;
    std::string at;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i].empty() || parts[i] == ".") continue;
        at = joined(at, parts[i]);
        const auto found = files.find(at);
        if (found == files.end()) {
            files[at] = node{kind::folder, {}};
        } else if (found->second.is == kind::link) {
            return exit_status::unsafe_path;
        } else if (found->second.is == kind::file) {
            return exit_status::cannot_write_output;
        }
    }
    // A file named "" or "." cannot be created; neither can one where a folder stands.
    const std::string& file = parts.back();
    if (file.empty() || file == ".") return exit_status::cannot_write_output;
    at = joined(at, file);
    const auto found = files.find(at);
    if (found != files.end() && found->second.is == kind::link) return exit_status::unsafe_path;
    if (found != files.end() && found->second.is == kind::folder) {
        return exit_status::cannot_write_output;
    }
    const bytes data = fuzz_checks::data_of(entry, input);
    files[at] = node{kind::file, std::string(data.begin(), data.end())};
    return exit_status::success;
}

tree planted_links() {
    return {{"link_dir", node{kind::link, the_places.scratch.string()}},
            {"link_file", node{kind::link, the_places.sentinel.string()}}};
}

outcome expected_outcome(bytes input) {
    outcome expected{.below_it = planted_links()};
    if (!fuzz_checks::directory_fits(input)) {
        expected.status = exit_status::damaged_input;
        return expected;
    }
    const std::uint32_t count = fuzz_checks::file_count_of(input);
    for (std::uint32_t i = 0; i < count; ++i) {
        expected.status = place_entry(fuzz_checks::entry_at(input, i), input, expected.below_it);
        if (expected.status != exit_status::success) break;
    }
    return expected;
}

std::string contents_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    require(in.good(), "open a file to compare");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const fs::path& path, bytes data) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    require(fd >= 0, "create a file");
    const ssize_t written = ::write(fd, data.data(), data.size());
    require(written == static_cast<ssize_t>(data.size()) && ::close(fd) == 0, "write a file");
}

std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::directory_iterator at(folder, error), end; !error && at != end; at.increment(error)) {
        names.insert(at->path().filename().string());
    }
    require(!error, "list a folder");
    return names;
}

bool is_plain_folder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(fs::symlink_status(path, error));
}

void add_to_tree(const fs::directory_entry& entry, const fs::path& root, tree& found) {
    std::error_code error;
    const fs::file_status status = entry.symlink_status(error);
    require(!error, "look at an output path");
    const std::string at = entry.path().lexically_relative(root).generic_string();
    if (fs::is_directory(status)) {
        found[at] = node{kind::folder, {}};
    } else if (fs::is_symlink(status)) {
        found[at] = node{kind::link, fs::read_symlink(entry.path(), error).string()};
        require(!error, "read a link");
    } else {
        require(fs::is_regular_file(status), "only files, folders and links in the output tree");
        found[at] = node{kind::file, contents_of(entry.path())};
    }
}

// What is on disk below root; the walk never follows a link.
tree tree_below(const fs::path& root) {
    tree found;
    std::error_code error;
    for (fs::recursive_directory_iterator at(root, error), end; !error && at != end;
         at.increment(error)) {
        add_to_tree(*at, root, found);
    }
    require(!error, "walk the output tree");
    return found;
}

std::size_t open_descriptor_count() {
    std::size_t count = 0;
    std::error_code error;
    for (fs::directory_iterator at("/proc/self/fd", error), end; !error && at != end;
         at.increment(error)) {
        ++count;
    }
    require(!error, "count open descriptors");
    return count;
}

void check_outside() {
    const std::set<std::string> expected = {"run", "sentinel"};
    require(names_in(the_places.scratch) == expected, "nothing appears beside the run's folder");
    require(contents_of(the_places.sentinel) == sentinel_text, "sentinel unchanged");
}

void check_run_folder(const outcome& expected, bytes input) {
    const std::set<std::string> names = {archive_name, "data"};
    require(names_in(the_places.run) == names, "only the archive and data/ in the run's folder");
    require(contents_of(the_places.run / archive_name) == std::string(input.begin(), input.end()),
            "archive unchanged");
    const fs::path data = the_places.run / "data";
    require(is_plain_folder(data) && names_in(data) == std::set<std::string>{"game"},
            "only the base-name folder in data/");
    require(is_plain_folder(the_places.extraction_folder), "the extraction folder is a folder");
    require(tree_below(the_places.extraction_folder) == expected.below_it, "extracted tree");
}

void plant_links() {
    std::error_code error;
    fs::create_directories(the_places.extraction_folder, error);
    require(!error, "make the extraction folder");
    for (const auto& [name, link] : planted_links()) {
        fs::create_symlink(link.data, the_places.extraction_folder / name, error);
        require(!error, "plant a link");
    }
}

exit_status run_in_fresh_folder(bytes input) {
    std::error_code error;
    require(fs::create_directory(the_places.run, error), "make the run's folder");
    write_file(the_places.run / archive_name, input);
    plant_links();
    require(::chdir(the_places.run.c_str()) == 0, "enter the run's folder");
    const char* const arguments[] = {archive_name};
    const exit_status status = run_tool(arguments);
    std::fflush(stdout);
    require(::fchdir(the_places.home_folder) == 0, "return to the starting folder");
    return status;
}

void check_status(exit_status got, exit_status expected) {
    if (got == expected) return;
    std::fprintf(stderr, "status %d, expected %d\n", static_cast<int>(got),
                 static_cast<int>(expected));
    fuzz_checks::fail("exit status");
}

void remove_scratch() {
    std::error_code ignored;
    fs::remove_all(the_places.scratch, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The tool talks on stdout; libFuzzer reports on stderr, which stays.
    require(std::freopen("/dev/null", "w", stdout) != nullptr, "silence stdout");
    std::error_code error;
    const fs::path temporary = fs::temp_directory_path(error);
    require(!error, "find the temporary folder");
    std::string pattern = (temporary / "zelmar-fuzz-XXXXXX").string();
    require(::mkdtemp(pattern.data()) != nullptr, "make the scratch folder");
    the_places.scratch = pattern;
    the_places.sentinel = the_places.scratch / "sentinel";
    the_places.run = the_places.scratch / "run";
    the_places.extraction_folder = the_places.run / "data" / "game";
    const std::string_view sentinel = sentinel_text;
    write_file(the_places.sentinel,
               bytes(reinterpret_cast<const std::uint8_t*>(sentinel.data()), sentinel.size()));
    the_places.home_folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    require(the_places.home_folder >= 0, "remember the starting folder");
    std::atexit(remove_scratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bytes input(data, size);
    const std::size_t descriptors = open_descriptor_count();
    const outcome expected = expected_outcome(input);
    const exit_status status = run_in_fresh_folder(input);
    check_status(status, expected.status);
    require(open_descriptor_count() == descriptors, "no descriptor left open");
    check_run_folder(expected, input);
    check_outside();
    std::error_code removed;
    fs::remove_all(the_places.run, removed);
    require(!removed, "remove the run's folder");
    return 0;
}
