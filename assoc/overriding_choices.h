// Since Windows 8 a per-user choice, made in Settings and protected there so
// that no program can set it, decides which program opens a protocol or an
// extension wherever it exists, ahead of the classes this program writes.
// Here those choices are only read, never written.
#pragma once

#include <cstddef>

#include "assoc/browser_settings.h"

// .html, .htm, http, https, ftp and gopher.
constexpr std::size_t choosableNameCount = 6;

struct OverridingChoices {
    const char *names[choosableNameCount] = {};
    std::size_t count = 0;
};

// The names an apply with these settings writes whose per-user choice names a
// program other than the classes it writes, in the order in which they are
// written. Names that are not selected are not looked at.
OverridingChoices findOverridingChoices(const BrowserSettings &settings);
