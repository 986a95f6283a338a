// One run of the tool, from the banner to the exit status.
#pragma once

#include <span>

#include "exit_status.h"

// arguments are the command line without the program's own name.
[[nodiscard]] exit_status run_tool(std::span<const char* const> arguments);
