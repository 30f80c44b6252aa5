#include "platform/portable/ui/ncurses_front_end.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ncurses.h>
#include <unistd.h>

#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/front_end.h"

namespace corvant::ui {
namespace {

volatile sig_atomic_t terminalActive = 0;

const int endingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};

void restoreTerminal() {
    if (terminalActive) {
        terminalActive = 0;
        endwin();
    }
}

void restoreAndReraise(int signalNumber) {
    restoreTerminal();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

chtype attributesFor(unsigned attributes) {
    chtype result = A_NORMAL;
    if (attributes & attrReverse) result |= A_REVERSE;
    if (attributes & attrDim) result |= A_DIM;
    if (attributes & attrBold) result |= A_BOLD;
    if (attributes & attrUnderline) result |= A_UNDERLINE;
    return result;
}

class TerminalFrontEnd : public FrontEnd {
public:
    int columns() const override { return COLS; }
    int rows() const override { return LINES; }

    void present(const Canvas &screen) override {
        erase();
        for (int row = 0; row < screen.rows() && row < LINES; ++row)
            for (int column = 0; column < screen.columns() && column < COLS; ++column) {
                const Cell &cell = screen.at(column, row);
                unsigned char c = static_cast<unsigned char>(cell.character);
                mvaddch(row, column, (c < 0x20 || c > 0x7e ? '?' : c) | attributesFor(cell.attributes));
            }
        if (screen.cursorColumn >= 0 && screen.cursorRow >= 0) {
            curs_set(1);
            move(screen.cursorRow, screen.cursorColumn);
        } else {
            curs_set(0);
        }
        refresh();
    }

    InputRead readInput(InputEvent &event, bool wait) override {
        nodelay(stdscr, wait ? FALSE : TRUE);
        for (;;) {
            errno = 0;
            int c = getch();
            if (c == ERR && !wait) return InputRead::Nothing;
            if (c == ERR && errno == EINTR) continue;
            if (c == ERR) return InputRead::Closed;
            if (translate(c, event, wait)) return InputRead::Read;
        }
    }

private:
    bool translate(int c, InputEvent &event, bool wait) {
        event = InputEvent();
        Key &key = event.key;
        switch (c) {
        case KEY_RESIZE: event.kind = InputKind::Resize; return true;
        case '\n':
        case '\r':
        case KEY_ENTER: key.code = KeyCode::Enter; return true;
        case '\t': key.code = KeyCode::Tab; return true;
        case KEY_BTAB: key.code = KeyCode::BackTab; return true;
        case ' ': key.code = KeyCode::Space; return true;
        case KEY_UP: key.code = KeyCode::Up; return true;
        case KEY_DOWN: key.code = KeyCode::Down; return true;
        case KEY_LEFT: key.code = KeyCode::Left; return true;
        case KEY_RIGHT: key.code = KeyCode::Right; return true;
        case KEY_HOME: key.code = KeyCode::Home; return true;
        case KEY_END: key.code = KeyCode::End; return true;
        case KEY_PPAGE: key.code = KeyCode::PageUp; return true;
        case KEY_NPAGE: key.code = KeyCode::PageDown; return true;
        case KEY_BACKSPACE:
        case 127:
        case 8: key.code = KeyCode::Backspace; return true;
        case KEY_DC: key.code = KeyCode::Delete; return true;
        case 27: {
            // Escape alone, or Alt+key sent as Escape followed by the key.
            nodelay(stdscr, TRUE);
            int next = getch();
            nodelay(stdscr, wait ? FALSE : TRUE);
            if (next == ERR || next == 27) {
                key.code = KeyCode::Escape;
                return true;
            }
            if (next >= 0x20 && next < 0x7f && next != ' ') {
                key.code = KeyCode::Character;
                key.character = static_cast<char>(next);
                key.alt = true;
                return true;
            }
            key.code = KeyCode::Escape;
            return true;
        }
        default:
            if (c >= 0x20 && c < 0x7f) {
                key.code = KeyCode::Character;
                key.character = static_cast<char>(c);
                return true;
            }
            return false;
        }
    }
};

TerminalFrontEnd terminal;

}  // namespace

bool startTerminalFrontEnd() {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return false;
    set_escdelay(25);
    if (!initscr()) return false;
    terminalActive = 1;
    static bool handlersInstalled = false;
    if (!handlersInstalled) {
        handlersInstalled = true;
        std::atexit(restoreTerminal);
        for (int signalNumber : endingSignals) std::signal(signalNumber, restoreAndReraise);
    }
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    setActiveFrontEnd(&terminal);
    return true;
}

void stopTerminalFrontEnd() {
    if (activeFrontEnd() == &terminal) setActiveFrontEnd(nullptr);
    restoreTerminal();
}

}  // namespace corvant::ui
