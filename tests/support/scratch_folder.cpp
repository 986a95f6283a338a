#include "scratch_folder.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

scratch_folder::scratch_folder() {
    std::string pattern = (fs::temp_directory_path() / "zelmar-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
}

scratch_folder::~scratch_folder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
}

std::map<std::string, std::string> list_tree(const fs::path& root) {
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error); it != fs::end(it);
         it.increment(error)) {
        const std::string name = fs::relative(it->path(), root).generic_string();
        const fs::file_status status = it->symlink_status();
        if (fs::is_symlink(status)) {
            tree[name + "@"] = fs::read_symlink(it->path()).string();
        } else if (fs::is_directory(status)) {
            tree[name + "/"] = "";
        } else if (fs::is_regular_file(status)) {
            std::ifstream in(it->path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            tree[name] = bytes.str();
        } else {
            tree[name + "?"] = "";
        }
    }
    return tree;
}
