#include "dialogue.h"

#include <cstdarg>
#include <cstdio>

#include "version.h"

namespace {

// Every text the tool prints, in the order a run meets them.
constexpr std::string_view banner_rule =
    "+-----------------------------------------------------------------+\n";
constexpr std::string_view banner_title =
    "| Zelmar game data decruncher, by the Zelmar_decruncher authors";
constexpr std::string_view banner_version =
    "| MIT license - version " ZELMAR_VERSION " - released " ZELMAR_RELEASE_DATE;
constexpr const char* usage_text = "usage: Zelmar_decruncher.exe pod_file_path\n\n";
constexpr const char* blank_line_text = "\n";
constexpr const char* comments_text = "Comments: %s\n";
constexpr const char* files_text = "Files: %u\n\n";
constexpr const char* progress_text = "\rDecrunching file: %4u/%4u - %-40s";
constexpr const char* all_done_text = "\n\nAll done.\n\n";

struct failure_row {
    failure_text text;
    const char* format;
    exit_status status;
};

constexpr failure_row failure_rows[] = {
    {failure_text::invalid_parameters, "Error - invalid or missing parameters!\n\n",
     exit_status::invalid_parameters},
    {failure_text::invalid_path, "Error - invalid input path, only *.POD files supported!\n\n",
     exit_status::invalid_path},
    {failure_text::cannot_open_input, "Error - can't open input file!\n\n",
     exit_status::cannot_open_input},
    {failure_text::damaged_input, "Error - input file is truncated or damaged!\n\n",
     exit_status::damaged_input},
    {failure_text::cannot_create_folder, "Error - can't create output folder \"%s\"!\n\n",
     exit_status::cannot_write_output},
    {failure_text::cannot_write_output, "Error - can't write output file \"%s\"!\n\n",
     exit_status::cannot_write_output},
    {failure_text::unsafe_path, "Error - unsafe path in archive \"%s\"!\n\n",
     exit_status::unsafe_path},
};

constexpr std::size_t banner_width = 67;
static_assert(banner_rule.size() == banner_width + 1);
static_assert(banner_title.size() < banner_width - 1);
static_assert(banner_version.size() < banner_width - 1);

// Formats into memory first, so each text reaches the stream in one write.
[[gnu::format(printf, 1, 2)]] void say(const char* format, ...) {
    char small[256];
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(small, sizeof small, format, arguments);
    va_end(arguments);
    if (length < 0) {
        va_end(again);
        return;
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        std::fwrite(small, 1, static_cast<std::size_t>(length), stdout);
    } else {
        std::string large(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(large.data(), large.size(), format, again);
        std::fwrite(large.data(), 1, static_cast<std::size_t>(length), stdout);
    }
    va_end(again);
}

void say_boxed(std::string_view text) {
    std::string line(text);
    line.resize(banner_width - 1, ' ');
    line += "|\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

const failure_row& row_of(failure_text text) {
    for (const failure_row& row : failure_rows) {
        if (row.text == text) return row;
    }
    return failure_rows[0];
}

}  // namespace

std::string shown_on_console(std::string_view text) {
    std::string shown(text);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) c = '?';
    }
    return shown;
}

void say_banner() {
    std::fwrite(banner_rule.data(), 1, banner_rule.size(), stdout);
    say_boxed(banner_title);
    say_boxed(banner_version);
    std::fwrite(banner_rule.data(), 1, banner_rule.size(), stdout);
}

void say_usage() { say("%s", usage_text); }

void say_blank_line() { say("%s", blank_line_text); }

void say_summary(const pod::pod_header& header) {
    say(comments_text, shown_on_console(pod::comment_of(header)).c_str());
    say(files_text, header.file_count);
}

void say_progress(std::uint32_t number, std::uint32_t count, std::string_view name) {
    say(progress_text, number, count, shown_on_console(name).c_str());
}

void say_all_done() { say("%s", all_done_text); }

exit_status say_failure(const failure& failed) {
    const failure_row& row = row_of(failed.text);
    say(row.format, shown_on_console(failed.subject).c_str());
    return row.status;
}
