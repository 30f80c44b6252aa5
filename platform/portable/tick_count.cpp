// GetTickCount (kernel32), with the clock the scripted tests can step.
#include <time.h>

#include "platform/portable/types.h"
#include "platform/portable/user.h"
#include "platform/portable/ui/scripted_front_end.h"

namespace {
DWORD clockStep = 0;
DWORD steppedClock = 0;
}  // namespace

void corvant::testing::setClockStep(unsigned long milliseconds) {
    clockStep = static_cast<DWORD>(milliseconds);
    steppedClock = 0;
}

DWORD WINAPI GetTickCount() {
    if (clockStep != 0) return steppedClock += clockStep;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<unsigned long long>(now.tv_sec) * 1000u +
                              static_cast<unsigned long long>(now.tv_nsec) / 1000000u);
}
