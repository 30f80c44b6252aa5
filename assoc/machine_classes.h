// Where the classes are written: HKEY_LOCAL_MACHINE\Software\Classes, the
// machine-wide part of HKEY_CLASSES_ROOT. A write through HKEY_CLASSES_ROOT
// would land in the user's own classes wherever HKEY_CURRENT_USER\Software\Classes
// already holds the key, and change the default for that account only.
#pragma once

#include <string>

#include "platform/win32.h"

// A 32-bit program on 64-bit Windows names the 64-bit view: on Vista, Server
// 2008 and 64-bit XP the 32-bit view of Software\Classes is a copy of its
// own (reflected), and 64-bit Explorer reads the 64-bit one; on 7 and later
// the keys written are shared, and the flag changes nothing. 32-bit Windows
// ignores it. Every open and create below HKEY_LOCAL_MACHINE passes it.
constexpr REGSAM machineView = KEY_WOW64_64KEY;

// "Software\\Classes\\<name>", a path below HKEY_LOCAL_MACHINE.
std::string machineClassPath(const char *name);

// Opens or creates the key at pathBelowMachine, for setting values.
LONG createMachineKey(const std::string &pathBelowMachine, HKEY &key);
// Opens or creates name below parent (a key in the machine's view), for setting values.
LONG createMachineSubkey(HKEY parent, const char *name, HKEY &key);

// Deletes name (a key without subkeys) below parent in the machine's view.
LONG deleteMachineKey(HKEY parent, const char *name);
