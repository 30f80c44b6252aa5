// The program's version: the one place that the version resource, the
// dialogs' texts and the release's name take it from. Only #define lines,
// so that the resource compiler and CMake can read this file.
#pragma once

#define CORVANT_VERSION_MAJOR 1
#define CORVANT_VERSION_MINOR 2
#define CORVANT_VERSION_TEXT "1.2"
