// What the archive's path on the command line tells: whether it names a POD archive, the
// folder it lies in and the base name its output folder is called by.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

// True when the last four characters are ".pod" in any ASCII letter case.
[[nodiscard]] bool has_pod_extension(std::string_view path);

struct archive_location {
    bool has_folder = false;  // false: the archive lies in the current folder
    std::string folder;       // the folder to enter, a root or drive kept whole
    std::string base_name;    // the last component cut at its first dot; may be empty
};

[[nodiscard]] archive_location locate_archive(std::string_view path,
                                              const platform::path_style& style);
