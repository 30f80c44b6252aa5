// libFuzzer target for the key store's REGEDIT4 reader. Every file the
// reader accepts must write out, read back and write out again
// byte-identically, also when the writer reuses the text it formatted
// before; a file it refuses must name a line of the file.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/portable/registry/regedit_text.h"

using namespace corvant::registry;

namespace {

[[noreturn]] void roundTripFailed(const char *what, const std::string &written) {
    std::fprintf(stderr, "round trip failed: %s\n--- written text ---\n%s\n", what, written.c_str());
    std::abort();
}

size_t lineCount(std::string_view text) {
    size_t lines = 1;
    for (char c : text) lines += c == '\n';
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    Hives read;
    ReadFailure failure;
    if (!readRegedit4(text, read, failure)) {
        if (failure.line < 1 || failure.line > lineCount(text) || failure.reason.empty())
            roundTripFailed("a refusal that names no line of the file", std::string(text));
        return 0;
    }
    const std::string written = writeRegedit4(read);
    Hives again;
    if (!readRegedit4(written, again, failure))
        roundTripFailed(
            ("the written text does not read back: line " + std::to_string(failure.line) + ": " + failure.reason)
                .c_str(),
            written);
    if (writeRegedit4(again) != written) roundTripFailed("the text read back writes out differently", written);
    // Once formatting each key afresh, once taking the text kept from then.
    if (writeRegedit4(again, true) != written || writeRegedit4(again, true) != written)
        roundTripFailed("reusing the formatted keys writes out differently", written);
    return 0;
}
