// Times the search against find(1) on the same tree, interleaved:
//   bench_runner SEARCH_BINARY TREE [ROUNDS]
// Each round runs both once, in alternating order, after a few warm-up
// rounds; both must find exactly the targets the generator listed. Prints
// the median per-round time ratio (search / find) with its spread, and the
// peak memory of each.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
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
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
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

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::cerr << "usage: bench_runner SEARCH_BINARY TREE [ROUNDS]\n";
        return 2;
    }
    const std::string searchBinary = argv[1];
    const std::string tree = argv[2];
    const int rounds = argc > 3 ? std::max(1, std::stoi(argv[3])) : 25;
    constexpr int warmUps = 3;

    // What each tool must report: find the names as they are, the search
    // the folder as it is and the file name upper-cased.
    std::set<std::string> expectedByFind;
    std::set<std::string> expectedBySearch;
    std::ifstream targets(tree + ".targets");
    for (std::string target; std::getline(targets, target);) {
        expectedByFind.insert(tree + "/" + target);
        const size_t slash = target.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
        expectedBySearch.insert(tree + "/" + folder + upperCased(name));
    }
    if (expectedByFind.empty()) {
        std::cerr << "no targets listed in " << tree << ".targets\n";
        return 1;
    }

    const std::vector<std::string> search{searchBinary, tree};
    const std::vector<std::string> find{"find", tree, "-iname", "netscape.exe"};
    std::vector<double> ratios, searchTimes, findTimes;
    long searchPeak = 0, findPeak = 0;
    for (int round = -warmUps; round < rounds; ++round) {
        Run searchRun, findRun;
        if (round % 2 == 0) {
            searchRun = runProgram(search);
            findRun = runProgram(find);
        } else {
            findRun = runProgram(find);
            searchRun = runProgram(search);
        }
        if (!searchRun.succeeded || searchRun.lines != expectedBySearch) {
            std::cerr << "the search did not find exactly the targets\n";
            return 1;
        }
        if (!findRun.succeeded || findRun.lines != expectedByFind) {
            std::cerr << "find did not find exactly the targets\n";
            return 1;
        }
        if (round < 0) continue;
        ratios.push_back(searchRun.seconds / findRun.seconds);
        searchTimes.push_back(searchRun.seconds);
        findTimes.push_back(findRun.seconds);
        searchPeak = std::max(searchPeak, searchRun.peakKiB);
        findPeak = std::max(findPeak, findRun.peakKiB);
    }
    const Run idle = runProgram({searchBinary, tree, "--idle"});

    std::printf("rounds: %d (after %d warm-ups), both found all %zu targets every round\n", rounds,
                warmUps, expectedByFind.size());
    std::printf("median time: search %.1f ms, find %.1f ms\n", percentile(searchTimes, 0.5) * 1e3,
                percentile(findTimes, 0.5) * 1e3);
    std::printf("ratio search/find: median %.3f, quartiles %.3f-%.3f, range %.3f-%.3f\n",
                percentile(ratios, 0.5), percentile(ratios, 0.25), percentile(ratios, 0.75),
                percentile(ratios, 0), percentile(ratios, 1));
    std::printf("peak memory: search %.2f MiB (%.2f MiB above the same program without the "
                "search), find %.2f MiB\n",
                searchPeak / 1024.0, (searchPeak - idle.peakKiB) / 1024.0, findPeak / 1024.0);
    return 0;
}
