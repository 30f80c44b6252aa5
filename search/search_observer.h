// What a running search reports, and how it is told to stop.
#pragma once

#include "platform/win32.h"

class SearchObserver {
public:
    virtual ~SearchObserver() = default;
    // The walk has entered a folder, which is now the current directory.
    // FALSE stops the walk.
    virtual BOOL folderEntered() = 0;
    // The walk is examining the entries of the current folder and has gone
    // through a few hundred more since the last call. FALSE stops the walk.
    virtual BOOL entriesExamined() = 0;
};
