#include "platform/portable/ui/scripted_front_end.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/front_end.h"

namespace corvant::testing {
namespace {

using ui::Key;
using ui::KeyCode;

struct ScriptStep {
    enum Kind { Press, Snap, Resize, Pass, Mouse } kind = Press;
    Key key;
    int columns = 0, rows = 0;
    bool busy = false;  // arrives while the dialog is busy, not only once it waits
    // Mouse steps: where, as a cell or as a text to find on the screen.
    ui::MouseAction action = ui::MouseAction::Press;
    int column = -1, row = -1;
    std::string text;
    bool wherePressed = false;  // the release of a click: where its press was
};

// The first cell of the first appearance of text on the screen.
bool findOnScreen(const ui::Canvas &screen, const std::string &text, int &column, int &row) {
    for (int r = 0; r < screen.rows(); ++r) {
        std::string line;
        std::vector<int> columnOfByte;
        for (int c = 0; c < screen.columns(); ++c) {
            const ui::Cell &cell = screen.at(c, r);
            if (cell.width == 0) continue;
            const std::string shown = cell.glyph.empty() ? std::string(1, cell.character) : cell.glyph;
            line += shown;
            columnOfByte.insert(columnOfByte.end(), shown.size(), c);
        }
        size_t at = line.find(text);
        if (at != std::string::npos) {
            column = columnOfByte[at];
            row = r;
            return true;
        }
    }
    return false;
}

class ScriptedFrontEnd : public ui::FrontEnd {
public:
    ScriptedFrontEnd(int columns, int rows) : columns_(columns), rows_(rows), screen_(columns, rows) {}

    int columns() const override { return columns_; }
    int rows() const override { return rows_; }
    void present(const ui::Canvas &screen) override { screen_ = screen; }
    bool showsDim() const override { return dimShown_; }
    void setDimShown(bool shown) { dimShown_ = shown; }

    ui::InputRead readInput(ui::InputEvent &event, bool wait) override {
        while (!steps_.empty()) {
            if (!wait && !steps_.front().busy) return ui::InputRead::Nothing;
            ScriptStep step = steps_.front();
            steps_.pop_front();
            if (step.busy && wait) busyCameLate_ = true;
            event = ui::InputEvent{};
            if (step.kind == ScriptStep::Pass) {
                if (!wait) return ui::InputRead::Nothing;
            } else if (step.kind == ScriptStep::Snap) {
                snapshots_.push_back(screen_);
            } else if (step.kind == ScriptStep::Resize) {
                columns_ = step.columns;
                rows_ = step.rows;
                event.kind = ui::InputKind::Resize;
                return ui::InputRead::Read;
            } else if (step.kind == ScriptStep::Mouse) {
                event.kind = ui::InputKind::Mouse;
                event.mouse.action = step.action;
                event.mouse.column = step.column;
                event.mouse.row = step.row;
                if (step.wherePressed) {
                    event.mouse.column = pressedColumn_;
                    event.mouse.row = pressedRow_;
                } else if (!step.text.empty() &&
                           !findOnScreen(screen_, step.text, event.mouse.column, event.mouse.row)) {
                    throw std::invalid_argument("the mouse's target is not on the screen: " + step.text + "\n" +
                                                screen_.text());
                }
                if (step.action == ui::MouseAction::Press) {
                    pressedColumn_ = event.mouse.column;
                    pressedRow_ = event.mouse.row;
                }
                return ui::InputRead::Read;
            } else {
                event.key = step.key;
                return ui::InputRead::Read;
            }
        }
        if (!wait) return ui::InputRead::Nothing;
        ranDry_ = true;
        return ui::InputRead::Closed;
    }

    void queue(const ScriptStep &step) { steps_.push_back(step); }
    const ui::Canvas &screen() const { return screen_; }
    const std::vector<ui::Canvas> &snapshots() const { return snapshots_; }
    bool ranDry() const { return ranDry_; }
    bool busyCameLate() const { return busyCameLate_; }

private:
    int columns_, rows_;
    ui::Canvas screen_;
    std::deque<ScriptStep> steps_;
    std::vector<ui::Canvas> snapshots_;
    int pressedColumn_ = -1, pressedRow_ = -1;
    bool ranDry_ = false;
    bool busyCameLate_ = false;
    bool dimShown_ = true;
};

std::unique_ptr<ScriptedFrontEnd> &current() {
    static std::unique_ptr<ScriptedFrontEnd> frontEnd;
    return frontEnd;
}

bool namedKey(const std::string &name, ScriptStep &step) {
    static const struct {
        const char *name;
        KeyCode code;
    } names[] = {
        {"Enter", KeyCode::Enter},   {"Esc", KeyCode::Escape},
        {"Tab", KeyCode::Tab},       {"S-Tab", KeyCode::BackTab},
        {"Space", KeyCode::Space},   {"Up", KeyCode::Up},
        {"Down", KeyCode::Down},     {"Left", KeyCode::Left},
        {"Right", KeyCode::Right},   {"Home", KeyCode::Home},
        {"End", KeyCode::End},       {"PgUp", KeyCode::PageUp},
        {"PgDn", KeyCode::PageDown}, {"Backspace", KeyCode::Backspace},
        {"Del", KeyCode::Delete},
    };
    for (const auto &entry : names)
        if (name == entry.name) {
            step.key = Key{entry.code, 0, false};
            return true;
        }
    if (name.size() == 3 && name.compare(0, 2, "A-") == 0) {
        step.key = Key{KeyCode::Character, name[2], true};
        return true;
    }
    // Ctrl+letter: its control character, as a terminal sends it.
    if (name.size() == 3 && name.compare(0, 2, "C-") == 0 && name[2] >= 'a' && name[2] <= 'z') {
        step.key = Key{KeyCode::Character, static_cast<char>(name[2] - 'a' + 1), false};
        return true;
    }
    if (name == "Busy") {
        step.busy = true;
        return true;
    }
    if (name == "Pass") {
        step.kind = ScriptStep::Pass;
        return true;
    }
    if (name == "Snap") {
        step.kind = ScriptStep::Snap;
        return true;
    }
    static const struct {
        const char *prefix;
        ui::MouseAction action;
    } mouseSteps[] = {
        {"Press:", ui::MouseAction::Press},
        {"Release:", ui::MouseAction::Release},
        {"WheelUp:", ui::MouseAction::WheelUp},
        {"WheelDown:", ui::MouseAction::WheelDown},
    };
    for (const auto &entry : mouseSteps) {
        size_t length = std::char_traits<char>::length(entry.prefix);
        if (name.compare(0, length, entry.prefix) != 0 || name.size() == length) continue;
        step.kind = ScriptStep::Mouse;
        step.action = entry.action;
        int column = 0, row = 0;
        char end = 0;
        if (std::sscanf(name.c_str() + length, "%d,%d%c", &column, &row, &end) == 2) {
            step.column = column;
            step.row = row;
        } else {
            step.text = name.substr(length);
        }
        return true;
    }
    int columns = 0, rows = 0;
    char end = 0;
    if (std::sscanf(name.c_str(), "Resize:%dx%d%c", &columns, &rows, &end) == 2 && columns > 0 && rows > 0) {
        step.kind = ScriptStep::Resize;
        step.columns = columns;
        step.rows = rows;
        return true;
    }
    return false;
}

ScriptedFrontEnd &frontEnd() {
    if (!current()) throw std::logic_error("the scripted front end has not been started");
    return *current();
}

}  // namespace

void startScriptedFrontEnd(int columns, int rows, bool utf8) {
    // A UTF-8 screen measures characters as a terminal in a UTF-8 locale does.
    std::setlocale(LC_CTYPE, utf8 ? "C.UTF-8" : "C");
    ui::setUtf8Text(utf8);
    ui::resetDialogManager();
    setClockStep(0);
    current() = std::make_unique<ScriptedFrontEnd>(columns, rows);
    ui::setActiveFrontEnd(current().get());
}

void showWithoutDimming() { frontEnd().setDimShown(false); }

void stopScriptedFrontEnd() {
    std::setlocale(LC_CTYPE, "C");
    ui::setUtf8Text(false);
    ui::resetDialogManager();
    setClockStep(0);
    ui::setActiveFrontEnd(nullptr);
    current().reset();
}

void typeKeys(const std::string &script) {
    ScriptedFrontEnd &target = frontEnd();
    bool busy = false;
    for (size_t i = 0; i < script.size(); ++i) {
        ScriptStep step;
        char c = script[i];
        if (c == '{' && i + 1 < script.size() && script[i + 1] == '{') {
            step.key = Key{KeyCode::Character, '{', false};
            ++i;
        } else if (c == '{') {
            size_t close = script.find('}', i);
            std::string name = close == std::string::npos ? std::string() : script.substr(i + 1, close - i - 1);
            // A click is a press and a release at the same place.
            bool click = name.compare(0, 6, "Click:") == 0;
            if (click) name.replace(0, 6, "Press:");
            if (close == std::string::npos || !namedKey(name, step))
                throw std::invalid_argument("unknown key in script: " + script.substr(i));
            i = close;
            if (step.busy) {
                busy = true;
                continue;
            }
            if (click) {
                step.busy = busy;
                target.queue(step);
                step.action = ui::MouseAction::Release;
                // The press may change the screen (a focused button is drawn
                // otherwise); the release comes where the press went.
                step.wherePressed = true;
            }
        } else if (c == ' ') {
            step.key = Key{KeyCode::Space, 0, false};
        } else if (c == '\n') {
            step.key = Key{KeyCode::Enter, 0, false};
        } else if (c == '\t') {
            step.key = Key{KeyCode::Tab, 0, false};
        } else {
            step.key = Key{KeyCode::Character, c, false};
        }
        step.busy = busy;
        busy = false;
        target.queue(step);
    }
}

std::string screenText() { return frontEnd().screen().text(); }

std::vector<std::string> snapshots() {
    std::vector<std::string> texts;
    for (const ui::Canvas &screen : frontEnd().snapshots()) texts.push_back(screen.text());
    return texts;
}

ui::Canvas screenCanvas() { return frontEnd().screen(); }
std::vector<ui::Canvas> snapshotCanvases() { return frontEnd().snapshots(); }
bool scriptRanDry() { return current() && (current()->ranDry() || ui::inputExhausted()); }
bool busyKeysCameLate() { return current() && current()->busyCameLate(); }

HWND createStandaloneListBox(unsigned long style) {
    ui::Window list;
    list.kind = ui::WindowKind::ListBox;
    list.style = static_cast<DWORD>(style);
    list.cx = 214;
    list.cy = 90;
    return ui::createWindow(list);
}

void destroyStandaloneWindow(HWND window) { ui::destroyWindow(window); }

}  // namespace corvant::testing
