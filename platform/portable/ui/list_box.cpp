#include "platform/portable/ui/list_box.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/portable/ui/layout.h"

namespace corvant::ui {
namespace {

bool lessIgnoringCase(const std::string &a, const std::string &b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char l, char r) {
        return std::tolower(static_cast<unsigned char>(l)) < std::tolower(static_cast<unsigned char>(r));
    });
}

int count(const Window &list) { return static_cast<int>(list.items.size()); }

bool validIndex(const Window &list, WPARAM index) { return index < list.items.size(); }

void scrollIntoView(Window &list) {
    int rows = listVisibleRows(list);
    if (list.caret < list.topIndex)
        list.topIndex = list.caret;
    else if (list.caret >= list.topIndex + rows)
        list.topIndex = list.caret - rows + 1;
    list.topIndex = std::max(0, std::min(list.topIndex, std::max(0, count(list) - rows)));
}

LRESULT addString(Window &list, LPARAM lParam) {
    std::string text = lParam ? reinterpret_cast<const char *>(lParam) : "";
    auto position = list.items.end();
    if (list.style & LBS_SORT)
        position = std::upper_bound(list.items.begin(), list.items.end(), text, lessIgnoringCase);
    int index = static_cast<int>(position - list.items.begin());
    list.items.insert(position, std::move(text));
    // A highlighted entry stays highlighted as entries are inserted before it.
    if (list.selected >= 0 && index <= list.selected) {
        ++list.selected;
        list.caret = list.selected;
    } else if (list.selected < 0 && list.caret > 0 && index <= list.caret) {
        ++list.caret;
    }
    return index;
}

LRESULT getText(const Window &list, WPARAM index, LPARAM buffer) {
    if (!validIndex(list, index) || !buffer) return LB_ERR;
    const std::string &text = list.items[index];
    std::memcpy(reinterpret_cast<char *>(buffer), text.c_str(), text.size() + 1);
    return static_cast<LRESULT>(text.size());
}

LRESULT setSelection(Window &list, WPARAM index) {
    if (static_cast<int>(index) == -1 || !validIndex(list, index)) {
        list.selected = -1;
        return LB_ERR;
    }
    list.selected = static_cast<int>(index);
    list.caret = list.selected;
    scrollIntoView(list);
    return list.selected;
}

void moveHighlight(Window &list, int target) {
    if (list.items.empty()) return;
    target = std::max(0, std::min(target, count(list) - 1));
    bool changed = target != list.selected;
    list.caret = target;
    list.selected = target;
    scrollIntoView(list);
    if (changed) notifySelectionChange(list);
}

// The next entry after the caret that starts with this letter, ignoring case.
int findByFirstLetter(const Window &list, char letter) {
    int n = count(list);
    int lower = std::tolower(static_cast<unsigned char>(letter));
    for (int step = 1; step <= n; ++step) {
        int index = (list.caret + step) % n;
        const std::string &item = list.items[index];
        if (!item.empty() && std::tolower(static_cast<unsigned char>(item[0])) == lower) return index;
    }
    return -1;
}

}  // namespace

LRESULT listBoxMessage(Window &list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case LB_ADDSTRING: return addString(list, lParam);
    case LB_RESETCONTENT:
        list.items.clear();
        list.caret = 0;
        list.selected = -1;
        list.topIndex = 0;
        list.horizontalOffset = 0;
        return 0;
    case LB_GETCOUNT: return count(list);
    case LB_GETTEXT: return getText(list, wParam, lParam);
    case LB_GETTEXTLEN: return validIndex(list, wParam) ? static_cast<LRESULT>(list.items[wParam].size()) : LB_ERR;
    case LB_GETCURSEL: return list.selected;
    case LB_SETCURSEL: return setSelection(list, wParam);
    case LB_GETCARETINDEX: return list.caret;
    case LB_SETCARETINDEX:
        if (!validIndex(list, wParam)) return LB_ERR;
        list.caret = static_cast<int>(wParam);
        scrollIntoView(list);
        return 0;
    case LB_GETHORIZONTALEXTENT: return list.horizontalExtent;
    case LB_SETHORIZONTALEXTENT:
        list.horizontalExtent = static_cast<int>(std::min<WPARAM>(wParam, 0x7fffffff));
        list.horizontalOffset = std::min(list.horizontalOffset, listHorizontalRange(list));
        return 0;
    default: return 0;
    }
}

bool listBoxKey(Window &list, const Key &key) {
    // With a sideways scrolling range, Left and Right scroll; otherwise they move
    // the highlight like Up and Down, as a single-column list box does.
    int range = listHorizontalRange(list);
    if ((key.code == KeyCode::Left || key.code == KeyCode::Right) && range > 0) {
        int step = key.code == KeyCode::Left ? -1 : 1;
        list.horizontalOffset = std::max(0, std::min(range, list.horizontalOffset + step));
        return true;
    }
    int page = std::max(1, listVisibleRows(list) - 1);
    int target;
    switch (key.code) {
    case KeyCode::Up:
    case KeyCode::Left: target = list.caret - 1; break;
    case KeyCode::Down:
    case KeyCode::Right: target = list.caret + 1; break;
    case KeyCode::Home: target = 0; break;
    case KeyCode::End: target = count(list) - 1; break;
    case KeyCode::PageUp: target = list.caret - page; break;
    case KeyCode::PageDown: target = list.caret + page; break;
    case KeyCode::Character:
        if (key.alt) return false;
        target = findByFirstLetter(list, key.character);
        if (target < 0) return true;
        break;
    default: return false;
    }
    // Until something is highlighted, the first key highlights the caret entry
    // rather than moving away from it.
    if (list.selected != list.caret && key.code != KeyCode::Character) target = list.caret;
    moveHighlight(list, target);
    return true;
}

ListPress listBoxPress(Window &list, int column, int row) {
    const ListScrollBars bars = listScrollBars(list);
    if (column == bars.verticalColumn && row >= 1 && row <= listVisibleRows(list)) {
        int page = listVisibleRows(list);
        if (bars.verticalThumbRow > 0 && row != bars.verticalThumbRow)
            listBoxScroll(list, row < bars.verticalThumbRow ? -page : page);
        return ListPress::ScrollBar;
    }
    if (row == bars.horizontalRow && column >= 1 && column <= bars.horizontalLength) {
        int page = listTextColumns(list), range = listHorizontalRange(list);
        if (bars.horizontalThumbColumn > 0 && column != bars.horizontalThumbColumn) {
            int offset = list.horizontalOffset + (column < bars.horizontalThumbColumn ? -page : page);
            list.horizontalOffset = std::max(0, std::min(range, offset));
        }
        return ListPress::ScrollBar;
    }
    const int lastColumn = cellRect(list).width - 2 - ((list.style & WS_VSCROLL) ? 1 : 0);
    if (column < 1 || column > lastColumn || row < 1 || row > listVisibleRows(list)) return ListPress::Frame;
    int index = list.topIndex + row - 1;
    if (index < count(list)) {
        list.caret = list.selected = index;
        scrollIntoView(list);
    }
    return ListPress::Entries;
}

void listBoxRelease(Window &list, int row) {
    int index = list.topIndex + row - 1;
    if (row < 1 || row > listVisibleRows(list) || index >= count(list)) return;
    list.caret = list.selected = index;
    scrollIntoView(list);
}

void listBoxScroll(Window &list, int rows) {
    int last = std::max(0, count(list) - listVisibleRows(list));
    list.topIndex = std::max(0, std::min(last, list.topIndex + rows));
}

}  // namespace corvant::ui
