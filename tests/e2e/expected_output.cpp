#include "expected_output.h"

#include <cstdio>

#include "tool_process.h"

namespace expected {

std::string banner() {
    const std::string version_line =
        "| MIT license - version " ZELMAR_VERSION " - released " ZELMAR_RELEASE_DATE;
    return "+-----------------------------------------------------------------+\n"
           "| Zelmar game data decruncher, by the Zelmar_decruncher authors   |\n" +
           version_line + std::string(66 - version_line.size(), ' ') + "|\n" +
           "+-----------------------------------------------------------------+\n";
}

std::string summary(std::string_view comment, std::uint32_t file_count) {
    return "Comments: " + std::string(comment) + "\nFiles: " + std::to_string(file_count) + "\n\n";
}

std::string progress(std::uint32_t number, std::uint32_t count, std::string_view name) {
    char line[128];
    std::snprintf(line, sizeof line, "\rDecrunching file: %4u/%4u - %-40s", number, count,
                  std::string(name).c_str());
    return line;
}

std::string cannot_write(std::string_view name) {
    return "Error - can't write output file \"" + std::string(name) + "\"!\n\n";
}

std::string unsafe_path(std::string_view name) {
    return "Error - unsafe path in archive \"" + std::string(name) + "\"!\n\n";
}

std::string cannot_create_folder(std::string_view folder) {
    std::string shown(folder);
    if (testing_windows_build()) {
        for (char& c : shown) c = c == '/' ? '\\' : c;
    }
    return "Error - can't create output folder \"" + shown + "\"!\n\n";
}

std::string as_delivered(std::string text) {
    if (!testing_windows_build()) return text;
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return crlf;
}

}  // namespace expected
