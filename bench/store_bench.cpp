// Times the portable key store against stores of growing size:
//   bench_store [ROUNDS]          ten writes at 5,000, 10,000 and 20,000 root keys,
//                                 a whole apply at 20,000, and opening keys of many values
//   bench_store values [ROUNDS]   only the last part
// Every store is generated in a scratch folder under /tmp (CORVANT_BENCH_DIR
// to move it) before any timing, and each timed run starts from a fresh copy
// that this process has not read yet. Sizes are timed interleaved, round by
// round, so that a busy machine slows all of them alike; the figures are
// medians, and the ratios compare sizes measured in the same run.
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assoc/apply.h"
#include "assoc/browser_settings.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

double now() {
    timespec time;
    clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

double cpuNow() {
    timespec time;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// Root keys shaped like a real HKEY_CLASSES_ROOT: extensions pointing at
// classes, classes with a description, an icon and an open command.
std::string rootKeysStore(int count) {
    std::string text = "REGEDIT4\r\n";
    char line[256];
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0) {
            std::snprintf(line, sizeof line, "\r\n[HKEY_CLASSES_ROOT\\.ext%05d]\r\n@=\"Bench.Class%05d\"\r\n", i,
                          i + 1);
            text += line;
            continue;
        }
        std::snprintf(line, sizeof line,
                      "\r\n[HKEY_CLASSES_ROOT\\Bench.Class%05d]\r\n@=\"Bench document %d\"\r\n"
                      "\r\n[HKEY_CLASSES_ROOT\\Bench.Class%05d\\DefaultIcon]\r\n@=\"C:\\\\Bench\\\\app%d.exe,1\"\r\n",
                      i, i, i, i);
        text += line;
    }
    return text + "\r\n";
}

std::string manyValuesStore(int count) {
    std::string text = "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\Bench.Values]\r\n";
    char line[64];
    // Not in name order, as values created over time are not.
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "\"value%05d\"=\"%d\"\r\n", (i * 7919) % count, i);
        text += line;
    }
    return text + "\r\n";
}

class Scratch {
public:
    Scratch() {
        const char *base = std::getenv("CORVANT_BENCH_DIR");
        std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/corvant-store-bench.XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        folder_ = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;

    // Puts text where the store of a fresh data folder is, and makes the
    // registry use it: a folder the process has not used before, so the
    // first call reads the store.
    void freshStore(const std::string &text) {
        const std::string dataHome = folder_ + "/run" + std::to_string(++runs_);
        fs::create_directories(dataHome + "/corvant");
        std::ofstream(dataHome + "/corvant/registry.reg", std::ios::binary) << text;
        setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        if (runs_ > 1) fs::remove_all(folder_ + "/run" + std::to_string(runs_ - 1));
    }

private:
    std::string folder_;
    int runs_ = 0;
};

bool tenWrites() {
    for (int i = 0; i < 10; ++i) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, "Bench.Written", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        const std::string name = "v" + std::to_string(i);
        bool good =
            RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>("x"), 2) == ERROR_SUCCESS &&
            RegFlushKey(key) == ERROR_SUCCESS;
        RegCloseKey(key);
        if (!good) return false;
    }
    return true;
}

bool wholeApply() {
    browserSettings.browserIsNetscape = false;
    browserSettings.registerHtmlFile = browserSettings.registerHttp = browserSettings.registerHttps =
        browserSettings.registerFtp = browserSettings.registerGopher = true;
    std::strcpy(browserSettings.browserPath, "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE");
    return applyAssociations();
}

bool openManyValues(int count) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "Bench.Values", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    const std::string last = "value" + std::to_string(count - 1);
    bool good = RegQueryValueExA(key, last.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return good;
}

struct Timing {
    std::vector<double> wall, cpu;  // seconds, one per run
    double wallMs() const { return median(wall) * 1e3; }
    double cpuMs() const { return median(cpu) * 1e3; }
};

template <typename Work>
void timed(Scratch &scratch, const std::string &store, Work work, Timing &timing) {
    scratch.freshStore(store);
    const double wallStart = now(), cpuStart = cpuNow();
    if (!work()) {
        std::fprintf(stderr, "bench_store: a registry call failed\n");
        std::exit(1);
    }
    timing.cpu.push_back(cpuNow() - cpuStart);
    timing.wall.push_back(now() - wallStart);
}

void benchWrites(Scratch &scratch, int rounds) {
    const std::vector<int> sizes = {5000, 10000, 20000};
    std::vector<std::string> stores;
    for (int size : sizes) stores.push_back(rootKeysStore(size));
    std::vector<Timing> writes(sizes.size());
    Timing warmUp, apply;
    timed(scratch, stores[0], tenWrites, warmUp);
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < sizes.size(); ++i) {
            size_t which = round % 2 ? sizes.size() - 1 - i : i;
            timed(scratch, stores[which], tenWrites, writes[which]);
        }
        timed(scratch, stores.back(), wholeApply, apply);
    }
    std::printf(
        "ten writes (create, set, flush, close) including the first read of the store,\n"
        "elapsed and processor time, and each as a multiple of the smallest store's:\n");
    for (size_t i = 0; i < sizes.size(); ++i)
        std::printf("  %6d root keys (%4zu KiB): %7.1f ms (x%.2f), processor %7.1f ms (x%.2f)\n", sizes[i],
                    stores[i].size() / 1024, writes[i].wallMs(), writes[i].wallMs() / writes[0].wallMs(),
                    writes[i].cpuMs(), writes[i].cpuMs() / writes[0].cpuMs());
    std::printf(
        "whole apply (.html, .htm and the five classes) against %d root keys:\n"
        "  %.1f ms, processor %.1f ms\n",
        sizes.back(), apply.wallMs(), apply.cpuMs());
}

void benchValues(Scratch &scratch, int rounds) {
    const std::vector<int> counts = {20000, 80000};
    std::vector<std::string> stores;
    for (int count : counts) stores.push_back(manyValuesStore(count));
    std::vector<Timing> opens(counts.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < counts.size(); ++i)
            timed(
                scratch, stores[i], [&] { return openManyValues(counts[i]); }, opens[i]);
    std::printf("opening a key of many values (reading the store, then one value):\n");
    for (size_t i = 0; i < counts.size(); ++i)
        std::printf("  %6d values (%4zu KiB): %7.1f ms, processor %7.1f ms\n", counts[i], stores[i].size() / 1024,
                    opens[i].wallMs(), opens[i].cpuMs());
}

}  // namespace

int main(int argc, char **argv) {
    bool valuesOnly = argc > 1 && std::strcmp(argv[1], "values") == 0;
    int rounds = argc > 1 + valuesOnly ? std::atoi(argv[1 + valuesOnly]) : 7;
    if (rounds < 1) {
        std::fprintf(stderr, "usage: bench_store [values] [ROUNDS]\n");
        return 2;
    }
    Scratch scratch;
    if (!valuesOnly) benchWrites(scratch, rounds);
    benchValues(scratch, rounds);
    return 0;
}
