// Makes one of the benchmark's trees:
//   bench_tree_generator SHAPE TREE [SEED]
// SHAPE is one of
//   seeded     about 20,000 folders up to 20 deep, 200,000 files, copies of
//              NETSCAPE.EXE in mixed case, names that only resemble it, and
//              links that lead back into the tree (from a fixed seed);
//   wide       one folder with 60,000 files and 3,000 (empty) subfolders;
//   bushy      55,000 small folders, ten below each, two files in each;
//   chainN     N folders each inside the last, a copy at the bottom.
// TREE must not exist yet. The copies of NETSCAPE.EXE are listed, relative
// to TREE, in TREE.targets.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

struct Folder {
    std::string path;  // relative to the tree
    int depth;
};

std::string mixedCase(const std::string &name, std::mt19937 &random) {
    std::string result = name;
    for (char &c : result) {
        if (c >= 'a' && c <= 'z' && random() % 2 == 0) c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

bool makeFile(const std::string &path) {
    std::ofstream file(path);
    return static_cast<bool>(file);
}

bool makeFolder(const std::string &path) {
    if (mkdir(path.c_str(), 0755) == 0) return true;
    std::perror(path.c_str());
    return false;
}

std::string inside(const std::string &tree, const std::string &relative) {
    return relative.empty() ? tree : tree + "/" + relative;
}

int seeded(const std::string &tree, std::mt19937 &random, std::ofstream &targets) {
    constexpr int folderCount = 20000;
    constexpr int fileCount = 200000;
    constexpr int maximumDepth = 20;
    std::vector<Folder> folders{{"", 0}};
    for (int i = 1; i < folderCount; ++i) {
        // Mostly a random parent; now and then the newest folder, so some branches run deep.
        const Folder *parent = nullptr;
        while (parent == nullptr || parent->depth >= maximumDepth) {
            parent = random() % 4 == 0 ? &folders.back() : &folders[random() % folders.size()];
        }
        const std::string name = mixedCase("dir" + std::to_string(i), random);
        Folder folder{parent->path.empty() ? name : parent->path + "/" + name, parent->depth + 1};
        if (!makeFolder(tree + "/" + folder.path)) return 1;
        folders.push_back(folder);
    }

    static const char *const extensions[] = {".txt", ".dll", ".exe", ".EXE", ".html",
                                             ".ini", "",     ".dat", ".exe", ".cfg"};
    for (int i = 0; i < fileCount; ++i) {
        const Folder &folder = folders[random() % folders.size()];
        const std::string name = "file" + std::to_string(i) + extensions[random() % 10];
        if (!makeFile(inside(tree, folder.path) + "/" + name)) {
            std::perror(name.c_str());
            return 1;
        }
    }

    static const char *const decoys[] = {"netscape.exe.bak", "netscape.ex",  "xnetscape.exe", "netscape.exe~",
                                         "netscape",         "iexplore.exe", "netscape.com",  "netscape_exe"};
    for (int i = 0; i < 40; ++i) {
        const Folder &folder = folders[random() % folders.size()];
        makeFile(inside(tree, folder.path) + "/" + decoys[i % 8]);
    }

    static const char *const targetNames[] = {"netscape.exe", "NETSCAPE.EXE", "NetScape.Exe", "nEtScApE.eXe",
                                              "Netscape.exe"};
    for (const char *name : targetNames) {
        const Folder *folder = &folders[random() % folders.size()];
        if (name == targetNames[0]) folder = &folders[0];  // one at the top
        const std::string path = folder->path.empty() ? name : folder->path + "/" + name;
        makeFile(tree + "/" + path);
        targets << path << "\n";
    }
    // The deepest folder gets a copy as well.
    const Folder *deepest = &folders[0];
    for (const Folder &folder : folders) {
        if (folder.depth > deepest->depth) deepest = &folder;
    }
    makeFile(tree + "/" + deepest->path + "/NETSCAPE.EXE");
    targets << deepest->path << "/NETSCAPE.EXE\n";

    // Links back into the tree: a loop, a way up, and one to the top.
    const Folder &a = folders[random() % folders.size()];
    const Folder &b = folders[random() % folders.size()];
    const Folder &c = folders[random() % folders.size()];
    if (symlink(".", (inside(tree, a.path) + "/loop").c_str()) != 0 ||
        symlink("..", (inside(tree, b.path) + "/up").c_str()) != 0 ||
        symlink(tree.c_str(), (inside(tree, c.path) + "/top").c_str()) != 0) {
        std::perror("symlink");
        return 1;
    }
    std::cout << "made " << folderCount << " folders (deepest " << deepest->depth << "), " << fileCount
              << " files and 6 targets in " << tree << "\n";
    return 0;
}

int wide(const std::string &tree, std::mt19937 &random, std::ofstream &targets) {
    constexpr int fileCount = 60000;
    constexpr int subfolderCount = 3000;
    static const char *const extensions[] = {".txt", ".dll", ".exe", ".EXE", ".ini", ""};
    for (int i = 0; i < fileCount; ++i) {
        if (!makeFile(tree + "/file" + std::to_string(i) + extensions[random() % 6])) return 1;
    }
    for (int i = 0; i < subfolderCount; ++i) {
        if (!makeFolder(tree + "/sub" + std::to_string(i))) return 1;
    }
    for (const char *target : {"netscape.exe", "sub17/NETSCAPE.EXE", "sub2999/NetScape.exe"}) {
        makeFile(tree + "/" + target);
        targets << target << "\n";
    }
    std::cout << "made " << fileCount << " files and " << subfolderCount << " folders in " << tree << "\n";
    return 0;
}

int bushy(const std::string &tree, std::mt19937 &random, std::ofstream &targets) {
    constexpr int folderCount = 55000;
    constexpr int fanOut = 10;
    std::vector<std::string> folders;
    std::deque<std::string> waiting{""};
    while (static_cast<int>(folders.size()) < folderCount) {
        const std::string parent = waiting.front();
        waiting.pop_front();
        for (int i = 0; i < fanOut && static_cast<int>(folders.size()) < folderCount; ++i) {
            const std::string path = (parent.empty() ? "" : parent + "/") + "d" + std::to_string(i);
            if (!makeFolder(tree + "/" + path) || !makeFile(tree + "/" + path + "/readme.txt") ||
                !makeFile(tree + "/" + path + "/setup.exe")) {
                return 1;
            }
            folders.push_back(path);
            waiting.push_back(path);
        }
    }
    for (int i = 0; i < 4; ++i) {
        const std::string target = folders[random() % folders.size()] + "/" + (i % 2 ? "NETSCAPE.EXE" : "netscape.exe");
        makeFile(tree + "/" + target);
        targets << target << "\n";
    }
    std::cout << "made " << folderCount << " folders in " << tree << "\n";
    return 0;
}

// Made with relative steps: the path soon outgrows what one call may name.
int chain(const std::string &tree, int depth, std::ofstream &targets) {
    if (chdir(tree.c_str()) != 0) return 1;
    std::string target;
    for (int level = 0; level < depth; ++level) {
        if (!makeFolder("d") || chdir("d") != 0) return 1;
        target += "d/";
    }
    if (!makeFile("netscape.exe")) return 1;
    targets << target << "netscape.exe\n";
    std::cout << "made a chain of " << depth << " folders in " << tree << "\n";
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::cerr << "usage: bench_tree_generator seeded|wide|bushy|chainN TREE [SEED]\n";
        return 2;
    }
    const std::string shape = argv[1];
    const std::string tree = argv[2];
    std::mt19937 random(argc > 3 ? static_cast<unsigned>(std::stoul(argv[3])) : 20240607u);
    if (!makeFolder(tree)) return 1;
    std::ofstream targets(tree + ".targets");
    if (shape == "seeded") return seeded(tree, random, targets);
    if (shape == "wide") return wide(tree, random, targets);
    if (shape == "bushy") return bushy(tree, random, targets);
    if (shape.compare(0, 5, "chain") == 0 && shape.size() > 5) {
        return chain(tree, std::atoi(shape.c_str() + 5), targets);
    }
    std::cerr << "unknown shape " << shape << "\n";
    return 2;
}
