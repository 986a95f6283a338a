// A fresh, empty folder for one test, removed again when the test is done with it.
#pragma once

#include <filesystem>
#include <map>
#include <string>

class scratch_folder {
public:
    scratch_folder();
    ~scratch_folder();
    scratch_folder(const scratch_folder&) = delete;
    scratch_folder& operator=(const scratch_folder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Everything below root, without following links: "dir/" for a folder, "name" with its bytes
// for a file, "name@" with the link's target for a link, "name?" for anything else.
std::map<std::string, std::string> list_tree(const std::filesystem::path& root);
