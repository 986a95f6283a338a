// The process exit statuses: each kind of failure the tool detects has its own.
#pragma once

enum class exit_status : int {
    success = 0,
    invalid_parameters = 1,   // not exactly one argument
    invalid_path = 2,         // the path does not end in ".pod"
    cannot_open_input = 3,    // the archive cannot be opened as a regular file
    cannot_write_output = 4,  // an output file or folder cannot be created or written
    damaged_input = 5,        // the archive is shorter than its header, directory or data say
    unsafe_path = 6,          // a stored name would lead out of the extraction folder
};
