// What a stored name may do on disk, decided before anything of its entry is created.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

// A stored name cut into the folders to enter and the file to write there.
struct stored_path {
    std::vector<std::string> folders;
    std::string file_name;  // may be empty, which no platform can create
};

enum class name_verdict { ok, unsafe };

// Splits at '\' (the archive's separator) and at '/' (a separator too where the tool runs,
// and never part of a file name). Empty and "." components add no folder level; a ".."
// component, or on platforms with reserved names a drive, stream or device component, is unsafe.
[[nodiscard]] name_verdict split_stored_name(std::string_view name,
                                             const platform::path_style& style, stored_path& path);
