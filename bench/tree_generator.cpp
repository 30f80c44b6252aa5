// Makes the benchmark's synthetic tree from a fixed seed:
//   bench_tree_generator TREE [SEED]
// About 20,000 folders up to 20 deep, 200,000 files, a few copies of
// NETSCAPE.EXE in mixed case, names that only resemble it, and links that
// lead back into the tree. TREE must not exist yet. The target copies are
// listed, relative to TREE, in TREE.targets.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int folderCount = 20000;
constexpr int fileCount = 200000;
constexpr int maximumDepth = 20;

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

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::cerr << "usage: bench_tree_generator TREE [SEED]\n";
        return 2;
    }
    const std::string tree = argv[1];
    std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::stoul(argv[2])) : 20240607u);
    if (mkdir(tree.c_str(), 0755) != 0) {
        std::perror(tree.c_str());
        return 1;
    }

    std::vector<Folder> folders{{"", 0}};
    for (int i = 1; i < folderCount; ++i) {
        // Mostly a random parent; now and then the newest folder, so some branches run deep.
        const Folder *parent = nullptr;
        while (parent == nullptr || parent->depth >= maximumDepth) {
            parent = random() % 4 == 0 ? &folders.back() : &folders[random() % folders.size()];
        }
        const std::string name = mixedCase("dir" + std::to_string(i), random);
        Folder folder{parent->path.empty() ? name : parent->path + "/" + name, parent->depth + 1};
        if (mkdir((tree + "/" + folder.path).c_str(), 0755) != 0) {
            std::perror(folder.path.c_str());
            return 1;
        }
        folders.push_back(folder);
    }

    static const char *const extensions[] = {".txt", ".dll", ".exe", ".EXE", ".html", ".ini",
                                             "",     ".dat", ".exe", ".cfg"};
    for (int i = 0; i < fileCount; ++i) {
        const Folder &folder = folders[random() % folders.size()];
        const std::string name = "file" + std::to_string(i) + extensions[random() % 10];
        if (!makeFile(tree + "/" + folder.path + (folder.path.empty() ? "" : "/") + name)) {
            std::perror(name.c_str());
            return 1;
        }
    }

    static const char *const decoys[] = {"netscape.exe.bak", "netscape.ex", "xnetscape.exe",
                                         "netscape.exe~",    "netscape",    "iexplore.exe",
                                         "netscape.com",     "netscape_exe"};
    for (int i = 0; i < 40; ++i) {
        const Folder &folder = folders[random() % folders.size()];
        makeFile(tree + "/" + folder.path + "/" + decoys[i % 8]);
    }

    static const char *const targetNames[] = {"netscape.exe", "NETSCAPE.EXE", "NetScape.Exe",
                                              "nEtScApE.eXe", "Netscape.exe"};
    std::ofstream targets(tree + ".targets");
    std::vector<std::string> used;
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
    if (symlink(".", (tree + "/" + a.path + "/loop").c_str()) != 0 ||
        symlink("..", (tree + "/" + b.path + "/up").c_str()) != 0 ||
        symlink(tree.c_str(), (tree + "/" + c.path + "/top").c_str()) != 0) {
        std::perror("symlink");
        return 1;
    }
    std::cout << "made " << folderCount << " folders (deepest " << deepest->depth << "), "
              << fileCount << " files and 6 targets in " << tree << "\n";
    return 0;
}
