// Writes the seed corpus: sound archives and one of each damaged shape, made with the project's
// own archive writer. The output depends on nothing but this file, so a rerun gives the same
// bytes and the committed corpus can be checked against it.
//   make_corpus FOLDER   writes FOLDER/shared/*.pod, seeds for both harnesses, and
//                        FOLDER/large/*.pod, longer than fuzzing inputs may grow, replayed whole
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pod_writer.h"

namespace {

using pod_writer::archive;
using pod_writer::entry;

struct seed {
    const char* folder;
    const char* name;
    archive contents;
};

std::string numbered(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "f%04d", number);
    return name;
}

// More entries than the reader fetches per directory read, so the read-ahead is refilled.
archive long_directory() {
    archive made{.comment = "a directory longer than one read-ahead"};
    for (int i = 0; i < 1100; ++i) made.entries.push_back({.name = numbered(i)});
    made.entries.back().data = "last";
    return made;
}

const archive flat = {
    .comment = "three plain files",
    .entries = {{"a.txt", "alpha\n"}, {"b.bin", std::string("\0\1\2\xff", 4)}, {"c", "gamma"}},
};

const std::uint32_t overlap_at = pod_writer::first_data_offset(3);

std::vector<seed> seeds() {
    return {
        {"shared", "flat", flat},
        {"shared",
         "nested",
         {.comment = "folders inside folders",
          .entries = {{"maps\\level1\\floor.dat", "floor"},
                      {"maps\\level1\\walls.dat", "walls"},
                      {"maps\\sky.dat", "sky"},
                      {"sound\\fx\\boom.wav", "boom"},
                      {"readme.txt", "read me"}}}},
        {"shared",
         "reverse_order",
         {.comment = "data stored last entry first",
          .entries = {{"one\\1.txt", "first"}, {"two\\2.txt", "second"}, {"3.txt", "third"}},
          .data_in_reverse_order = true}},
        {"shared", "no_entries", {.comment = "nothing inside"}},
        {"shared",
         "full_width",
         {.comment = std::string(80, 'C'),
          .entries = {{"abcdefghijklmnopqrstuvwxyz012345", "32-byte name"},
                      {"folder_name_fills\\the_whole_32b", "also full"}}}},
        {"shared", "zero_size", {.entries = {{"empty.txt", ""}, {"dir\\empty", ""}, {"x", "x"}}}},
        {"shared",
         "overlapping",
         {.entries = {{"whole", "0123456789"},
                      {"front", "", overlap_at, 5},
                      {"middle", "", overlap_at + 3, 7}}}},
        {"shared",
         "same_path_twice",
         {.entries = {{"dup.txt", "first"},
                      {"a/dup.txt", "slash"},
                      {"dup.txt", "second wins"},
                      {"a\\dup.txt", "backslash wins"}}}},
        {"shared",
         "slashes",
         {.entries = {{"a/b/c.txt", "c"},
                      {"a\\b/d.txt", "d"},
                      {"/rooted.txt", "r"},
                      {"a//b\\\\e.txt", "e"}}}},
        {"shared",
         "dot_components",
         {.entries = {{".\\a.txt", "a"}, {"a\\.\\b.txt", "b"}, {"./c.txt", "c"}, {"...", "dots"}}}},
        {"shared",
         "odd_bytes",
         {.comment = "\x1b[2J\x07 bell and clear",
          .entries = {{"\x01\x7f\xe9.txt", "odd"}, {"tab\there", "tab"}}}},
        {"shared", "empty_name", {.entries = {{"ok.txt", "ok"}, {"", "no name"}}}},
        {"shared", "empty_file_name", {.entries = {{"dir\\", "no file name"}}}},
        {"shared", "dot_file_name", {.entries = {{"a\\.", "dot"}}}},
        {"shared", "dotdot", {.entries = {{"..\\evil.txt", "evil"}}}},
        {"shared",
         "dotdot_later",
         {.entries = {{"ok.txt", "ok"}, {"a\\..\\b.txt", "b"}, {"after.txt", "never"}}}},
        {"shared", "dotdot_slash", {.entries = {{"a/../../x", "x"}}}},
        {"shared", "file_then_folder", {.entries = {{"x", "file"}, {"x\\y", "below a file"}}}},
        {"shared", "folder_then_file", {.entries = {{"x\\y", "in x"}, {"x", "over a folder"}}}},
        // fuzz_extract plants the links link_dir and link_file in the extraction folder.
        {"shared",
         "through_link_dir",
         {.entries = {{"ok.txt", "ok"}, {"link_dir\\sentinel", "through a link"}}}},
        {"shared", "through_link_file", {.entries = {{"link_file\\x", "below a link"}}}},
        {"shared", "onto_link_file", {.entries = {{"link_file", "onto a link"}}}},
        {"shared", "onto_link_dir", {.entries = {{"link_dir", "onto a link"}}}},
        {"shared", "empty_input", {.truncate_to = 0}},
        {"shared", "short_header", {.comment = "cut", .truncate_to = 50}},
        {"shared",
         "header_only",
         {.comment = "cut after header", .entries = flat.entries, .truncate_to = 84}},
        {"shared",
         "short_directory",
         {.entries = flat.entries, .truncate_to = pod_writer::first_data_offset(1) + 20}},
        {"shared", "count_too_big", {.entries = {{"a", "a"}}, .file_count = 0xffffffff}},
        {"shared",
         "count_reads_data",
         {.entries = {{"a", std::string(200, 'a')}}, .file_count = 3}},
        {"shared", "data_past_end", {.entries = {{"a", "abc", std::nullopt, 1000}}}},
        {"shared", "offset_past_end", {.entries = {{"a", "", 0xfffffff0, 16}}}},
        {"shared", "run_wraps", {.entries = {{"a", "", 0xffffffff, 2}}}},
        {"shared", "truncated_data", {.entries = flat.entries, .truncate_to = 84 + 3 * 40 + 10}},
        {"large", "long_directory", long_directory()},
    };
}

bool write_seed(const std::filesystem::path& root, const seed& s) {
    std::error_code error;
    std::filesystem::create_directories(root / s.folder, error);
    const std::string path = (root / s.folder / (std::string(s.name) + ".pod")).string();
    return !error && pod_writer::write_file(path, pod_writer::build(s.contents));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_corpus FOLDER\n");
        return 1;
    }
    for (const seed& s : seeds()) {
        if (!write_seed(argv[1], s)) {
            std::fprintf(stderr, "make_corpus: cannot write %s/%s\n", s.folder, s.name);
            return 1;
        }
    }
    return 0;
}
