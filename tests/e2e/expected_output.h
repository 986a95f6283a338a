// The tool's texts as a user sees them, written out independently of the tool's own table,
// so that a changed byte in the tool fails a test.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace expected {

std::string banner();
inline const std::string blank_line = "\n";
inline const std::string usage = "usage: Zelmar_decruncher.exe pod_file_path\n\n";
inline const std::string invalid_parameters = "Error - invalid or missing parameters!\n\n";
inline const std::string invalid_path =
    "Error - invalid input path, only *.POD files supported!\n\n";
inline const std::string cannot_open = "Error - can't open input file!\n\n";
inline const std::string damaged = "Error - input file is truncated or damaged!\n\n";
inline const std::string all_done = "\n\nAll done.\n\n";

std::string summary(std::string_view comment, std::uint32_t file_count);
std::string progress(std::uint32_t number, std::uint32_t count, std::string_view name);
std::string cannot_write(std::string_view name);
std::string unsafe_path(std::string_view name);
std::string cannot_create_folder(std::string_view folder);  // folder written with '/'

// The bytes as they reach a redirected standard output of the build under test.
std::string as_delivered(std::string text);

}  // namespace expected
