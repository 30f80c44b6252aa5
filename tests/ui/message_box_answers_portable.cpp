// The boxes of the portable layer, answered with keys as a user would.
#include "platform/portable/test_hooks.h"
#include "platform/portable/ui/scripted_front_end.h"
#include "platform/win32.h"
#include "tests/ui/message_box_answers.h"

namespace corvant::testing {

std::vector<AnsweredBox> answerMessageBoxes(const std::function<void()> &show, int answer) {
    clearShownMessageBoxes();
    startScriptedFrontEnd();
    // The button's letter, then Escape, which closes a box with OK and does
    // nothing in a Yes/No box (so a leftover Escape cannot answer the next).
    const std::string keys = answer == IDYES ? "y{Esc}" : answer == IDNO ? "n{Esc}" : "{Enter}";
    for (int box = 0; box < 8; ++box) typeKeys(keys);
    show();
    stopScriptedFrontEnd();
    std::vector<AnsweredBox> answered;
    for (const ShownMessageBox &box : shownMessageBoxes())
        answered.push_back({box.text, box.titleGiven ? box.title : "Error", box.style});
    clearShownMessageBoxes();
    return answered;
}

}  // namespace corvant::testing
