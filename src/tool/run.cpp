#include "run.h"

#include <string>

#include "archive_path.h"
#include "dialogue.h"
#include "extract.h"
#include "platform/platform.h"
#include "pod/pod_reader.h"

namespace {

// Closes the archive however the run ends.
struct archive_file {
    platform::handle handle;
    ~archive_file() { platform::close_handle(handle); }
};

exit_status extract_opened_archive(platform::handle file, std::uint64_t length,
                                   const std::string& path) {
    pod::pod_archive archive = pod::attach_archive(file, length);
    pod::pod_header header;
    if (pod::read_header(archive, header) != pod::read_status::ok) {
        return say_failure({failure_text::damaged_input, {}});
    }
    say_summary(header);
    if (!pod::directory_fits(archive, header)) {
        return say_failure({failure_text::damaged_input, {}});
    }
    if (const auto failed = extract_archive(archive, header, path)) return say_failure(*failed);
    say_all_done();
    return exit_status::success;
}

}  // namespace

exit_status run_tool(std::span<const char* const> arguments) {
    say_banner();
    if (arguments.size() != 1) {
        say_usage();
        return say_failure({failure_text::invalid_parameters, {}});
    }
    say_blank_line();
    const std::string path = arguments[0];
    if (!has_pod_extension(path)) return say_failure({failure_text::invalid_path, {}});
    archive_file archive;
    std::uint64_t length = 0;
    if (!platform::open_archive(path, archive.handle, length)) {
        return say_failure({failure_text::cannot_open_input, {}});
    }
    return extract_opened_archive(archive.handle, length, path);
}
