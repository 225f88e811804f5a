// Times the settings store on a large user hive: the first read of a value (the whole file is
// read and parsed) and the write of one value (checked under the lock, rewritten, flushed and
// renamed), each beside the bare reading and writing of the same bytes. Prints a "## Settings
// store" section for docs/benchmarks.md; with --write FILE it also puts it into FILE.
// Usage: settings_benchmark [--shape VALUESxKEYS]... [--rounds R] [--folder DIR] [--write FILE]
#include "benchmarks/support/BenchmarkPage.h"
#include "platform/os/AtomicFile.h"
#include "platform/settings/HiveFileRegistry.h"

#include <QString>

#include <sys/utsname.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace brantock::platform;
using brantock::benchmarks::BenchmarkPage;

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

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
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
    // The store's: the first read of a process, a write after that read, a write of a
    // process that has not read the hive; the floors: the file's bytes read, written.
    std::vector<double> reads, writes, unreadWrites, rawReads, rawWrites;
};

double timed(const std::function<bool()>& work) {
    const auto start = Clock::now();
    if (!work())
        std::exit(1);
    return milliseconds(Clock::now() - start);
}

bool setTag(HiveFileRegistry& registry, const std::string& path, const std::string& value) {
    HKEY key = 0;
    if (registry.RegOpenKeyEx(HKEY_CURRENT_USER, path, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const bool done = registry.RegSetValueEx(key, "Tag0", REG_SZ,
                                             reinterpret_cast<const std::uint8_t*>(value.data()),
                                             std::uint32_t(value.size())) == ERROR_SUCCESS;
    registry.RegCloseKey(key);
    return done;
}

Figures measure(const std::string& folder, int values, int keys, int rounds) {
    const HivePaths paths = HivePaths::under(folder);
    std::filesystem::create_directories(std::filesystem::path(paths.user).parent_path());
    const std::string text = hiveText(values, keys);
    std::ofstream(paths.user, std::ios::binary | std::ios::trunc) << text;
    const std::string floorFile = paths.user + ".floor";

    Figures f;
    f.size = double(text.size()) / 1e6;
    const std::string middle = keyPath(keys / 2);
    for (int round = 0; round < rounds; ++round) {
        HiveFileRegistry registry(paths); // a fresh process's store: nothing read yet
        f.reads.push_back(timed([&] {
            HKEY key = 0;
            std::uint32_t size = 0;
            const bool found =
                registry.RegOpenKeyEx(HKEY_CURRENT_USER, middle, KEY_READ, &key) == ERROR_SUCCESS &&
                registry.RegQueryValueEx(key, "Tag0", nullptr, nullptr, &size) == ERROR_SUCCESS;
            registry.RegCloseKey(key);
            return found;
        }));
        std::string bytes;
        f.rawReads.push_back(timed([&] {
            int error = 0;
            bytes = AtomicFile::read(paths.user, error);
            return error == 0;
        }));
        f.writes.push_back(timed(
            [&] { return setTag(registry, middle, "written in round " + std::to_string(round)); }));
        f.rawWrites.push_back(
            timed([&] { return AtomicFile::write(floorFile, bytes, 0666) == 0; }));
        HiveFileRegistry other(paths); // another process's, which has not read the hive
        f.unreadWrites.push_back(timed(
            [&] { return setTag(other, middle, "rewritten in round " + std::to_string(round)); }));
    }
    std::filesystem::remove(floorFile);
    return f;
}

double slowest(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

// Adds the figures of both lists, round by round.
std::vector<double> sum(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        out[i] = a[i] + b[i];
    return out;
}

} // namespace

int main(int argc, char** argv) {
    // The asked-for shape first, then all values in one key and one value in each key.
    std::vector<std::pair<int, int>> shapes;
    bool badShape = false;
    int rounds = 5;
    std::string folder;
    const QString writeTo = BenchmarkPage::option(argc, argv, "--write");
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
    const bool askedShapes = !shapes.empty();
    if (!askedShapes)
        shapes = {{100000, 1000}, {100000, 1}, {100000, 100000}};
    const bool valid =
        rounds >= 1 && !badShape && std::all_of(shapes.begin(), shapes.end(), [](const auto& s) {
            return s.first >= 1 && s.second >= 1 && s.second <= s.first;
        });
    if (!valid) {
        std::fprintf(stderr, "usage: settings_benchmark [--shape VALUESxKEYS]... [--rounds R] "
                             "[--folder DIR] [--write docs/benchmarks.md]\n");
        return 2;
    }
    if (folder.empty()) {
        std::string pattern = std::filesystem::temp_directory_path() / "settings-bench-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return 1;
        folder = pattern;
    }

    std::string section;
    auto print = [&section](const char* format, auto... args) {
        char line[2048];
        std::snprintf(line, sizeof line, format, args...);
        section += line;
    };
    print("## Settings store\n\n");
    print("Program: `build/benchmarks/settings_benchmark [--shape VALUESxKEYS]... [--rounds R] "
          "[--write docs/benchmarks.md]` (built with `BRANTOCK_BUILD_BENCHMARKS`, %s; here %s and "
          "%d rounds).\n\n",
          BenchmarkPage::buildType().toUtf8().constData(),
          askedShapes ? "the shapes asked for" : "the default shapes", rounds);
    print("Method: a user hive in a folder under /tmp, its values text, dword and 16-byte hex in "
          "turn. Each round: a new `HiveFileRegistry` (a process that has not read the hive yet) "
          "opens a key and queries one value, which reads and parses the whole file (\"first "
          "read\"); the same registry then sets one value with `RegSetValueEx`, which takes the "
          "lock, reads the file's bytes, finds them unchanged since its read, changes the value, "
          "rewrites the file, flushes it and renames it into place (\"write after a read\"); "
          "then a second new registry sets the value without having read the hive, so it parses "
          "it first (\"write, hive not read\", as after another process changed it). Floors, in "
          "the same round: the hive's bytes read whole (`AtomicFile::read`), and the same bytes "
          "written the way the store must, to a file beside it (`AtomicFile::write`: a "
          "temporary file, flushed, renamed, the folder flushed). Median and slowest of the "
          "rounds, in milliseconds.\n\n");
    print("Machine: %s.\n\n", machine().c_str());
    print("| values | keys | file (MB) | figure | median | slowest | floor | floor, median | "
          "floor, slowest |\n|---|---|---|---|---|---|---|---|---|\n");
    double slowestWrite = 0;
    for (const auto& [values, keys] : shapes) {
        const Figures f = measure(folder, values, keys, rounds);
        const std::vector<double> readAndWrite = sum(f.rawReads, f.rawWrites);
        const struct {
            const char* figure;
            const std::vector<double>& store;
            const char* floor;
            const std::vector<double>& bytes;
        } rows[] = {
            {"first read", f.reads, "bytes read", f.rawReads},
            {"write after a read", f.writes, "bytes written", f.rawWrites},
            {"write, hive not read", f.unreadWrites, "bytes read and written", readAndWrite},
        };
        for (const auto& row : rows)
            print("| %d | %d | %.1f | %s | %.1f | %.1f | %s | %.1f | %.1f |\n", values, keys,
                  f.size, row.figure, median(row.store), slowest(row.store), row.floor,
                  median(row.bytes), slowest(row.bytes));
        slowestWrite = std::max({slowestWrite, slowest(f.writes), slowest(f.unreadWrites)});
        std::fprintf(stderr, "%d x %d done\n", values, keys);
    }
    print("\nWhat the figures are: the time the window thread waits for one call of the store "
          "on a hive of that size, the file in the page cache. What they are not: a cold disk, "
          "a hive on a network folder, or a writer waiting for another's lock (a write then "
          "waits for the other write first). The floor is what the same bytes cost with no "
          "parsing or rewriting; the figure less its floor is the store's own work.\n\n");
    print("The aim is under 0.3 s for each, since both run on the window thread and the write "
          "holds the hive's lock: the slowest write here took %.0f ms, so it is %s. A write "
          "parses the hive only when the file's bytes differ from those the process last read "
          "or wrote (docs/platform.md, \"Several processes at once\"), so only the write of a "
          "process that has not read the hive, or after another process changed it, parses "
          "it.\n",
          slowestWrite, slowestWrite < 300 ? "met" : "NOT met");
    std::filesystem::remove_all(folder);
    std::fputs(section.c_str(), stdout);
    if (!writeTo.isEmpty() &&
        !BenchmarkPage::replaceSection(writeTo, QString::fromStdString(section))) {
        std::fprintf(stderr, "cannot write %s\n", writeTo.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
