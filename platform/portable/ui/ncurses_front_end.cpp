#define NCURSES_WIDECHAR 1

#include "platform/portable/ui/ncurses_front_end.h"

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <langinfo.h>
#include <locale.h>
#include <ncurses.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/front_end.h"

namespace corvant::ui {
namespace {

volatile sig_atomic_t terminalActive = 0;
// Job control: Ctrl+Z asks for a stop, which the front end makes once the
// terminal is restored; a continue (after any stop) asks for a redraw at the
// terminal's size of that moment, which may have changed meanwhile.
volatile sig_atomic_t stopAsked = 0;
volatile sig_atomic_t continued = 0;

// Input that keeps failing without a hang-up is taken as the end after this many tries.
constexpr int failedReadsBeforeClosed = 50;
constexpr int failedReadWaitMilliseconds = 100;

const int endingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};

// Mouse reports: "\033[<" starts one in the SGR form (1006), "\033[M" one in
// the older form. ncurses reads them itself but keeps only the last of
// several that arrive together (a press and its release often do), so each
// is bound to a key code of its own here and read by the front end.
constexpr int sgrMouseKey = KEY_MAX + 0x400;
constexpr int olderMouseKey = KEY_MAX + 0x401;
const char sgrMousePrefix[] = "\033[<";
const char olderMousePrefix[] = "\033[M";
const char sgrMouseOn[] = "\033[?1006h";
const char sgrMouseOff[] = "\033[?1006l";

// Bracketed paste: the terminal marks pasted text with these, once asked.
const char pasteOn[] = "\033[?2004h";
const char pasteOff[] = "\033[?2004l";
constexpr int pasteStartKey = KEY_MAX + 0x402;
constexpr int pasteEndKey = KEY_MAX + 0x403;

// The editing keys as xterm, tmux, screen and the Linux console send them,
// known whatever the terminal's description says.
struct KnownSequence {
    const char *sequence;
    int key;
};
const KnownSequence knownSequences[] = {
    {"\033[1~", KEY_HOME}, {"\033[7~", KEY_HOME},        {"\033[H", KEY_HOME},       {"\033OH", KEY_HOME},
    {"\033[4~", KEY_END},  {"\033[8~", KEY_END},         {"\033[F", KEY_END},        {"\033OF", KEY_END},
    {"\033[2~", KEY_IC},   {"\033[3~", KEY_DC},          {"\033[5~", KEY_PPAGE},     {"\033[6~", KEY_NPAGE},
    {"\033[A", KEY_UP},    {"\033[B", KEY_DOWN},         {"\033[C", KEY_RIGHT},      {"\033[D", KEY_LEFT},
    {"\033OA", KEY_UP},    {"\033OB", KEY_DOWN},         {"\033OC", KEY_RIGHT},      {"\033OD", KEY_LEFT},
    {"\033[Z", KEY_BTAB},  {"\033[200~", pasteStartKey}, {"\033[201~", pasteEndKey},
};

// A sequence the program does not know takes at most this many bytes after "\033[".
constexpr int longestSequence = 32;

// How long the rest of a mouse report may take to arrive, per character.
constexpr int reportWaitMilliseconds = 50;
// "\033[<" is followed by at most "65535;65535;65535M".
constexpr int longestReport = 24;
// In the older form button, column and row are one byte each, 32 added.
constexpr int olderReportOffset = 32;

enum ColourPair : short {
    pairScreen = 1,
    pairDialog,
    pairEmphasis,
    pairHighlight,
    pairDisabled,
    pairShadow,
    pairMnemonic,           // where the terminal cannot underline in colour
    pairHighlightMnemonic,  // the same on the highlight
};

struct Terminal {
    SCREEN *screen = nullptr;
    FILE *input = nullptr;
    FILE *output = nullptr;
    bool ownsFiles = false;
    bool lineDrawing = false;
    bool colour = false;
    bool grey = false;  // a dark grey of its own (16 colours or more)
    // What the terminal shows of dimming and underlining beside the colours
    // in use (its "ncv" names those that colours exclude).
    bool dim = false;
    bool underline = false;
    bool sgrRequested = false;  // SGR mouse reports asked for beside ncurses' own request
    bool pasteRequested = false;
    bool utf8 = false;  // keys are read as UTF-8
};

Terminal terminal;

// Written straight to the terminal (also from a signal handler).
void writeToTerminal(const char *text) {
    if (!terminal.output) return;
    const size_t length = std::strlen(text);
    size_t written = 0;
    while (written < length) {
        ssize_t now = write(fileno(terminal.output), text + written, length - written);
        if (now < 0 && errno == EINTR) continue;
        if (now <= 0) return;
        written += static_cast<size_t>(now);
    }
}

void restoreTerminal() {
    if (terminalActive) {
        terminalActive = 0;
        if (terminal.pasteRequested) writeToTerminal(pasteOff);
        if (terminal.sgrRequested) writeToTerminal(sgrMouseOff);
        endwin();
    }
}

void restoreAndReraise(int signalNumber) {
    restoreTerminal();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void askForStop(int) { stopAsked = 1; }
void noteContinued(int) { continued = 1; }

// Without SA_RESTART, so that a read waiting for a key returns at the signal.
void catchSignal(int signalNumber, void (*handler)(int), struct sigaction *previous) {
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = handler;
    sigaction(signalNumber, &action, previous);
}

struct JobControl {
    bool installed = false;
    struct sigaction previousStop {};
    struct sigaction previousContinue {};
};
JobControl jobControl;

// Where Ctrl+Z is ignored (a shell without job control), it stays ignored.
void installJobControl() {
    struct sigaction current {};
    sigaction(SIGTSTP, nullptr, &current);
    if (current.sa_handler == SIG_IGN) return;
    stopAsked = continued = 0;
    catchSignal(SIGTSTP, askForStop, &jobControl.previousStop);
    catchSignal(SIGCONT, noteContinued, &jobControl.previousContinue);
    jobControl.installed = true;
}

void removeJobControl() {
    if (!jobControl.installed) return;
    sigaction(SIGTSTP, &jobControl.previousStop, nullptr);
    sigaction(SIGCONT, &jobControl.previousContinue, nullptr);
    jobControl = JobControl{};
}

bool hasCapability(const char *name) {
    const char *value = tigetstr(name);
    return value != nullptr && value != reinterpret_cast<char *>(-1) && *value != '\0';
}

// NO_COLOR set to anything but the empty string asks for no colour.
bool colourRefused() {
    const char *value = std::getenv("NO_COLOR");
    return value != nullptr && *value != '\0';
}

// ncurses writes box drawing characters only in a UTF-8 locale; the program
// otherwise keeps the "C" locale. Its UTF-8 character type classifies every
// single byte as the "C" locale does.
void chooseCharacterType() {
    locale_t chosen = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (!chosen) return;
    const char *codeset = nl_langinfo_l(CODESET, chosen);
    bool utf8 = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    freelocale(chosen);
    std::setlocale(LC_CTYPE, utf8 ? "" : "C");
    setUtf8Text(utf8);
    terminal.utf8 = utf8;
}

// False when the terminal cannot hold the pairs after all.
bool startColours() {
    if (start_color() == ERR || COLOR_PAIRS <= pairHighlightMnemonic) return false;
    terminal.grey = COLORS >= 16;
    const short grey = terminal.grey ? 8 : COLOR_BLACK;
    init_pair(pairScreen, COLOR_WHITE, COLOR_BLUE);
    init_pair(pairDialog, COLOR_BLACK, COLOR_WHITE);
    init_pair(pairEmphasis, COLOR_BLUE, COLOR_WHITE);
    init_pair(pairHighlight, COLOR_WHITE, COLOR_BLUE);
    init_pair(pairDisabled, grey, COLOR_WHITE);
    init_pair(pairShadow, grey, COLOR_BLACK);
    init_pair(pairMnemonic, COLOR_RED, COLOR_WHITE);
    init_pair(pairHighlightMnemonic, COLOR_YELLOW, COLOR_BLUE);
    return true;
}

// Whether the terminal shows this attribute, together with the colours if
// they are used. ncvBit is the attribute's bit in "ncv".
bool showsAttribute(attr_t attribute, int ncvBit) {
    if ((termattrs() & attribute) == 0) return false;
    const int excluded = tigetnum("ncv");
    return !terminal.colour || excluded < 0 || (excluded & ncvBit) == 0;
}

void noteAttributesShown() {
    constexpr int ncvUnderline = 2, ncvDim = 16;
    terminal.underline = showsAttribute(A_UNDERLINE, ncvUnderline);
    // With a grey of their own colours show disabled controls without dimming.
    terminal.dim = (terminal.colour && terminal.grey) || showsAttribute(A_DIM, ncvDim);
}

void startMouse() {
    mouseinterval(0);  // presses and releases as they come, not gathered into clicks
    mmask_t wanted = BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON4_PRESSED;
#if NCURSES_MOUSE_VERSION > 1
    wanted |= BUTTON5_PRESSED;
#endif
    bool reporting = mousemask(wanted, nullptr) != 0;
    define_key(sgrMousePrefix, sgrMouseKey);
    // Only where it is the mouse's: on some terminals "\033[M" is a key.
    const char *kmous = tigetstr("kmous");
    if (kmous && kmous != reinterpret_cast<char *>(-1) && std::strcmp(kmous, olderMousePrefix) == 0)
        define_key(olderMousePrefix, olderMouseKey);
    // Reports in SGR form name any column and row, the older form only up to
    // 223; a terminal that knows the form sends it once asked, one that does
    // not ignores the request.
    if (reporting) {
        writeToTerminal(sgrMouseOn);
        terminal.sgrRequested = true;
    }
    // Terminals that report the mouse as xterm does mark pastes as it does
    // once asked; others ignore the request.
    for (const KnownSequence &known : knownSequences) define_key(known.sequence, known.key);
    if (reporting || hasCapability("BE")) {
        writeToTerminal(pasteOn);
        terminal.pasteRequested = true;
    }
}

// A mnemonic letter is underlined; where the terminal cannot underline, it
// takes a colour of its own, or without colours the other weight.
void markMnemonic(const Cell &cell, attr_t &attributes, short &pair) {
    if (terminal.underline) {
        attributes |= A_UNDERLINE;
    } else if (!terminal.colour) {
        attributes ^= A_BOLD;
    } else if (pair == pairDialog || pair == pairEmphasis) {
        pair = pairMnemonic;
    } else if (pair == pairHighlight && !(cell.attributes & attrDim)) {
        pair = pairHighlightMnemonic;
        attributes |= A_BOLD;
    }
}

void styleFor(const Cell &cell, attr_t &attributes, short &pair) {
    const unsigned a = cell.attributes;
    attributes = A_NORMAL;
    pair = 0;
    if (!terminal.colour) {
        if (a & attrReverse) attributes |= A_REVERSE;
        if (a & attrDim) attributes |= A_DIM;
        if (a & (attrBold | attrTitle)) attributes |= A_BOLD;
    } else if (cell.surface == Surface::Shadow) {
        pair = pairShadow;
        if (!terminal.grey) attributes |= A_BOLD;  // bold black is dark grey on most such terminals
    } else if (cell.surface == Surface::Screen) {
        pair = pairScreen;
    } else if (a & attrReverse) {
        pair = pairHighlight;
        attributes |= (a & attrDim) ? A_DIM : A_BOLD;
    } else if (a & attrDim) {
        pair = pairDisabled;
        // Bold black is dark grey where there is no grey and no dimming (the Linux console).
        if (!terminal.grey) attributes |= terminal.dim ? A_DIM : A_BOLD;
    } else if (a & (attrBold | attrTitle)) {
        pair = pairEmphasis;
        attributes |= A_BOLD;
    } else {
        pair = pairDialog;
    }
    if (a & attrUnderline) attributes |= A_UNDERLINE;
    if (a & attrMnemonic) markMnemonic(cell, attributes, pair);
}

const cchar_t *lineGlyph(Line line) {
    switch (line) {
    case Line::Horizontal: return WACS_HLINE;
    case Line::Vertical: return WACS_VLINE;
    case Line::TopLeft: return WACS_ULCORNER;
    case Line::TopRight: return WACS_URCORNER;
    case Line::BottomLeft: return WACS_LLCORNER;
    case Line::BottomRight: return WACS_LRCORNER;
    case Line::VerticalTrack:
    case Line::HorizontalTrack: return WACS_CKBOARD;
    case Line::Thumb: return WACS_BLOCK;
    case Line::None: break;
    }
    return nullptr;
}

void drawCell(int row, int column, const Cell &cell) {
    attr_t attributes;
    short pair;
    styleFor(cell, attributes, pair);
    wchar_t text[CCHARW_MAX + 1] = {};
    const cchar_t *glyph = terminal.lineDrawing ? lineGlyph(cell.line) : nullptr;
    if (glyph) {
        attr_t glyphAttributes;
        short glyphPair;
        getcchar(glyph, text, &glyphAttributes, &glyphPair, nullptr);
        attributes |= glyphAttributes;
    } else if (!cell.glyph.empty()) {
        // Only made in a UTF-8 locale, which the program then runs in.
        if (std::mbstowcs(text, cell.glyph.c_str(), CCHARW_MAX) == static_cast<size_t>(-1)) text[0] = L'?';
    } else {
        unsigned char c = static_cast<unsigned char>(cell.character);
        text[0] = c < 0x20 || c > 0x7e ? L'?' : static_cast<wchar_t>(c);
    }
    cchar_t shown;
    setcchar(&shown, text, attributes, pair, nullptr);
    mvadd_wch(row, column, &shown);
}

int clampedReportNumber(long value) { return static_cast<int>(value > 0xFFFF ? 0xFFFF : value); }

class TerminalFrontEnd : public FrontEnd {
public:
    int columns() const override { return COLS; }
    int rows() const override { return LINES; }

    bool showsDim() const override { return terminal.dim; }

    void present(const Canvas &screen) override {
        erase();
        for (int row = 0; row < screen.rows() && row < LINES; ++row)
            for (int column = 0; column < screen.columns() && column < COLS; ++column) {
                const Cell &cell = screen.at(column, row);
                // The right half of a wide glyph is drawn with its left one, which must fit.
                if (cell.width == 0) continue;
                if (cell.width == 2 && column + 1 >= COLS) break;
                drawCell(row, column, cell);
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
        if (!pending_.empty()) {
            event = pending_.front();
            pending_.pop_front();
            return InputRead::Read;
        }
        int failedReads = 0;
        for (;;) {
            if (catchUpWithJobControl(event)) return InputRead::Read;
            nodelay(stdscr, wait ? FALSE : TRUE);
            errno = 0;
            int c = getch();
            if (c != ERR) {
                failedReads = 0;
                if (translate(c, event, wait)) return InputRead::Read;
                continue;
            }
            if (stopAsked || continued) continue;
            if (!wait) return InputRead::Nothing;
            // A signal, a stop or a read refused meanwhile is no end of input;
            // only a terminal that is gone is.
            if (errno != EINTR && terminalGone(++failedReads)) return InputRead::Closed;
        }
    }

    void forgetPending() {
        pending_.clear();
        pasting_ = pasteLineEnded_ = false;
    }

private:
    // Stops the program as Ctrl+Z asked, with the terminal restored, and
    // after any continue draws the screen again at the terminal's size.
    bool catchUpWithJobControl(InputEvent &event) {
        if (stopAsked) {
            stopAsked = 0;
            // Where the program is not alone in its job (started by a script),
            // the shell may already have taken the terminal back: restoring it
            // must then not stop the program a second time.
            sigset_t output, previous;
            sigemptyset(&output);
            sigaddset(&output, SIGTTOU);
            sigprocmask(SIG_BLOCK, &output, &previous);
            if (terminal.pasteRequested) writeToTerminal(pasteOff);
            if (terminal.sgrRequested) writeToTerminal(sgrMouseOff);
            endwin();
            sigprocmask(SIG_SETMASK, &previous, nullptr);
            signal(SIGTSTP, SIG_DFL);
            sigset_t stop;
            sigemptyset(&stop);
            sigaddset(&stop, SIGTSTP);
            sigprocmask(SIG_UNBLOCK, &stop, nullptr);
            raise(SIGTSTP);  // returns once continued
            catchSignal(SIGTSTP, askForStop, nullptr);
            continued = 1;
        }
        if (!continued) return false;
        continued = 0;
        if (terminal.sgrRequested) writeToTerminal(sgrMouseOn);
        if (terminal.pasteRequested) writeToTerminal(pasteOn);
        winsize size{};
        if (ioctl(fileno(terminal.output), TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0)
            resize_term(size.ws_row, size.ws_col);
        clearok(curscr, TRUE);  // the next refresh repaints every cell
        event = InputEvent();
        event.kind = InputKind::Resize;
        return true;
    }

    // After a failed read: whether the terminal has hung up, or its input
    // keeps failing without one (waiting a little, so as not to spin).
    static bool terminalGone(int failedReads) {
        pollfd input{fileno(terminal.input), POLLIN, 0};
        int ready = poll(&input, 1, failedReadWaitMilliseconds);
        if (ready > 0 && (input.revents & (POLLHUP | POLLERR | POLLNVAL))) return true;
        return failedReads >= failedReadsBeforeClosed;
    }

    // Inside a paste, text is text: line breaks and tabs press nothing, and
    // as in a one-line field on Windows, what follows the first line break is
    // not taken.
    bool translate(int c, InputEvent &event, bool wait) {
        if (pasting_ && c != pasteEndKey) {
            if (c == '\r' || c == '\n' || c == KEY_ENTER) pasteLineEnded_ = true;
            if (c == 27 || (c >= 0x80 && c <= 0xFF)) return translateKey(c, event, wait);
            if (pasteLineEnded_ || c < 0x20 || c >= 0x7f) return false;
            event = InputEvent();
            event.key.code = KeyCode::Character;
            event.key.character = static_cast<char>(c);
            event.key.pasted = true;
            return true;
        }
        return translateKey(c, event, wait);
    }

    bool translateKey(int c, InputEvent &event, bool wait) {
        event = InputEvent();
        Key &key = event.key;
        switch (c) {
        case KEY_RESIZE: event.kind = InputKind::Resize; return true;
        case KEY_MOUSE: return readNcursesMouse(event);
        case sgrMouseKey:
        case olderMouseKey: {
            wtimeout(stdscr, reportWaitMilliseconds);
            bool read = c == sgrMouseKey ? readSgrReport(event) : readOlderReport(event);
            nodelay(stdscr, wait ? FALSE : TRUE);
            return read;
        }
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
        case 27: return readEscape(event, wait);
        case pasteStartKey:
            pasting_ = true;
            pasteLineEnded_ = false;
            return false;
        case pasteEndKey: pasting_ = pasteLineEnded_ = false; return false;
        case KEY_IC: return false;
        default:
            if (c >= 0x80 && c <= 0xFF) return readCharacter(c, event, wait);
            // Printable characters, and Ctrl with a letter as its control
            // character (the field's line editing keys).
            if ((c >= 0x20 && c < 0x7f) || (c >= 1 && c <= 26)) {
                key.code = KeyCode::Character;
                key.character = static_cast<char>(c);
                return true;
            }
            return false;
        }
    }

    // Escape alone, Alt+key sent as Escape and the key, or a sequence of a
    // key: one the program does not know is read whole and dropped.
    bool readEscape(InputEvent &event, bool wait) {
        Key &key = event.key;
        wtimeout(stdscr, reportWaitMilliseconds);
        int next = getch();
        key.code = KeyCode::Escape;
        if (next == '[' || next == 'O') {
            // CSI: parameters and intermediates, then a final byte; SS3: one byte.
            bool csi = next == '[';
            for (int read = 0; read < longestSequence; ++read) {
                int c = getch();
                if (c == ERR || !csi || (c >= 0x40 && c <= 0x7e) || c < 0x20 || c > 0x7e) break;
            }
            nodelay(stdscr, wait ? FALSE : TRUE);
            return false;
        }
        nodelay(stdscr, wait ? FALSE : TRUE);
        if (next >= 0x21 && next < 0x7f) {
            key.code = KeyCode::Character;
            key.character = static_cast<char>(next);
            key.alt = true;
        }
        return !pasting_;
    }

    // The rest of a character of several bytes, in a UTF-8 locale: each of
    // its bytes is a key. A byte that begins no valid character is dropped.
    bool readCharacter(int lead, InputEvent &event, bool wait) {
        if (!terminal.utf8) return false;
        std::string bytes(1, static_cast<char>(lead));
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        wtimeout(stdscr, reportWaitMilliseconds);
        while (static_cast<int>(bytes.size()) < length) {
            int c = getch();
            if (c < 0x80 || c > 0xBF) {
                if (c != ERR) ungetch(c);  // the next key's
                break;
            }
            bytes += static_cast<char>(c);
        }
        nodelay(stdscr, wait ? FALSE : TRUE);
        bool saved = utf8Text();
        setUtf8Text(true);
        Glyph glyph = glyphAt(bytes, 0);
        setUtf8Text(saved);
        if (static_cast<int>(bytes.size()) != length || glyph.length != bytes.size() || (pasting_ && pasteLineEnded_))
            return false;
        event.key.code = KeyCode::Character;
        event.key.character = bytes[0];
        event.key.pasted = pasting_;
        for (size_t i = 1; i < bytes.size(); ++i) {
            InputEvent more = event;
            more.key.character = bytes[i];
            pending_.push_back(more);
        }
        return true;
    }

    static void setMouse(InputEvent &event, MouseAction action, int column, int row) {
        event.kind = InputKind::Mouse;
        event.mouse.action = action;
        event.mouse.column = column;
        event.mouse.row = row;
    }

    // A report that ncurses has read itself (a mouse of another kind).
    bool readNcursesMouse(InputEvent &event) {
        MEVENT report;
        if (getmouse(&report) != OK) return false;
        if (report.bstate & BUTTON1_PRESSED) {
            setMouse(event, MouseAction::Press, report.x, report.y);
        } else if (report.bstate & BUTTON1_RELEASED) {
            setMouse(event, MouseAction::Release, report.x, report.y);
        } else if (report.bstate & (BUTTON1_CLICKED | BUTTON1_DOUBLE_CLICKED | BUTTON1_TRIPLE_CLICKED)) {
            setMouse(event, MouseAction::Press, report.x, report.y);
            InputEvent release = event;
            release.mouse.action = MouseAction::Release;
            pending_.push_back(release);
        } else if (report.bstate & BUTTON4_PRESSED) {
            setMouse(event, MouseAction::WheelUp, report.x, report.y);
#if NCURSES_MOUSE_VERSION > 1
        } else if (report.bstate & BUTTON5_PRESSED) {
            setMouse(event, MouseAction::WheelDown, report.x, report.y);
#endif
        } else {
            return false;
        }
        return true;
    }

    // The rest of "\033[<BUTTON;COLUMN;ROW" and "M" (pressed) or "m"
    // (released), column and row counted from 1. Anything else is dropped.
    bool readSgrReport(InputEvent &event) {
        long numbers[3] = {0, 0, 0};
        int count = 0, digits = 0;
        for (int read = 0; read < longestReport; ++read) {
            int c = getch();
            if (c >= '0' && c <= '9') {
                numbers[count] = numbers[count] * 10 + (c - '0');
                if (numbers[count] > 0xFFFF) numbers[count] = 0x10000;
                ++digits;
            } else if (c == ';' && digits > 0 && count < 2) {
                ++count;
                digits = 0;
            } else if ((c == 'M' || c == 'm') && digits > 0 && count == 2) {
                return mouseEvent(clampedReportNumber(numbers[0]), clampedReportNumber(numbers[1]),
                                  clampedReportNumber(numbers[2]), c == 'M', event);
            } else {
                return false;
            }
        }
        return false;
    }

    // The rest of "\033[M": three bytes, button, column and row. Button 3 is
    // a release (of whichever button was down).
    bool readOlderReport(InputEvent &event) {
        int values[3];
        for (int &value : values) {
            int c = getch();
            if (c < olderReportOffset || c > 0xFF) return false;
            value = c - olderReportOffset;
        }
        if (values[0] == 3) return mouseEvent(0, values[1], values[2], false, event);
        return mouseEvent(values[0], values[1], values[2], true, event);
    }

    // Column and row counted from 1; the button's low bits say which, 64
    // the wheel, 32 a movement; 4, 8 and 16 are Shift, Alt and Control.
    static bool mouseEvent(int button, int column, int row, bool pressed, InputEvent &event) {
        if (column < 1 || row < 1) return false;
        const int shiftAltControl = 4 | 8 | 16;
        switch (button & ~shiftAltControl) {
        case 0: setMouse(event, pressed ? MouseAction::Press : MouseAction::Release, column - 1, row - 1); return true;
        case 64:
            if (!pressed) return false;
            setMouse(event, MouseAction::WheelUp, column - 1, row - 1);
            return true;
        case 65:
            if (!pressed) return false;
            setMouse(event, MouseAction::WheelDown, column - 1, row - 1);
            return true;
        default: return false;  // other buttons, and movement
        }
    }

    std::deque<InputEvent> pending_;
    bool pasting_ = false;
    bool pasteLineEnded_ = false;  // the rest of this paste is dropped
};

TerminalFrontEnd front;

bool start(FILE *input, FILE *output, const char *terminalType) {
    chooseCharacterType();
    set_escdelay(25);
    installJobControl();  // before ncurses, which then leaves Ctrl+Z to the front end
    terminal.screen = newterm(terminalType, output, input);
    if (!terminal.screen) {
        removeJobControl();
        return false;
    }
    set_term(terminal.screen);
    // A terminal that cannot place the cursor ("dumb", a printing terminal)
    // cannot show a dialog.
    if (!hasCapability("cup")) {
        endwin();
        delscreen(terminal.screen);
        terminal.screen = nullptr;
        removeJobControl();
        return false;
    }
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
    terminal.lineDrawing = hasCapability("acsc");
    terminal.colour = has_colors() && !colourRefused() && startColours();
    noteAttributesShown();
    startMouse();
    front.forgetPending();
    setActiveFrontEnd(&front);
    return true;
}

}  // namespace

bool startTerminalFrontEnd() {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return false;
    terminal = Terminal{};
    terminal.input = stdin;
    terminal.output = stdout;
    return start(stdin, stdout, nullptr);
}

bool startTerminalFrontEnd(int input, int output, const char *terminalType) {
    terminal = Terminal{};
    int inputCopy = dup(input), outputCopy = dup(output);
    terminal.input = inputCopy >= 0 ? fdopen(inputCopy, "r") : nullptr;
    terminal.output = outputCopy >= 0 ? fdopen(outputCopy, "w") : nullptr;
    terminal.ownsFiles = true;
    if (!terminal.input && inputCopy >= 0) close(inputCopy);
    if (!terminal.output && outputCopy >= 0) close(outputCopy);
    if (terminal.input && terminal.output && start(terminal.input, terminal.output, terminalType)) return true;
    stopTerminalFrontEnd();
    return false;
}

void stopTerminalFrontEnd() {
    if (activeFrontEnd() == &front) setActiveFrontEnd(nullptr);
    restoreTerminal();
    removeJobControl();
    if (terminal.screen) delscreen(terminal.screen);
    if (terminal.ownsFiles) {
        if (terminal.input) std::fclose(terminal.input);
        if (terminal.output) std::fclose(terminal.output);
    }
    terminal = Terminal{};
}

}  // namespace corvant::ui
