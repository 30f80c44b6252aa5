#include "platform/portable/ui/window.h"

#include <map>
#include <memory>

namespace corvant::ui {
namespace {

struct WindowTable {
    std::map<HWND, std::unique_ptr<Window>> windows;
    uintptr_t nextHandle = 0x10010;
};

WindowTable &table() {
    static WindowTable instance;
    return instance;
}

// The desktop needs no state; it is a fixed handle outside the table.
const HWND desktop = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10000));

}  // namespace

HWND desktopWindow() { return desktop; }

HWND createWindow(const Window &description) {
    WindowTable &t = table();
    HWND handle = reinterpret_cast<HWND>(t.nextHandle);
    t.nextHandle += 4;
    auto window = std::make_unique<Window>(description);
    window->handle = handle;
    t.windows[handle] = std::move(window);
    return handle;
}

void destroyWindow(HWND handle) {
    Window *window = findWindow(handle);
    if (!window) return;
    std::vector<HWND> children = window->children;
    for (HWND child : children) destroyWindow(child);
    table().windows.erase(handle);
}

Window *findWindow(HWND handle) {
    auto &windows = table().windows;
    auto found = windows.find(handle);
    return found == windows.end() ? nullptr : found->second.get();
}

void destroyAllWindows() { table().windows.clear(); }

Window *findChild(Window &dialog, int id) {
    for (HWND child : dialog.children) {
        Window *control = findWindow(child);
        if (control && control->id == id) return control;
    }
    return nullptr;
}

}  // namespace corvant::ui
