// What the dialog layer needs of a front end: the screen size, a place to
// show the drawn screen, and the user's input.
#pragma once

#include "platform/portable/ui/canvas.h"
#include "platform/portable/ui/key.h"

namespace corvant::ui {

enum class InputRead {
    Read,     // event holds the next input
    Nothing,  // nothing is waiting (only when not asked to wait)
    Closed,   // no more input will come
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;
    virtual int columns() const = 0;
    virtual int rows() const = 0;
    virtual void present(const Canvas &screen) = 0;
    // False where cells drawn dimmed look like any others (TERM=vt100, or
    // the Linux console, which cannot dim in colour).
    virtual bool showsDim() const { return true; }
    // The next input. With wait, blocks until there is some (or none will
    // come); without, answers Nothing at once when none is waiting.
    virtual InputRead readInput(InputEvent &event, bool wait) = 0;
};

// The active front end, or null when dialogs cannot be shown.
FrontEnd *activeFrontEnd();
void setActiveFrontEnd(FrontEnd *frontEnd);

}  // namespace corvant::ui
