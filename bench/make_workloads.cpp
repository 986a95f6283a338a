// Writes one benchmark workload twice: as a POD archive and as an uncompressed ustar archive
// holding the same files in the same order. Both are streamed, so a 1.2 GB workload costs a
// few MiB of memory, and the same seed always gives the same bytes.
//
//   make_workloads small|mixed|large OUT_FOLDER   ->   OUT_FOLDER/<name>.pod, OUT_FOLDER/<name>.tar
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pod_writer.h"

namespace {

// splitmix64: tiny, fast, and the same sequence on every compiler and library.
struct random_source {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = state += 0x9e3779b97f4a7c15ull;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
};

struct workload_shape {
    std::string_view name;
    std::size_t file_count;
    std::uint64_t min_size;
    std::uint64_t max_size;
    std::vector<std::size_t> folders_per_level;  // children of each folder, level by level
    std::uint64_t seed;
};

struct planned_file {
    std::string folder;  // '/'-separated, empty at the root
    std::string name;
    std::uint32_t size;
};

constexpr std::array<std::string_view, 6> extensions = {"DAT", "TEX", "WAV", "MAP", "TXT", "PAL"};
constexpr std::array<std::string_view, 12> folder_stems = {
    "ART", "SND", "MAPS", "GFX", "LVL", "FONT", "MUS", "SPR", "SCN", "TXT", "OBJ", "FX"};

// Folder names stay at 5 characters or fewer, so three levels and an 8.3 file name fit 32 bytes.
std::string folder_name(std::size_t level, std::size_t index) {
    return std::string(folder_stems[(index + level * 5) % folder_stems.size()]).substr(0, 3) +
           std::to_string(index % 100);
}

std::vector<std::string> plan_folders(const workload_shape& shape) {
    if (shape.folders_per_level.empty()) return {""};
    std::vector<std::string> all;
    std::vector<std::string> parents = {""};
    for (std::size_t level = 0; level < shape.folders_per_level.size(); ++level) {
        std::vector<std::string> children;
        for (const std::string& parent : parents) {
            for (std::size_t i = 0; i < shape.folders_per_level[level]; ++i) {
                const std::string name = folder_name(level, children.size());
                children.push_back(parent.empty() ? name : parent + "/" + name);
            }
        }
        all.insert(all.end(), children.begin(), children.end());
        parents = children;
    }
    return all;
}

std::uint32_t log_uniform_size(const workload_shape& shape, random_source& random) {
    if (shape.min_size == shape.max_size) return static_cast<std::uint32_t>(shape.min_size);
    const double low = std::log(static_cast<double>(shape.min_size));
    const double high = std::log(static_cast<double>(shape.max_size));
    const auto size = static_cast<std::uint64_t>(std::exp(low + random.unit() * (high - low)));
    return static_cast<std::uint32_t>(std::clamp(size, shape.min_size, shape.max_size));
}

// Files are grouped by folder, as game archives are laid out.
std::vector<planned_file> plan_files(const workload_shape& shape) {
    random_source random{shape.seed};
    const std::vector<std::string> folders = plan_folders(shape);
    std::vector<std::vector<planned_file>> by_folder(folders.size());
    for (std::size_t i = 0; i < shape.file_count; ++i) {
        const std::size_t f = random.below(folders.size());
        char name[32];
        std::snprintf(name, sizeof name, "F%07zu.%s", i, extensions[i % extensions.size()].data());
        by_folder[f].push_back({folders[f], name, log_uniform_size(shape, random)});
    }
    std::vector<planned_file> files;
    for (auto& group : by_folder) files.insert(files.end(), group.begin(), group.end());
    return files;
}

std::string joined(const planned_file& file, char separator) {
    std::string path = file.folder;
    for (char& c : path) {
        if (c == '/') c = separator;
    }
    return path.empty() ? file.name : path + separator + file.name;
}

// A block of random bytes; each file reads it from its own starting point, so no two files
// and no two parts of a large file look alike to a compare.
class content_source {
public:
    content_source() : pattern_(pattern_size + chunk_size) {
        random_source random{0x5eed};
        for (auto& byte : pattern_) byte = static_cast<char>(random.next());
    }
    std::string_view chunk(std::size_t file_index, std::uint64_t chunk_index,
                           std::size_t length) const {
        const std::uint64_t start = (file_index * 7919 + chunk_index * 4099) % pattern_size;
        return {pattern_.data() + start, length};
    }
    static constexpr std::size_t chunk_size = 1 << 20;

private:
    static constexpr std::size_t pattern_size = 1 << 20;
    std::vector<char> pattern_;
};

class output_file {
public:
    explicit output_file(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (file_) std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
    }
    ~output_file() {
        if (file_) std::fclose(file_);
    }
    output_file(const output_file&) = delete;
    output_file& operator=(const output_file&) = delete;
    bool is_open() const { return file_ != nullptr; }
    void put(std::string_view bytes) {
        ok_ = ok_ && std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
        length_ += bytes.size();
    }
    std::uint64_t length() const { return length_; }
    bool finish() {
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        return ok_ && closed;
    }

private:
    std::FILE* file_;
    bool ok_ = true;
    std::uint64_t length_ = 0;
};

void put_content(output_file& out, const content_source& content, std::size_t file_index,
                 std::uint64_t size) {
    for (std::uint64_t chunk = 0; size > 0; ++chunk) {
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, content_source::chunk_size));
        out.put(content.chunk(file_index, chunk, length));
        size -= length;
    }
}

bool write_pod(const std::string& path, const std::vector<planned_file>& files,
               const content_source& content) {
    output_file out(path);
    if (!out.is_open()) return false;
    out.put(pod_writer::encode_header(static_cast<std::uint32_t>(files.size()), "benchmark"));
    std::uint64_t offset = pod_writer::first_data_offset(files.size());
    for (const planned_file& file : files) {
        if (offset + file.size > UINT32_MAX) return false;
        out.put(pod_writer::encode_entry(joined(file, '\\'), file.size,
                                         static_cast<std::uint32_t>(offset)));
        offset += file.size;
    }
    for (std::size_t i = 0; i < files.size(); ++i) put_content(out, content, i, files[i].size);
    return out.finish();
}

constexpr std::size_t tar_block = 512;
constexpr std::size_t tar_record = 20 * tar_block;

void put_octal(char* field, std::size_t width, std::uint64_t value) {
    std::snprintf(field, width, "%0*llo", static_cast<int>(width - 1),
                  static_cast<unsigned long long>(value));
}

std::string ustar_header(const std::string& path, std::uint64_t size, bool folder) {
    std::array<char, tar_block> block{};
    std::memcpy(block.data(), path.data(), std::min<std::size_t>(path.size(), 100));
    put_octal(block.data() + 100, 8, folder ? 0755 : 0644);
    put_octal(block.data() + 108, 8, 0);
    put_octal(block.data() + 116, 8, 0);
    put_octal(block.data() + 124, 12, size);
    put_octal(block.data() + 136, 12, 1700000000);
    block[156] = folder ? '5' : '0';
    std::memcpy(block.data() + 257,
                "ustar\0"
                "00",
                8);
    std::memset(block.data() + 148, ' ', 8);
    unsigned sum = 0;
    for (char c : block) sum += static_cast<unsigned char>(c);
    std::snprintf(block.data() + 148, 8, "%06o", sum);
    return {block.data(), block.size()};
}

// Each folder gets its own entry before its first file, as an archiver walking the tree writes.
void put_tar_folders(output_file& out, const std::string& folder, std::vector<std::string>& made) {
    for (std::size_t cut = 0; cut != std::string::npos && !folder.empty();) {
        cut = folder.find('/', cut + 1);
        const std::string prefix = folder.substr(0, cut);
        if (std::find(made.begin(), made.end(), prefix) != made.end()) continue;
        made.push_back(prefix);
        out.put(ustar_header(prefix + "/", 0, true));
    }
}

bool write_tar(const std::string& path, const std::vector<planned_file>& files,
               const content_source& content) {
    output_file out(path);
    if (!out.is_open()) return false;
    std::vector<std::string> made;
    const std::string zeros(tar_record, '\0');
    for (std::size_t i = 0; i < files.size(); ++i) {
        put_tar_folders(out, files[i].folder, made);
        out.put(ustar_header(joined(files[i], '/'), files[i].size, false));
        put_content(out, content, i, files[i].size);
        out.put(
            std::string_view(zeros).substr(0, (tar_block - files[i].size % tar_block) % tar_block));
    }
    out.put(std::string_view(zeros).substr(0, 2 * tar_block));
    out.put(
        std::string_view(zeros).substr(0, (tar_record - out.length() % tar_record) % tar_record));
    return out.finish();
}

std::optional<workload_shape> shape_named(std::string_view name) {
    constexpr std::uint64_t kib = 1024;
    constexpr std::uint64_t mib = 1024 * kib;
    if (name == "small") return workload_shape{"small", 20000, 200, 64 * kib, {6, 5, 4}, 1};
    if (name == "mixed") return workload_shape{"mixed", 2000, kib, 4 * mib, {5, 7}, 2};
    if (name == "large") return workload_shape{"large", 3, 400 * mib, 400 * mib, {}, 3};
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<workload_shape> shape = argc == 3 ? shape_named(argv[1]) : std::nullopt;
    if (!shape) {
        std::fprintf(stderr, "usage: make_workloads small|mixed|large OUT_FOLDER\n");
        return 2;
    }
    const std::vector<planned_file> files = plan_files(*shape);
    const content_source content;
    const std::string base = std::string(argv[2]) + "/" + std::string(shape->name);
    if (!write_pod(base + ".pod", files, content) || !write_tar(base + ".tar", files, content)) {
        std::fprintf(stderr, "make_workloads: cannot write %s.pod/.tar\n", base.c_str());
        return 1;
    }
    std::printf("%zu\n", files.size());
    return 0;
}
