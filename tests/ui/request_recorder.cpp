// Stands in for the handler of an address under Wine:
//   request_recorder LOG ADDRESS
// appends ADDRESS and a line feed to LOG in one write.
#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    if (argc != 3) return 2;
    std::FILE *log = std::fopen(argv[1], "ab");
    if (!log) return 1;
    const std::string line = std::string(argv[2]) + "\n";
    const bool written = std::fwrite(line.data(), 1, line.size(), log) == line.size();
    return std::fclose(log) == 0 && written ? 0 : 1;
}
