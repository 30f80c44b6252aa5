#pragma once

#include "platform/win32.h"
#include "search/search_observer.h"

// Keeps a dialog answering while a search runs on the same thread: every
// 50 ms or so it shows the progress in the dialog's caption and handles the
// messages waiting in the queue. The search stops once cancel() is called
// (from a command handled meanwhile) or WM_QUIT arrives.
class SearchProgress : public SearchObserver {
public:
    // caption is the dialog's own title, which the progress follows.
    SearchProgress(HWND dialog, const char *caption);
    ~SearchProgress() override;
    SearchProgress(const SearchProgress &) = delete;
    SearchProgress &operator=(const SearchProgress &) = delete;

    BOOL folderEntered() override;
    BOOL entriesExamined() override;

    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }
    // The caption once the walk has ended: folders searched and entries found.
    void showResult(LRESULT found);

private:
    bool keepGoing();
    void showFolder();
    void handlePendingMessages();
    void setCaption(const char *detail);

    HWND dialog_;
    const char *caption_;
    char *text_;  // the caption being composed
    DWORD folders_ = 0;
    DWORD lastLook_ = 0;
    bool looked_ = false;
    bool cancelled_ = false;
};
