// Times the search against find(1) on each of several trees, interleaved:
//   bench_runner SEARCH_BINARY ROUNDS NAME=TREE...
// For each tree, each round runs both once, in alternating order, after a
// few warm-up rounds; both must find exactly the copies listed in
// TREE.targets (none when there is no such file). Prints, per tree, the
// median times, the median per-round ratio (search / find) with its spread,
// and the peak memory of each; and, for trees named chainN, how the time
// grows with N.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

extern char **environ;

namespace {

struct Run {
    bool succeeded = false;
    double seconds = 0;
    long peakKiB = 0;
    std::set<std::string> lines;
};

double now() {
    timespec time;
    clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

Run runProgram(const std::vector<std::string> &arguments) {
    Run run;
    int channel[2];
    if (pipe(channel) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], 1);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    posix_spawn_file_actions_addclose(&actions, channel[1]);
    std::vector<char *> argv;
    for (const std::string &argument : arguments) argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    const double start = now();
    pid_t child;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(channel[1]);
    if (spawned != 0) {
        close(channel[0]);
        return run;
    }
    std::string output;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        output.append(buffer, static_cast<size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {}
    run.seconds = now() - start;
    run.peakKiB = usage.ru_maxrss;
    run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    size_t lineStart = 0;
    while (lineStart < output.size()) {
        size_t end = output.find('\n', lineStart);
        if (end == std::string::npos) end = output.size();
        run.lines.insert(output.substr(lineStart, end - lineStart));
        lineStart = end + 1;
    }
    return run;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const double position = fraction * static_cast<double>(values.size() - 1);
    const size_t below = static_cast<size_t>(position);
    const size_t above = std::min(below + 1, values.size() - 1);
    const double weight = position - static_cast<double>(below);
    return values[below] * (1 - weight) + values[above] * weight;
}

std::string upperCased(std::string name) {
    for (char &c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}

struct Shape {
    std::string name;
    std::string tree;
    std::set<std::string> expectedByFind;
    std::set<std::string> expectedBySearch;
};

struct Result {
    std::vector<double> ratios, searchTimes, findTimes;
    long searchPeak = 0, findPeak = 0, idlePeak = 0;
};

bool readShape(const std::string &argument, Shape &shape) {
    const size_t equals = argument.find('=');
    if (equals == std::string::npos) return false;
    shape.name = argument.substr(0, equals);
    shape.tree = argument.substr(equals + 1);
    // What each tool must report: find the names as they are, the search
    // the folder as it is and the file name upper-cased.
    std::ifstream targets(shape.tree + ".targets");
    for (std::string target; std::getline(targets, target);) {
        shape.expectedByFind.insert(shape.tree + "/" + target);
        const size_t slash = target.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
        shape.expectedBySearch.insert(shape.tree + "/" + folder + upperCased(name));
    }
    return true;
}

bool measure(const std::string &searchBinary, const Shape &shape, int rounds, Result &result) {
    constexpr int warmUps = 2;
    const std::vector<std::string> search{searchBinary, shape.tree};
    const std::vector<std::string> find{"find", shape.tree, "-iname", "netscape.exe"};
    for (int round = -warmUps; round < rounds; ++round) {
        Run searchRun, findRun;
        if (round % 2 == 0) {
            searchRun = runProgram(search);
            findRun = runProgram(find);
        } else {
            findRun = runProgram(find);
            searchRun = runProgram(search);
        }
        if (!searchRun.succeeded || searchRun.lines != shape.expectedBySearch) {
            std::cerr << shape.name << ": the search did not find exactly the copies (" << searchRun.lines.size()
                      << " found)\n";
            return false;
        }
        if (findRun.lines != shape.expectedByFind) {
            std::cerr << shape.name << ": find did not find exactly the copies\n";
            return false;
        }
        if (round < 0) continue;
        result.ratios.push_back(searchRun.seconds / findRun.seconds);
        result.searchTimes.push_back(searchRun.seconds);
        result.findTimes.push_back(findRun.seconds);
        result.searchPeak = std::max(result.searchPeak, searchRun.peakKiB);
        result.findPeak = std::max(result.findPeak, findRun.peakKiB);
    }
    result.idlePeak = runProgram({searchBinary, shape.tree, "--idle"}).peakKiB;
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::cerr << "usage: bench_runner SEARCH_BINARY ROUNDS NAME=TREE...\n";
        return 2;
    }
    const std::string searchBinary = argv[1];
    const int rounds = std::max(1, std::stoi(argv[2]));
    std::vector<Shape> shapes;
    for (int i = 3; i < argc; ++i) {
        Shape shape;
        if (!readShape(argv[i], shape)) {
            std::cerr << "not NAME=TREE: " << argv[i] << "\n";
            return 2;
        }
        shapes.push_back(shape);
    }

    std::printf(
        "%d rounds per tree after 2 warm-ups; search and find found exactly the listed copies "
        "every round\n\n",
        rounds);
    std::printf(
        "| Tree | Copies | Search (median) | find (median) | Ratio: median (quartiles; range) "
        "| Peak memory: search (above idle) / find |\n");
    std::printf("|---|---|---|---|---|---|\n");
    std::vector<std::pair<int, Result>> chains;
    for (const Shape &shape : shapes) {
        Result result;
        if (!measure(searchBinary, shape, rounds, result)) return 1;
        std::printf("| %s | %zu | %.1f ms | %.1f ms | %.2f (%.2f-%.2f; %.2f-%.2f) | %.2f MiB (%.2f) / %.2f MiB |\n",
                    shape.name.c_str(), shape.expectedByFind.size(), percentile(result.searchTimes, 0.5) * 1e3,
                    percentile(result.findTimes, 0.5) * 1e3, percentile(result.ratios, 0.5),
                    percentile(result.ratios, 0.25), percentile(result.ratios, 0.75), percentile(result.ratios, 0),
                    percentile(result.ratios, 1), result.searchPeak / 1024.0,
                    (result.searchPeak - result.idlePeak) / 1024.0, result.findPeak / 1024.0);
        std::fflush(stdout);
        if (shape.name.compare(0, 5, "chain") == 0) chains.emplace_back(std::atoi(shape.name.c_str() + 5), result);
    }
    std::sort(chains.begin(), chains.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 1; i < chains.size(); ++i) {
        const auto &[shorter, a] = chains[i - 1];
        const auto &[longer, b] = chains[i];
        std::printf(
            "\nchain of %d against %d folders (%.1f times as deep): search %.2f times as long, "
            "find %.2f times\n",
            longer, shorter, static_cast<double>(longer) / shorter,
            percentile(b.searchTimes, 0.5) / percentile(a.searchTimes, 0.5),
            percentile(b.findTimes, 0.5) / percentile(a.findTimes, 0.5));
    }
    return 0;
}
