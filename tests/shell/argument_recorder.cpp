// Stands in for a browser in the shell tests: writes the number of arguments
// it was given, then each argument on a line of its own, to a file named
// after itself with ".txt" added. The file appears complete or not at all.
#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char **argv) {
    const std::string record = std::string(argv[0]) + ".txt";
    const std::string partial = record + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        out << argc - 1 << '\n';
        for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
        if (!out) return 1;
    }
    return std::rename(partial.c_str(), record.c_str()) == 0 ? 0 : 1;
}
