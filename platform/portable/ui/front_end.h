// What the dialog layer needs of a front end: the screen size, a place to
// show the drawn screen, and the next key.
#pragma once

#include "platform/portable/ui/canvas.h"
#include "platform/portable/ui/key.h"

namespace corvant::ui {

class FrontEnd {
public:
    virtual ~FrontEnd() = default;
    virtual int columns() const = 0;
    virtual int rows() const = 0;
    virtual void present(const Canvas &screen) = 0;
    // Waits for the next key; false when no more input will come.
    virtual bool readKey(Key &key) = 0;
};

// The active front end, or null when dialogs cannot be shown.
FrontEnd *activeFrontEnd();
void setActiveFrontEnd(FrontEnd *frontEnd);

}  // namespace corvant::ui
