// The tool's whole conversation with the user; the texts themselves are in dialogue.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "exit_status.h"
#include "pod/pod_format.h"

// One per error text the tool can end a run with.
enum class failure_text {
    invalid_parameters,
    invalid_path,
    cannot_open_input,
    damaged_input,
    cannot_create_folder,  // subject: the folder, relative to the archive's folder
    cannot_write_output,   // subject: the entry's stored name
    unsafe_path,           // subject: the entry's stored name
};

struct failure {
    failure_text text;
    std::string subject;
};

void say_banner();
void say_usage();
void say_blank_line();
void say_summary(const pod::pod_header& header);
void say_progress(std::uint32_t number, std::uint32_t count, std::string_view name);
void say_all_done();

// Prints the failure's error text and tells the status the run ends with.
[[nodiscard]] exit_status say_failure(const failure& failed);

// Text from the archive as it may be shown: control bytes become '?', so an archive
// cannot drive the terminal.
[[nodiscard]] std::string shown_on_console(std::string_view text);
