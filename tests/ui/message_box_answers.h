// Answers the message boxes that code shows, and reports what each showed,
// the same way in both builds: natively through the scripted front end's keys,
// under Wine by reading and pressing the real box from a second thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace corvant::testing {

struct AnsweredBox {
    std::string text;
    std::string title;
    // The MB_ flags for the buttons and the icon that the box showed.
    unsigned style = 0;
};

// Runs `show` on this thread. Every message box it shows is answered with the
// button `answer` (IDYES, IDNO, IDOK) when the box has one, with its default
// button otherwise.
std::vector<AnsweredBox> answerMessageBoxes(const std::function<void()> &show, int answer);

}  // namespace corvant::testing
