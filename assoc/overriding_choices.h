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

// .html, .htm and the five classes.
constexpr std::size_t writtenNameCount = 7;

struct OverridingNames {
    const char *names[writtenNameCount] = {};
    std::size_t count = 0;
};

// The account's own class keys below HKEY_CURRENT_USER\Software\Classes that
// come before the machine-wide ones just written, in the order in which the
// names are written: .html or .htm with a default value naming another
// class, a class with its own shell\open\command, or with a shell default
// naming another verb than "open". Only read, never changed: they are the
// account's. Names that are not selected are not looked at.
OverridingNames findUserClassKeys(const BrowserSettings &settings);

// The names of both, in the order in which they are written, each once.
OverridingNames namesOfBoth(const OverridingChoices &choices, const OverridingNames &classKeys);
