// What the terminal is sent for a text, and how many cells it takes there:
// names from the file system or a store may hold anything.
#include <gtest/gtest.h>

#include <string>

#include "platform/portable/ui/canvas.h"
#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/scripted_front_end.h"

namespace corvant::testing {
namespace {

const std::string replacement = "\xEF\xBF\xBD";

struct Row {
    std::string text, shown;
    int width;
};

// The text as its width counts and as a canvas draws it.
void expectShown(const Row &row) {
    EXPECT_EQ(ui::textWidth(row.text), row.width) << row.text;
    ui::Canvas screen(40, 1);
    screen.write(0, 0, row.text);
    EXPECT_EQ(screen.text(), row.shown) << row.text;
}

TEST(DisplayText, ControlsBidiAndFormatCharactersAreShownAsOneReplacementEach) {
    startScriptedFrontEnd(80, 24, true);
    const std::string r = replacement;
    const std::string man = "\xF0\x9F\x91\xA8", woman = "\xF0\x9F\x91\xA9", girl = "\xF0\x9F\x91\xA7";
    const std::string joiner = "\xE2\x80\x8D";
    const Row table[] = {
        // A joined emoji shows as its parts, each two cells, as the terminal then draws them.
        {man + joiner + woman + joiner + girl, man + r + woman + r + girl, 8},
        // A right-to-left override would show "exe.jpg" reversed as a picture.
        {"photo\xE2\x80\xAEgpj.exe", "photo" + r + "gpj.exe", 13},
        {"\xEF\xBB\xBFname\xE2\x80\x8B\xE2\x81\xA0", r + "name" + r + r, 7},
        // C0, DEL and C1 controls: ESC ] 0 sets a title, U+009B is a CSI of its own.
        {"\x1B]0;x\x07\x7F", r + "]0;x" + r + r, 7},
        {"\xC2\x9B"
         "31m\xC2\x85",
         r + "31m" + r, 5},
        // What is shown as itself: a combining accent with its letter, a wide character.
        {"e\xCC\x81\xE6\xB5\x8F", "e\xCC\x81\xE6\xB5\x8F", 3},
    };
    for (const Row &row : table) expectShown(row);
    stopScriptedFrontEnd();
}

}  // namespace
}  // namespace corvant::testing
