// Writes the small demo archive: a few entries in nested folders.
#include <cstdio>

#include "pod_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_demo_archive OUTPUT.pod\n", stderr);
        return 1;
    }
    const pod_writer::archive demo = {
        .comment = "Demo archive of the decruncher",
        .entries =
            {
                {"README.TXT", "This archive was written by the decruncher's own test writer.\n"},
                {"ART\\SHIP.RAW", std::string("\x00\x01\x02\x03\xfe\xff", 6)},
                {"ART\\ICONS\\LOGO.RAW", std::string(300, '\x7f')},
                {"SOUND\\MUSIC\\THEME.MID", "MThd"},
                {"LEVELS\\LEVEL1.DAT", "level one\n"},
            },
    };
    return pod_writer::write_file(argv[1], pod_writer::build(demo)) ? 0 : 1;
}
