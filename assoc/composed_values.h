// The command and icon values that every written class gets.
#pragma once

#include <cstddef>

constexpr std::size_t composedValueSize = 1024;

// "<path> "%1"", with the path in double quotes when it contains a blank so
// that Windows cannot start a program named by the path's first word.
// False, with nothing written to out, when the result would not fit.
bool composeCommandValue(const char *browserPath, char (&out)[composedValueSize]);

// "<path>,0": icon number 0 of the executable. False when it would not fit.
bool composeIconValue(const char *browserPath, char (&out)[composedValueSize]);
