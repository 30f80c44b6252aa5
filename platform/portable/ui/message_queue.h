// The thread's message queue: messages posted to windows, and the user's
// input turned into key and mouse messages as it is taken, routed where the
// focus (for keys) or the mouse (for clicks) is at that moment.
#pragma once

#include "platform/portable/ui/key.h"
#include "platform/portable/user.h"

namespace corvant::ui {

// Takes the next message for a modal loop, drawing the screen and waiting
// for input when none is queued. False once no more input will come.
bool waitMessage(MSG &message);

// The key a key message stands for; false for other messages.
bool keyOfMessage(const MSG &message, Key &key);

// Forgets every queued message and the keyboard state (a fresh front end).
void resetMessageQueue();

}  // namespace corvant::ui
