// Times the settings store on a large user hive: the first read of a value (the whole file is
// read and parsed) and the write of one value (read afresh under the lock, rewritten, flushed
// and renamed). Prints a "## Settings store" section for docs/benchmarks.md.
// Usage: settings_benchmark [--shape VALUESxKEYS]... [--rounds R] [--folder DIR]
#include "platform/settings/HiveFileRegistry.h"

#include <sys/utsname.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace brantock::platform;

namespace {

using Clock = std::chrono::steady_clock;

std::string keyPath(int key) {
    return "Software\\Halvern\\Brantock\\Sites\\Site" + std::to_string(key);
}

// Text, numbers and byte lists in turn, as the programs store them.
std::string hiveText(int values, int keys) {
    std::string text = "Windows Registry Editor Version 5.00\n\n";
    const int perKey = std::max(1, values / keys);
    for (int k = 0; k < keys; ++k) {
        text += "[HKEY_CURRENT_USER\\" + keyPath(k) + "]\n";
        for (int v = 0; v < perKey; ++v) {
            char line[160];
            switch (v % 3) {
            case 0:
                std::snprintf(line, sizeof line, "\"Tag%d\"=\"Door %d of site %d\"\n", v, v, k);
                break;
            case 1:
                std::snprintf(line, sizeof line, "\"Limit%d\"=dword:%08x\n", v, v * 7 + k);
                break;
            default:
                std::snprintf(line, sizeof line,
                              "\"Raw%d\"=hex:%02x,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f\n",
                              v, v & 0xFF);
            }
            text += line;
        }
        text += "\n";
    }
    return text;
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string firstLineWith(const char* file, const std::string& prefix) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(prefix, 0) == 0)
            return line.substr(prefix.size());
    return "unknown";
}

std::string machine() {
    std::string cpu = firstLineWith("/proc/cpuinfo", "model name\t: ");
    std::ifstream info("/proc/cpuinfo");
    int cpus = 0;
    for (std::string line; std::getline(info, line);)
        if (line.rfind("processor", 0) == 0)
            ++cpus;
    std::string os = firstLineWith("/etc/os-release", "PRETTY_NAME=");
    os.erase(std::remove(os.begin(), os.end(), '"'), os.end());
    utsname u{};
    ::uname(&u);
    std::ostringstream out;
    out << cpu << ", " << cpus << " logical CPUs, " << os << ", " << u.sysname << " " << u.release;
    return out.str();
}

struct Figures {
    double size = 0; // MB
    std::vector<double> reads, writes;
};

Figures measure(const std::string& folder, int values, int keys, int rounds) {
    const HivePaths paths = HivePaths::under(folder);
    std::filesystem::create_directories(std::filesystem::path(paths.user).parent_path());
    const std::string text = hiveText(values, keys);
    std::ofstream(paths.user, std::ios::binary | std::ios::trunc) << text;

    Figures f;
    f.size = double(text.size()) / 1e6;
    const std::string middle = keyPath(keys / 2);
    for (int round = 0; round < rounds; ++round) {
        HiveFileRegistry registry(paths); // a fresh process's store: nothing read yet
        const auto start = Clock::now();
        HKEY key = 0;
        std::uint32_t size = 0;
        if (registry.RegOpenKeyEx(HKEY_CURRENT_USER, middle, KEY_READ, &key) != ERROR_SUCCESS ||
            registry.RegQueryValueEx(key, "Tag0", nullptr, nullptr, &size) != ERROR_SUCCESS)
            std::exit(1);
        f.reads.push_back(seconds(Clock::now() - start));
        registry.RegCloseKey(key);

        if (registry.RegOpenKeyEx(HKEY_CURRENT_USER, middle, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            std::exit(1);
        const std::string value = "written in round " + std::to_string(round);
        const auto before = Clock::now();
        if (registry.RegSetValueEx(key, "Tag0", REG_SZ,
                                   reinterpret_cast<const std::uint8_t*>(value.data()),
                                   std::uint32_t(value.size())) != ERROR_SUCCESS)
            std::exit(1);
        f.writes.push_back(seconds(Clock::now() - before));
        registry.RegCloseKey(key);
    }
    return f;
}

} // namespace

int main(int argc, char** argv) {
    // The asked-for shape first, then all values in one key and one value in each key.
    std::vector<std::pair<int, int>> shapes;
    bool badShape = false;
    int rounds = 5;
    std::string folder;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--shape") {
            const std::string shape = argv[i + 1];
            const std::size_t x = shape.find('x');
            badShape = badShape || x == std::string::npos;
            if (x != std::string::npos)
                shapes.emplace_back(std::atoi(shape.c_str()), std::atoi(shape.c_str() + x + 1));
        } else if (option == "--rounds")
            rounds = std::atoi(argv[i + 1]);
        else if (option == "--folder")
            folder = argv[i + 1];
    }
    if (shapes.empty())
        shapes = {{100000, 1000}, {100000, 1}, {100000, 100000}};
    const bool valid =
        rounds >= 1 && !badShape && std::all_of(shapes.begin(), shapes.end(), [](const auto& s) {
            return s.first >= 1 && s.second >= 1 && s.second <= s.first;
        });
    if (!valid) {
        std::fprintf(stderr, "usage: settings_benchmark [--shape VALUESxKEYS]... [--rounds R] "
                             "[--folder DIR]\n");
        return 2;
    }
    if (folder.empty()) {
        std::string pattern = std::filesystem::temp_directory_path() / "settings-bench-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return 1;
        folder = pattern;
    }

    std::printf("## Settings store\n\n");
    std::printf("Program: `build/benchmarks/settings_benchmark [--shape VALUESxKEYS]... [--rounds "
                "R]` (built with `BRANTOCK_BUILD_BENCHMARKS`; here %d rounds).\n\n",
                rounds);
    std::printf("Method: a user hive in a folder under /tmp, its values text, dword and 16-byte "
                "hex in turn. Read: a new `HiveFileRegistry` opens a key and queries one value, "
                "which reads and parses the whole file. Write: `RegSetValueEx` of one value, "
                "which takes the lock, reads the file afresh, rewrites it, flushes it and renames "
                "it into place. Median and slowest of the rounds.\n\n");
    std::printf("Machine: %s.\n\n", machine().c_str());
    std::printf(
        "| values | keys | file (MB) | read, median (s) | read, slowest (s) | write, median "
        "(s) | write, slowest (s) |\n|---|---|---|---|---|---|---|\n");
    for (const auto& [values, keys] : shapes) {
        const Figures f = measure(folder, values, keys, rounds);
        std::printf("| %d | %d | %.1f | %.3f | %.3f | %.3f | %.3f |\n", values, keys, f.size,
                    median(f.reads), *std::max_element(f.reads.begin(), f.reads.end()),
                    median(f.writes), *std::max_element(f.writes.begin(), f.writes.end()));
        std::fflush(stdout);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
