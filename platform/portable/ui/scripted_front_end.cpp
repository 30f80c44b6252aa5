#include "platform/portable/ui/scripted_front_end.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <stdexcept>

#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/front_end.h"

namespace corvant::testing {
namespace {

using ui::Key;
using ui::KeyCode;

struct ScriptStep {
    enum Kind { Press, Snap, Resize, Pass } kind = Press;
    Key key;
    int columns = 0, rows = 0;
    bool busy = false;  // arrives while the dialog is busy, not only once it waits
};

class ScriptedFrontEnd : public ui::FrontEnd {
public:
    ScriptedFrontEnd(int columns, int rows) : columns_(columns), rows_(rows), screen_(columns, rows) {}

    int columns() const override { return columns_; }
    int rows() const override { return rows_; }
    void present(const ui::Canvas &screen) override { screen_ = screen; }

    ui::InputRead readInput(ui::InputEvent &event, bool wait) override {
        while (!steps_.empty()) {
            if (!wait && !steps_.front().busy) return ui::InputRead::Nothing;
            ScriptStep step = steps_.front();
            steps_.pop_front();
            if (step.busy && wait) busyCameLate_ = true;
            if (step.kind == ScriptStep::Pass) {
                if (!wait) return ui::InputRead::Nothing;
            } else if (step.kind == ScriptStep::Snap) {
                snapshots_.push_back(screen_.text());
            } else if (step.kind == ScriptStep::Resize) {
                columns_ = step.columns;
                rows_ = step.rows;
                event = ui::InputEvent{ui::InputKind::Resize, Key{}};
                return ui::InputRead::Read;
            } else {
                event = ui::InputEvent{ui::InputKind::Key, step.key};
                return ui::InputRead::Read;
            }
        }
        if (!wait) return ui::InputRead::Nothing;
        ranDry_ = true;
        return ui::InputRead::Closed;
    }

    void queue(const ScriptStep &step) { steps_.push_back(step); }
    std::string text() const { return screen_.text(); }
    const std::vector<std::string> &snapshots() const { return snapshots_; }
    bool ranDry() const { return ranDry_; }
    bool busyCameLate() const { return busyCameLate_; }

private:
    int columns_, rows_;
    ui::Canvas screen_;
    std::deque<ScriptStep> steps_;
    std::vector<std::string> snapshots_;
    bool ranDry_ = false;
    bool busyCameLate_ = false;
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

void startScriptedFrontEnd(int columns, int rows) {
    ui::resetDialogManager();
    setClockStep(0);
    current() = std::make_unique<ScriptedFrontEnd>(columns, rows);
    ui::setActiveFrontEnd(current().get());
}

void stopScriptedFrontEnd() {
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
            if (close == std::string::npos || !namedKey(script.substr(i + 1, close - i - 1), step))
                throw std::invalid_argument("unknown key in script: " + script.substr(i));
            i = close;
            if (step.busy) {
                busy = true;
                continue;
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

std::string screenText() { return frontEnd().text(); }
std::vector<std::string> snapshots() { return frontEnd().snapshots(); }
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
