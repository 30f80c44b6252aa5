// GetOpenFileNameA: a terminal file chooser. It lists the folders and the
// files that match the filter (read as FindFirstFileA reads a pattern, so
// without regard to case), lets the user move
// through folders and type a name or a full path, and writes the chosen full
// path into the caller's buffer, never more than nMaxFile bytes.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <climits>
#include <dirent.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/portable/files/name_pattern.h"
#include "platform/portable/files/path_names.h"
#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/dialog_sizes.h"
#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/edit_field.h"
#include "platform/portable/ui/screen_painter.h"
#include "platform/portable/user.h"

using namespace corvant::ui;

namespace {

enum ControlId { idNameLabel = 3000, idName = 3001, idList = 3002, idFolder = 3003, idType = 3004, idMessage = 3005 };

constexpr int dialogColumns = 64;
constexpr int dialogRows = 20;
constexpr int messageColumns = 62;
constexpr int messageRows = 3;

struct ChooserState {
    OPENFILENAMEA *request;
    std::string folder;
    std::string initialName;
    std::vector<std::string> patterns;
    std::string filterName;
    std::vector<std::string> entries;  // folders end in '/'
    std::string message;               // the first message shown (for measuring the dialog)
};

// Names match without regard to case, as everywhere else in the program.
bool statWithoutCase(const std::string &path, struct stat &info) {
    if (stat(path.c_str(), &info) == 0) return true;
    std::string resolved;
    return corvant::files::resolveWithoutCase(path, resolved) && stat(resolved.c_str(), &info) == 0;
}

bool isDirectory(const std::string &path) {
    struct stat info;
    return statWithoutCase(path, info) && S_ISDIR(info.st_mode);
}

bool exists(const std::string &path) {
    struct stat info;
    return statWithoutCase(path, info);
}

// Only a regular file: a pipe, a socket or a device holds no program, and
// GetFileAttributesA refuses them, as it refuses a missing file.
bool isExistingFile(const std::string &path) {
    struct stat info;
    return statWithoutCase(path, info) && S_ISREG(info.st_mode);
}

std::string joinPath(const std::string &folder, const std::string &name) {
    if (!name.empty() && name[0] == '/') return name;
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string canonicalFolder(const std::string &path) {
    char *resolved = realpath(path.c_str(), nullptr);
    if (!resolved) return std::string();
    std::string result = resolved;
    free(resolved);
    return result;
}

std::string currentFolder() {
    std::string folder = canonicalFolder(".");
    return folder.empty() ? "/" : folder;
}

bool lessIgnoringCase(const std::string &a, const std::string &b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char l, char r) {
        return std::tolower(static_cast<unsigned char>(l)) < std::tolower(static_cast<unsigned char>(r));
    });
}

bool matchesFilter(const ChooserState &state, const std::string &name) {
    if (state.patterns.empty()) return true;
    for (const std::string &pattern : state.patterns)
        if (corvant::files::NamePattern(pattern).matches(name.c_str())) return true;
    return false;
}

// The filter's first pair ("Executables (*.exe)", "*.exe;*.com"), or the
// pair chosen by a non-zero nFilterIndex.
void readFilter(ChooserState &state) {
    const char *filter = state.request->lpstrFilter;
    if (!filter) return;
    DWORD wanted = state.request->nFilterIndex > 0 ? state.request->nFilterIndex : 1;
    for (DWORD index = 1; *filter; ++index) {
        const char *name = filter;
        const char *pattern = name + std::strlen(name) + 1;
        if (!*pattern) break;
        if (index == wanted || index == 1) {
            state.filterName = name;
            state.patterns.clear();
            std::string list = pattern;
            size_t start = 0;
            while (start <= list.size()) {
                size_t end = list.find(';', start);
                std::string one = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
                if (!one.empty()) state.patterns.push_back(one);
                if (end == std::string::npos) break;
                start = end + 1;
            }
            if (index == wanted) return;
        }
        filter = pattern + std::strlen(pattern) + 1;
    }
}

struct DirectoryCloser {
    void operator()(DIR *directory) const { closedir(directory); }
};

void listFolder(ChooserState &state) {
    std::vector<std::string> folders, files;
    std::unique_ptr<DIR, DirectoryCloser> directory(opendir(state.folder.c_str()));
    if (directory) {
        while (dirent *entry = readdir(directory.get())) {
            std::string name = entry->d_name;
            if (name == "." || name == ".." || name[0] == '.') continue;
            if (isDirectory(joinPath(state.folder, name)))
                folders.push_back(name + "/");
            else if (matchesFilter(state, name))
                files.push_back(name);
        }
    }
    std::sort(folders.begin(), folders.end(), lessIgnoringCase);
    std::sort(files.begin(), files.end(), lessIgnoringCase);
    state.entries.clear();
    if (state.folder != "/") state.entries.push_back("../");
    state.entries.insert(state.entries.end(), folders.begin(), folders.end());
    state.entries.insert(state.entries.end(), files.begin(), files.end());
}

ChooserState &stateOf(HWND dialog) { return *reinterpret_cast<ChooserState *>(findWindow(dialog)->userData); }

void setText(HWND dialog, int id, const std::string &text) {
    if (Window *control = findChild(*findWindow(dialog), id)) control->text = text;
}

// A message about a path, with as much of the path's end as the message's
// lines hold, so that the name and what follows it are always seen.
void setPathMessage(HWND dialog, const std::string &before, const std::string &path, const std::string &after) {
    std::string shown = path;
    for (;;) {
        std::string message = before + shown + after;
        if (static_cast<int>(wrapText(message, messageColumns).size()) <= messageRows || shown.size() <= 4) {
            setText(dialog, idMessage, message);
            return;
        }
        size_t cut = std::max<size_t>(1, (shown.size() - 3) / 8);
        size_t start = 3 + cut;
        while (start < shown.size() && (static_cast<unsigned char>(shown[start]) & 0xC0) == 0x80) ++start;
        shown = "..." + shown.substr(start);
    }
}

void showFolder(HWND dialog) {
    ChooserState &state = stateOf(dialog);
    listFolder(state);
    Window *list = findChild(*findWindow(dialog), idList);
    SendMessageA(list->handle, LB_RESETCONTENT, 0, 0);
    for (const std::string &entry : state.entries)
        SendMessageA(list->handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    std::string label = "Look in: ";
    const int room = dialogColumns - 2 - textWidth(label);
    std::string folder = state.folder;
    if (textWidth(folder) > room) folder = ellipsis() + textTail(folder, room - textWidth(ellipsis()));
    setText(dialog, idFolder, label + folder);
}

void setName(HWND dialog, const std::string &name) {
    if (Window *field = findChild(*findWindow(dialog), idName)) setFieldText(*field, name);
}

bool hasExtension(const std::string &path) {
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
}

std::string parentOf(const std::string &path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// OK: go into a folder, take a new pattern, or check and return the file.
void accept(HWND dialog) {
    ChooserState &state = stateOf(dialog);
    OPENFILENAMEA &request = *state.request;
    std::string typed = findChild(*findWindow(dialog), idName)->text;
    if (typed.empty()) return;
    std::string path = joinPath(state.folder, typed);
    if (path.size() >= PATH_MAX) {
        setPathMessage(dialog, "The path ", path,
                       " is too long to be opened here: it has " + std::to_string(path.size()) +
                           " characters, this system opens at most " + std::to_string(PATH_MAX - 1) + ".");
        return;
    }
    if (isDirectory(path)) {
        std::string folder = canonicalFolder(path);
        if (folder.empty() || access(folder.c_str(), R_OK | X_OK) != 0) {
            setPathMessage(dialog, "The folder ", path, " cannot be opened.");
            return;
        }
        state.folder = folder;
        setName(dialog, "");
        setText(dialog, idMessage, "");
        showFolder(dialog);
        return;
    }
    if (typed.find_first_of("*?") != std::string::npos && typed.find('/') == std::string::npos) {
        state.patterns = {typed};
        setName(dialog, "");
        showFolder(dialog);
        return;
    }
    // A name typed without an extension is taken with the default one when
    // that file exists, otherwise as typed when that exists, as Wine's dialog
    // does; so a program without ".exe" is chosen by typing its full name.
    const std::string typedPath = path;
    if (!hasExtension(path) && request.lpstrDefExt && *request.lpstrDefExt) {
        const std::string withExtension = path + "." + request.lpstrDefExt;
        if (isExistingFile(withExtension) || !exists(path)) path = withExtension;
    }
    if ((request.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !isDirectory(parentOf(path))) {
        setPathMessage(dialog, "The folder ", parentOf(path), " does not exist. Check the path and try again.");
        return;
    }
    if ((request.Flags & OFN_FILEMUSTEXIST) && !isExistingFile(path)) {
        if (exists(path))
            setPathMessage(dialog, "The name ", path, " belongs to a pipe, a socket or a device, not to a file.");
        else
            setPathMessage(dialog, "The file ", typedPath, " was not found. Check the file name and try again.");
        return;
    }
    if (path.size() + 1 > request.nMaxFile) {
        setText(dialog, idMessage,
                "The path is too long: it has " + std::to_string(path.size()) + " characters and at most " +
                    std::to_string(request.nMaxFile - 1) + " fit.");
        return;
    }
    std::memcpy(request.lpstrFile, path.c_str(), path.size() + 1);
    size_t slash = path.rfind('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    request.nFileOffset = static_cast<WORD>(std::min<size_t>(nameStart, 0xFFFF));
    request.nFileExtension =
        static_cast<WORD>(dot != std::string::npos && dot > nameStart ? std::min<size_t>(dot + 1, 0xFFFF) : 0);
    if (request.lpstrFileTitle && request.nMaxFileTitle > 0) {
        std::string title = path.substr(nameStart);
        if (title.size() < request.nMaxFileTitle) std::memcpy(request.lpstrFileTitle, title.c_str(), title.size() + 1);
    }
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK chooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        showFolder(dialog);
        setName(dialog, stateOf(dialog).initialName);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: accept(dialog); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        case idList:
            if (HIWORD(wParam) == LBN_SELCHANGE) {
                HWND list = reinterpret_cast<HWND>(lParam);
                LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
                const std::vector<std::string> &entries = stateOf(dialog).entries;
                if (index >= 0 && static_cast<size_t>(index) < entries.size()) setName(dialog, entries[index]);
                return TRUE;
            }
            if (HIWORD(wParam) == LBN_DBLCLK) {
                // As OK on the entry: a folder opens, a file is chosen.
                HWND list = reinterpret_cast<HWND>(lParam);
                LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
                const std::vector<std::string> &entries = stateOf(dialog).entries;
                if (index < 0 || static_cast<size_t>(index) >= entries.size()) return TRUE;
                setName(dialog, entries[index]);
                accept(dialog);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
        }
    default: return FALSE;
    }
}

DialogTemplate chooserTemplate(const ChooserState &state) {
    DialogTemplate chooser;
    chooser.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    chooser.title = state.request->lpstrTitle ? state.request->lpstrTitle : "Open";
    chooser.cx = dialogColumns * 4;
    chooser.cy = dialogRows * 8;
    std::string type = "Files of type: " + (state.filterName.empty() ? std::string("All files") : state.filterName);
    chooser.controls = {
        cellControl("Static", "File &name:", SS_LEFT, idNameLabel, 1, 13, 11, 1),
        cellControl("Edit", "", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, idName, 13, 13, 49, 1),
        cellControl("ListBox", "", LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP | WS_GROUP, idList, 1, 1, 62, 12),
        cellControl("Static", "", SS_LEFT | SS_NOPREFIX | WS_GROUP, idFolder, 1, 0, 62, 1),
        cellControl("Static", type, SS_LEFT | SS_NOPREFIX, idType, 1, 14, 62, 1),
        cellControl("Static", state.message, SS_LEFT | SS_NOPREFIX, idMessage, 1, 15, messageColumns, messageRows),
        cellControl("Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, 38, 18, 10, 1),
        cellControl("Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 51, 18, 10, 1),
    };
    return chooser;
}

}  // namespace

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA request) {
    if (!request || !request->lpstrFile || request->nMaxFile == 0) return FALSE;
    ChooserState state;
    state.request = request;
    readFilter(state);
    std::string start(request->lpstrFile, strnlen(request->lpstrFile, request->nMaxFile));
    // The buffer's path decides where the chooser opens and what the name field holds.
    if (!start.empty() && isDirectory(start)) {
        state.folder = canonicalFolder(start);
    } else if (start.find('/') != std::string::npos && isDirectory(parentOf(start))) {
        state.folder = canonicalFolder(parentOf(start));
        state.initialName = start.substr(start.rfind('/') + 1);
    } else {
        state.initialName = start;
    }
    if (state.folder.empty() && request->lpstrInitialDir && isDirectory(request->lpstrInitialDir))
        state.folder = canonicalFolder(request->lpstrInitialDir);
    if (state.folder.empty()) state.folder = currentFolder();
    INT_PTR result =
        runDialog(chooserTemplate(state), request->hwndOwner, chooserProc, 0, reinterpret_cast<LONG_PTR>(&state));
    return result == 1 ? TRUE : FALSE;
}

corvant::ui::DialogTemplate corvant::ui::largestFileChooser() {
    ChooserState state;
    OPENFILENAMEA request{};
    state.request = &request;
    state.message = std::string(messageColumns * messageRows, 'x');
    return chooserTemplate(state);
}
