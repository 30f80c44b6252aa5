#pragma once

#include <string>

#include "platform/win32.h"

// Where a Windows lets the user choose the apps that open web pages.
enum class DefaultAppsPlace {
    settings,         // Windows 10 and 11: Default apps in Settings
    defaultPrograms,  // Vista to 8.1: Default Programs in Control Panel
    unknown,          // Windows XP, which has no such choice, and versions not known here
};

// The place for the version the system reports (GetVersionExA).
DefaultAppsPlace defaultAppsPlaceFor(DWORD majorVersion, DWORD minorVersion);

// Settings' page of the application registered as registeredName under
// HKEY_LOCAL_MACHINE\Software\RegisteredApplications. Settings that do not
// know the parameter (before Windows 11's update of April 2023) show the
// Default apps page.
std::string settingsPageAddress(const char *registeredName);

// Opens the page where the user makes the browser that Corvant registered
// the default, as the reported Windows version has it: Settings from
// Windows 10 on; Default Programs in Control Panel on Vista to 8.1. Says so
// in a box when nothing opens.
void openDefaultAppsPage(HWND owner);
// The same for a given place.
void openDefaultAppsPageAt(HWND owner, DefaultAppsPlace place);
