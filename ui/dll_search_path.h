#pragma once

// Takes the current directory off the search path for DLLs. Corvant runs
// with administrator rights while its current directory moves into folders
// the user can write to (the file-open dialog, the Auto find walk), and the
// dialogs load DLLs (shell extensions) by name.
void leaveCurrentDirectoryOffDllSearchPath();
