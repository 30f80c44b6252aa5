#pragma once

#include "platform/win32.h"
#include "search/search_observer.h"

// The Auto find dialog's list box, recorded when that dialog opens; every
// executable found is added to it.
extern HWND resultList;

// Walks the tree below the current directory, depth first, adding the full
// path of every copy of the chosen browser's executable to resultList.
void searchTree();

// The same walk, reporting to observer as it goes. Answers FALSE when the
// observer stopped it; the current directory is then where the walk began
// all the same.
BOOL searchTree(SearchObserver &observer);

// Adds the matches in the current directory only.
void scanDirectory();
