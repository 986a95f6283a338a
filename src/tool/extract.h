// The extraction: "data/<base name>/" next to the archive, then every entry written below it.
#pragma once

#include <optional>
#include <string_view>

#include "dialogue.h"
#include "pod/pod_reader.h"

// Walks the directory from the reader's place (the first entry) and writes each entry,
// printing a progress line after each. Returns the failure that stopped it, if any; the
// process's current folder is moved on the way.
[[nodiscard]] std::optional<failure> extract_archive(pod::pod_archive& archive,
                                                     const pod::pod_header& header,
                                                     std::string_view archive_path);
