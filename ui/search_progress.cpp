#include "ui/search_progress.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Handle waiting messages at least this often (Windows calls a window that
// leaves them for five seconds "Not Responding"; a person notices far less).
constexpr DWORD lookInterval = 50;
constexpr size_t folderSize = 8192;
// The end of a longer folder name is shown, after "...".
constexpr size_t shownFolderLength = 200;
constexpr size_t textSize = 512;

// 12345 as "12,345".
void formatCount(DWORD count, char *out, size_t size) {
    char digits[16];
    const int length = std::snprintf(digits, sizeof digits, "%lu", static_cast<unsigned long>(count));
    size_t written = 0;
    for (int i = 0; i < length && written + 1 < size; ++i) {
        if (i > 0 && (length - i) % 3 == 0 && written + 2 < size) out[written++] = ',';
        out[written++] = digits[i];
    }
    out[written] = '\0';
}

}  // namespace

SearchProgress::SearchProgress(HWND dialog, const char *caption)
    : dialog_(dialog), caption_(caption), text_(new (std::nothrow) char[textSize + folderSize]) {}

SearchProgress::~SearchProgress() { delete[] text_; }

BOOL SearchProgress::folderEntered() {
    ++folders_;
    return keepGoing() ? TRUE : FALSE;
}

BOOL SearchProgress::entriesExamined() { return keepGoing() ? TRUE : FALSE; }

bool SearchProgress::keepGoing() {
    if (cancelled_) return false;
    const DWORD now = GetTickCount();
    if (looked_ && now - lastLook_ < lookInterval) return true;
    looked_ = true;
    showFolder();
    handlePendingMessages();
    // Measured from the end, so that slow handling still leaves time to walk.
    lastLook_ = GetTickCount();
    return !cancelled_;
}

void SearchProgress::handlePendingMessages() {
    MSG message;
    while (!cancelled_ && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the dialog's own loop, which ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            cancelled_ = true;
            break;
        }
        if (!IsDialogMessageA(dialog_, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void SearchProgress::setCaption(const char *detail) {
    if (!text_) return;
    char count[32];
    formatCount(folders_, count, sizeof count);
    // Never longer than textSize, so that it stays clear of the folder it shows.
    std::snprintf(text_, textSize, "%s - %s %s - %s", caption_, count, folders_ == 1 ? "folder" : "folders", detail);
    SetWindowTextA(dialog_, text_);
}

void SearchProgress::showFolder() {
    if (!text_) return;
    char *folder = text_ + textSize;
    const DWORD length = GetCurrentDirectoryA(folderSize, folder);
    if (length == 0 || length >= folderSize) {
        setCaption("...");
    } else if (length > shownFolderLength) {
        char *tail = folder + length - shownFolderLength;
        std::memcpy(tail - 3, "...", 3);
        setCaption(tail - 3);
    } else {
        setCaption(folder);
    }
}

void SearchProgress::showResult(LRESULT found) {
    char detail[32];
    if (found <= 0) {
        std::snprintf(detail, sizeof detail, "nothing found");
    } else {
        formatCount(static_cast<DWORD>(found), detail, sizeof detail - 8);
        std::strcat(detail, " found");
    }
    setCaption(detail);
}
