// The terminal front end on a pseudo-terminal, as ncurses drives a real one:
// what it writes for lines, colours and attributes on terminals of several
// kinds, and how it reads keys and mouse reports, hostile ones included.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <csignal>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/portable/ui/canvas.h"
#include "platform/portable/ui/front_end.h"
#include "platform/portable/ui/ncurses_front_end.h"

namespace corvant::testing {
namespace {

using ui::Canvas;
using ui::InputEvent;
using ui::InputKind;
using ui::InputRead;
using ui::KeyCode;
using ui::Line;
using ui::MouseAction;
using ui::Surface;

const char boxTopLeft[] = "\u250c";
const char boxHorizontal[] = "\u2500";
const char lineDrawingOn[] = "\033(0";  // xterm's switch to its line drawing set

// A pseudo-terminal whose output is collected as it comes, so that the
// front end never waits for a reader.
class PseudoTerminal {
public:
    PseudoTerminal(int columns, int rows) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
        winsize size{};
        size.ws_col = static_cast<unsigned short>(columns);
        size.ws_row = static_cast<unsigned short>(rows);
        if (slave_ >= 0) ioctl(slave_, TIOCSWINSZ, &size);
        reader_ = std::thread([this] { collect(); });
    }
    ~PseudoTerminal() {
        stop_ = true;
        if (reader_.joinable()) reader_.join();
        if (slave_ >= 0) close(slave_);
        if (master_ >= 0) close(master_);
    }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool ready() const { return slave_ >= 0; }
    int terminal() const { return slave_; }
    void resize(int columns, int rows) {
        winsize size{};
        size.ws_col = static_cast<unsigned short>(columns);
        size.ws_row = static_cast<unsigned short>(rows);
        ioctl(slave_, TIOCSWINSZ, &size);
    }
    // The terminal window closes: its side of the pseudo-terminal goes.
    void hangUp() {
        stop_ = true;
        if (reader_.joinable()) reader_.join();
        close(master_);
        master_ = -1;
    }

    // Nothing to type writes nothing: even an empty write waits for another
    // thread's write that fills the terminal's input.
    void type(const std::string &bytes) {
        if (bytes.empty()) return;
        ASSERT_EQ(write(master_, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    }

    // What the front end wrote, once it has stopped writing for a moment.
    std::string output() {
        std::string seen;
        for (int settled = 0; settled < 5;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::lock_guard<std::mutex> lock(mutex_);
            settled = output_.size() == seen.size() ? settled + 1 : 0;
            seen = output_;
        }
        return seen;
    }

private:
    void collect() {
        char buffer[4096];
        while (!stop_) {
            pollfd ready{master_, POLLIN, 0};
            if (poll(&ready, 1, 20) <= 0) continue;
            ssize_t got = read(master_, buffer, sizeof buffer);
            if (got <= 0) continue;
            std::lock_guard<std::mutex> lock(mutex_);
            output_.append(buffer, static_cast<size_t>(got));
        }
    }

    int master_ = -1, slave_ = -1;
    std::thread reader_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::string output_;
};

// Sets an environment variable for one test (null unsets it).
class Environment {
public:
    Environment(const char *name, const char *value) : name_(name) {
        const char *old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~Environment() {
        if (had_)
            setenv(name_.c_str(), old_.c_str(), 1);
        else
            unsetenv(name_.c_str());
    }

private:
    std::string name_, old_;
    bool had_ = false;
};

bool localeExists(const char *name) {
    locale_t found = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
    if (found) freelocale(found);
    return found != nullptr;
}

// The front end started on the pseudo-terminal for one test.
class TerminalSession {
public:
    TerminalSession(PseudoTerminal &pty, const char *type)
        : started_(pty.ready() && ui::startTerminalFrontEnd(pty.terminal(), pty.terminal(), type)) {}
    ~TerminalSession() {
        if (started_) ui::stopTerminalFrontEnd();
    }
    bool started() const { return started_; }

private:
    bool started_;
};

// A framed dialog with a focused word, a dimmed one, a mnemonic letter, its
// shadow and the screen around it.
Canvas sampleScreen() {
    Canvas screen(40, 12);
    screen.setSurface(2, 2, 30, 6, Surface::Dialog);
    screen.putLine(2, 2, Line::TopLeft);
    for (int c = 3; c < 31; ++c) {
        screen.putLine(c, 2, Line::Horizontal);
        screen.putLine(c, 7, Line::Horizontal);
    }
    screen.putLine(31, 2, Line::TopRight);
    screen.putLine(2, 7, Line::BottomLeft);
    screen.putLine(31, 7, Line::BottomRight);
    for (int r = 3; r < 7; ++r) {
        screen.putLine(2, r, Line::Vertical);
        screen.putLine(31, r, Line::Vertical);
    }
    screen.write(4, 2, " Title ", ui::attrTitle);
    screen.write(4, 4, "[ Focused ]", ui::attrReverse);
    screen.write(18, 4, "[ Dimmed ]", ui::attrDim);
    screen.put(4, 6, 'M', ui::attrMnemonic);
    screen.setSurface(32, 3, 2, 6, Surface::Shadow);
    screen.setSurface(4, 8, 30, 1, Surface::Shadow);
    return screen;
}

// What the front end writes for sampleScreen() on a terminal of this type,
// with LC_ALL and NO_COLOR as given (null: unset). ncurses decides some
// things once per process (box drawing or not, for one), so each screen is
// shown by a process of its own.
std::string shown(const char *type, const char *locale, const char *noColor) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return "no pipe";
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        Environment chosenLocale("LC_ALL", locale);
        Environment colour("NO_COLOR", noColor);
        std::string output = "not started";
        {
            PseudoTerminal pty(40, 12);
            TerminalSession session(pty, type);
            if (session.started()) {
                ui::activeFrontEnd()->present(sampleScreen());
                output = pty.output();
            }
        }
        ssize_t ignored = write(pipeEnds[1], output.data(), output.size());
        (void)ignored;
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, got);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return output;
}

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

// The parameters of every "select graphic rendition" sequence written (ESC [ ... m).
std::set<int> renditions(const std::string &output) {
    std::set<int> found;
    for (size_t at = output.find("\033["); at != std::string::npos; at = output.find("\033[", at + 1)) {
        size_t end = output.find_first_not_of("0123456789;", at + 2);
        if (end == std::string::npos || output[end] != 'm') continue;
        std::string parameters = output.substr(at + 2, end - at - 2);
        size_t start = 0;
        do {
            size_t semicolon = parameters.find(';', start);
            std::string one =
                parameters.substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start);
            found.insert(one.empty() ? 0 : std::atoi(one.c_str()));
            start = semicolon == std::string::npos ? parameters.size() + 1 : semicolon + 1;
        } while (start <= parameters.size());
    }
    return found;
}

bool anyColour(const std::set<int> &parameters) {
    for (int p : parameters)
        if ((p >= 30 && p <= 38) || (p >= 40 && p <= 48) || (p >= 90 && p <= 97) || (p >= 100 && p <= 107)) return true;
    return false;
}

TEST(TerminalLines, FramesUseBoxDrawingInAUtf8LocaleAndTheLineSetOtherwise) {
    if (localeExists("C.UTF-8")) {
        std::string output = shown("xterm", "C.UTF-8", nullptr);
        EXPECT_TRUE(contains(output, boxTopLeft)) << output;
        EXPECT_TRUE(contains(output, std::string(boxHorizontal) + boxHorizontal)) << output;
        EXPECT_FALSE(contains(output, "+-")) << output;
    }
    std::string output = shown("xterm", "C", nullptr);
    EXPECT_TRUE(contains(output, lineDrawingOn)) << output;
    EXPECT_TRUE(contains(output, "lq")) << output;
    EXPECT_FALSE(contains(output, boxTopLeft)) << output;
    EXPECT_FALSE(contains(output, "+-")) << output;
}

TEST(TerminalLines, AsciiWhereTheTerminalHasNoLineDrawing) {
    // "sun" can place the cursor but describes no line drawing.
    for (const char *type : {"sun"}) {
        for (const char *locale : {"C.UTF-8", "C"}) {
            if (!localeExists(locale)) continue;
            std::string output = shown(type, locale, nullptr);
            EXPECT_TRUE(contains(output, "+-")) << type << " " << locale << ": " << output;
            EXPECT_TRUE(contains(output, "---")) << type << " " << locale;
            EXPECT_TRUE(contains(output, "|")) << type << " " << locale;
            EXPECT_FALSE(contains(output, boxTopLeft)) << type << " " << locale;
            EXPECT_FALSE(contains(output, lineDrawingOn)) << type << " " << locale;
        }
    }
}

TEST(TerminalLines, TerminalsThatCannotPlaceTheCursorAreRefusedLikeUnknownOnes) {
    // "dumb" has nothing but a bell and a carriage return.
    for (const char *type : {"dumb", "no-such-terminal"}) EXPECT_EQ(shown(type, "C", nullptr), "not started") << type;
}

TEST(TerminalColours, ColouredWhereTheTerminalHasColoursUnlessNoColorIsSet) {
    std::set<int> used = renditions(shown("xterm-256color", "C", nullptr));
    EXPECT_TRUE(used.count(44)) << "blue screen and highlight";
    EXPECT_TRUE(used.count(47)) << "grey dialog";
    EXPECT_TRUE(used.count(40)) << "black shadow";
    EXPECT_FALSE(used.count(7)) << "the highlight is a colour, not reverse video";

    // NO_COLOR set but empty asks for nothing.
    EXPECT_TRUE(anyColour(renditions(shown("xterm-256color", "C", ""))));

    used = renditions(shown("xterm-256color", "C", "1"));
    EXPECT_FALSE(anyColour(used));
    EXPECT_TRUE(used.count(7)) << "the focus in reverse video";
    EXPECT_TRUE(used.count(1)) << "the title in bold";

    used = renditions(shown("vt100", "C", nullptr));
    EXPECT_FALSE(anyColour(used));
    EXPECT_TRUE(used.count(7));
}

TEST(TerminalColours, MnemonicsAreUnderlinedOrWhereColoursExcludeThatRed) {
    // "linux" cannot underline (nor dim) in colour.
    for (const char *type : {"xterm-256color", "linux"}) {
        const std::set<int> used = renditions(shown(type, "C", nullptr));
        EXPECT_EQ(used.count(4) == 1, type[0] == 'x') << type;
        EXPECT_EQ(used.count(31) == 1, type[0] == 'l') << type;
    }
}

// The events read until `last` is the character just read, within two seconds.
std::vector<InputEvent> eventsUntil(PseudoTerminal &pty, const std::string &typed, char last) {
    pty.type(typed);
    std::vector<InputEvent> events;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        InputEvent event;
        InputRead read = ui::activeFrontEnd()->readInput(event, false);
        if (read == InputRead::Nothing) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (read == InputRead::Closed) break;
        events.push_back(event);
        if (event.kind == InputKind::Key && event.key.code == KeyCode::Character && event.key.character == last &&
            !event.key.alt)
            break;
    }
    return events;
}

struct Mouse {
    MouseAction action;
    int column, row;
    bool operator==(const Mouse &other) const {
        return action == other.action && column == other.column && row == other.row;
    }
};

std::ostream &operator<<(std::ostream &out, const Mouse &m) {
    return out << static_cast<int>(m.action) << "@" << m.column << "," << m.row;
}

std::vector<Mouse> mouseOf(const std::vector<InputEvent> &events) {
    std::vector<Mouse> found;
    for (const InputEvent &event : events)
        if (event.kind == InputKind::Mouse)
            found.push_back(Mouse{event.mouse.action, event.mouse.column, event.mouse.row});
    return found;
}

TEST(TerminalMouse, ReportsAreAskedForAtTheStartAndNoLongerAtTheEnd) {
    PseudoTerminal pty(100, 40);
    std::string atStart;
    {
        TerminalSession session(pty, "tmux-256color");
        ASSERT_TRUE(session.started());
        atStart = pty.output();
    }
    std::string atEnd = pty.output().substr(atStart.size());
    EXPECT_TRUE(contains(atStart, "\033[?1000h")) << atStart;
    EXPECT_TRUE(contains(atStart, "\033[?1006h")) << atStart;
    // Left on, the shell would be sent reports after the program.
    EXPECT_TRUE(contains(atEnd, "\033[?1000l")) << atEnd;
    EXPECT_TRUE(contains(atEnd, "\033[?1006l")) << atEnd;
}

TEST(TerminalMouse, SgrReportsAreReadWhateverMouseTheTerminalDescribes) {
    // tmux's own description names the older reports, xterm's the SGR ones,
    // which ncurses then reads itself; the program asks for SGR reports and
    // reads them in both cases.
    for (const char *type : {"tmux-256color", "xterm-256color"}) {
        PseudoTerminal pty(100, 40);
        TerminalSession session(pty, type);
        ASSERT_TRUE(session.started()) << type;
        std::string enabled = pty.output();
        EXPECT_TRUE(contains(enabled, "\033[?1006")) << type << " asks for SGR reports";
        std::vector<InputEvent> events = eventsUntil(pty,
                                                     "\033[<0;5;3M\033[<0;5;3m"       // left button at column 5, row 3
                                                     "\033[<2;9;9M\033[<2;9;9m"       // the right one, ignored
                                                     "\033[<32;6;3M"                  // movement, ignored
                                                     "\033[<64;100;40M\033[<65;1;1M"  // the wheel
                                                     "\033[<4;7;7M\033[<4;7;7m"       // with Shift
                                                     "z",
                                                     'z');
        EXPECT_EQ(mouseOf(events), (std::vector<Mouse>{{MouseAction::Press, 4, 2},
                                                       {MouseAction::Release, 4, 2},
                                                       {MouseAction::WheelUp, 99, 39},
                                                       {MouseAction::WheelDown, 0, 0},
                                                       {MouseAction::Press, 6, 6},
                                                       {MouseAction::Release, 6, 6}}))
            << type;
        ASSERT_FALSE(events.empty()) << type;
        EXPECT_EQ(events.back().key.character, 'z') << type;
    }
}

TEST(TerminalMouse, OlderReportsAreReadWhereTheTerminalSendsThem) {
    PseudoTerminal pty(100, 40);
    TerminalSession session(pty, "screen");
    ASSERT_TRUE(session.started());
    // Button, column and row each as a byte, 32 added, counted from 1; button 3 is a release.
    std::string press = std::string("\033[M") + char(32 + 0) + char(32 + 10) + char(32 + 4);
    std::string release = std::string("\033[M") + char(32 + 3) + char(32 + 10) + char(32 + 4);
    std::string wheel = std::string("\033[M") + char(32 + 64) + char(32 + 2) + char(32 + 2);
    EXPECT_EQ(
        mouseOf(eventsUntil(pty, press + release + wheel + "z", 'z')),
        (std::vector<Mouse>{{MouseAction::Press, 9, 3}, {MouseAction::Release, 9, 3}, {MouseAction::WheelUp, 1, 1}}));
}

TEST(TerminalMouse, KeysReadAsBeforeBesideTheMouse) {
    PseudoTerminal pty(100, 40);
    TerminalSession session(pty, "tmux-256color");
    ASSERT_TRUE(session.started());
    std::vector<InputEvent> events = eventsUntil(pty, "\r\t\033[Z\033x\033OA\033[<0;1;1M q", 'q');
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[0].key.code, KeyCode::Enter);
    EXPECT_EQ(events[1].key.code, KeyCode::Tab);
    EXPECT_EQ(events[2].key.code, KeyCode::BackTab);
    EXPECT_TRUE(events[3].key.alt);
    EXPECT_EQ(events[3].key.character, 'x');
    EXPECT_EQ(events[4].key.code, KeyCode::Up);
    EXPECT_EQ(events[5].kind, InputKind::Mouse);
    EXPECT_EQ(events[6].key.code, KeyCode::Space);
    EXPECT_EQ(events[7].key.character, 'q');
}

TEST(TerminalMouse, MalformedReportsAreDroppedAndTheKeysAfterThemStillArrive) {
    PseudoTerminal pty(100, 40);
    TerminalSession session(pty, "tmux-256color");
    ASSERT_TRUE(session.started());
    const char *hostile[] = {
        "\033[<99999999999999999999;5;5M",  // numbers past any screen
        "\033[<0;99999999999;99999999999M",
        "\033[<0;0;0M",  // column and row count from 1
        "\033[<;;M",
        "\033[<0;5M",
        "\033[<0;5;5;5M",
        "\033[<0;5;5X",
        "\033[<0;5;5",
        "\033[<\033[<M",
        "\033[<-1;5;5M",
    };
    for (const char *report : hostile) {
        // What a broken report swallows is its own; the next key is read.
        std::vector<InputEvent> events = eventsUntil(pty, std::string(report) + "\r" + "q", 'q');
        ASSERT_FALSE(events.empty()) << report;
        EXPECT_EQ(events.back().key.character, 'q') << report;
        for (const InputEvent &event : events)
            if (event.kind == InputKind::Mouse) {
                EXPECT_GE(event.mouse.column, 0) << report;
                EXPECT_LT(event.mouse.column, 0x10000) << report;
                EXPECT_GE(event.mouse.row, 0) << report;
            }
    }
}

// Reads whatever comes of typed until nothing has come for a while.
void readUntilQuiet(PseudoTerminal &pty, const std::string &typed) {
    pty.type(typed);
    auto quietSince = std::chrono::steady_clock::now();
    auto deadline = quietSince + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline &&
           std::chrono::steady_clock::now() - quietSince < std::chrono::milliseconds(150)) {
        InputEvent event;
        InputRead read = ui::activeFrontEnd()->readInput(event, false);
        if (read == InputRead::Closed) return;
        if (read == InputRead::Read)
            quietSince = std::chrono::steady_clock::now();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

TEST(TerminalMouse, RandomInputNeverStopsTheReader) {
    PseudoTerminal pty(100, 40);
    TerminalSession session(pty, "tmux-256color");
    ASSERT_TRUE(session.started());
    std::mt19937 random(20240611);
    const std::string pieces[] = {"\033", "[", "<", "M", "m", ";", "0", "64", "9", "65535", "\033[M", " ", "!"};
    for (int round = 0; round < 20; ++round) {
        std::string noise;
        for (int i = 0; i < 200; ++i) {
            char byte = static_cast<char>(random() % 256);
            // Control-S would stop the terminal's output, as it does a person's.
            if (byte == '\x13') byte = 'S';
            noise += random() % 4 == 0 ? std::string(1, byte) : pieces[random() % (sizeof pieces / sizeof pieces[0])];
        }
        readUntilQuiet(pty, noise);
        // Whatever the noise left unfinished has ended; a clean key comes through.
        std::vector<InputEvent> after = eventsUntil(pty, "q", 'q');
        ASSERT_FALSE(after.empty()) << "round " << round;
        EXPECT_EQ(after.back().key.character, 'q') << "round " << round;
    }
}

// What the keys typed come as, until 'q': key codes, with each character's
// bytes and whether it was pasted.
std::string keysOf(const std::vector<InputEvent> &events) {
    std::string keys;
    for (const InputEvent &event : events) {
        if (event.kind != InputKind::Key) continue;
        const ui::Key &key = event.key;
        if (key.code == KeyCode::Character && key.character == 'q' && !key.pasted) break;
        if (key.code == KeyCode::Character)
            keys += std::string(key.alt ? "A-" : key.pasted ? "p:" : "") + key.character + " ";
        else
            keys += "{" + std::to_string(static_cast<int>(key.code)) + "} ";
    }
    return keys;
}

std::string code(KeyCode key) { return "{" + std::to_string(static_cast<int>(key)) + "} "; }

TEST(TerminalKeys, SequencesAreKeysWhateverTheTerminalTypeAndUnknownOnesAreDroppedWhole) {
    const std::string home = code(KeyCode::Home), end = code(KeyCode::End);
    const struct {
        const char *typed;
        std::string keys;
    } table[] = {
        {"\033[1~\033[7~\033[H\033OH", home + home + home + home},
        {"\033[4~\033[8~\033[F\033OF", end + end + end + end},
        {"\033[3~\033[5~\033[6~", code(KeyCode::Delete) + code(KeyCode::PageUp) + code(KeyCode::PageDown)},
        {"\033[2~", ""},  // Insert does nothing
        // Unknown sequences, modified keys and function keys: nothing is typed.
        {"\033[1;5H\033[15~\033[99;99x\033[?1;2c\033Ox\033OP", ""},
        {"\033x\033[Z", "A-x " + code(KeyCode::BackTab)},
        // Ctrl+A, E, K, U, W as their control characters; dropped in a paste.
        {"\x01\x05\x0b\x15\x17\033[200~a\x15\x62\033[201~", "\x01 \x05 \x0b \x15 \x17 p:a p:b "},
        // Pasted: text, with nothing after the first line break.
        {"\033[200~a b\tc\r\rx\xC3\x9C\033[201~z\xC3\x9C", "p:a p:  p:b p:c z \xC3 \x9C "},
    };
    Environment locale("LC_ALL", "C.UTF-8");
    for (const char *type : {"xterm-256color", "tmux-256color", "screen", "linux"}) {
        PseudoTerminal pty(100, 40);
        TerminalSession session(pty, type);
        ASSERT_TRUE(session.started()) << type;
        for (const auto &row : table)
            EXPECT_EQ(keysOf(eventsUntil(pty, std::string(row.typed) + "q", 'q')), row.keys)
                << type << " " << row.typed;
    }
}

// The events of pieces typed one after the other, with a pause before each
// but the first, until the character 'q' (not pasted) arrives.
std::vector<InputEvent> eventsOfPieces(PseudoTerminal &pty, const std::vector<std::string> &pieces, int pause) {
    std::thread typist([&] {
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pause));
            pty.type(pieces[i]);
        }
    });
    std::vector<InputEvent> events = eventsUntil(pty, "", 'q');
    typist.join();
    return events;
}

TEST(TerminalKeys, APasteEndsAtItsMarkerHoweverSplitAfterAQuietTimeOrAtItsLargestSize) {
    const std::string tab = code(KeyCode::Tab);
    // 100 ms: longer than any wait for the rest of a key's sequence, shorter
    // than a paste's quiet time; 400 ms: longer.
    const struct {
        std::vector<std::string> pieces;
        int pause;
        std::string keys;
    } table[] = {
        {{"\033[200~ab\033", "[201~c\tq"}, 100, "p:a p:b c " + tab},
        // No end marker: once the paste has been quiet, keys and clicks act again.
        {{"\033[200~a\033[<0;52;21Mb", "\033x\tq"}, 400, "p:a p:b A-x " + tab},
        // A paste larger than the largest one taken: the rest is keys.
        {{"\033[200~" + std::string(64 * 1024 - 1, 'a') + "zbc\tq"}, 0, "p:z b c " + tab},
    };
    Environment locale("LC_ALL", "C.UTF-8");
    PseudoTerminal pty(100, 40);
    TerminalSession session(pty, "xterm-256color");
    ASSERT_TRUE(session.started());
    for (const auto &row : table) {
        std::vector<InputEvent> events = eventsOfPieces(pty, row.pieces, row.pause);
        // The large paste's letters before its last are counted, not compared.
        size_t first = 0;
        if (row.pieces[0].size() > 1024)
            while (first < events.size() && events[first].key.pasted && events[first].key.character == 'a') ++first;
        EXPECT_EQ(keysOf({events.begin() + static_cast<long>(first), events.end()}), row.keys)
            << row.pieces[0].substr(0, 20);
        EXPECT_TRUE(first == 0 || first == 64 * 1024 - 1) << first;
        EXPECT_TRUE(mouseOf(events).empty()) << row.pieces[0].substr(0, 20);
    }
}

TEST(TerminalKeys, Utf8CharactersArriveAsTheirBytesInAUtf8LocaleOnly) {
    const std::string typed =
        "\xD0\x91\xC3\x9C\xE2\x82\xAC\xF0\x9F\x98\x80"  // Б Ü € and an emoji
        "\xFF\xC3(\xE2\x82";                            // broken ones
    const struct {
        const char *locale;
        std::string keys;
    } table[] = {
        {"C.UTF-8", "\xD0 \x91 \xC3 \x9C \xE2 \x82 \xAC \xF0 \x9F \x98 \x80 ( "},
        {"C", "( "},
    };
    for (const auto &row : table) {
        if (!localeExists(row.locale)) continue;
        Environment locale("LC_ALL", row.locale);
        // "tmux-256color" has no meta key ("km"), "xterm-256color" one.
        for (const char *type : {"xterm-256color", "tmux-256color"}) {
            PseudoTerminal pty(100, 40);
            TerminalSession session(pty, type);
            ASSERT_TRUE(session.started());
            EXPECT_EQ(keysOf(eventsUntil(pty, typed + "q", 'q')), row.keys) << row.locale << " " << type;
        }
    }
}

TEST(TerminalJobControl, ContinuedItDrawsAtTheNewSizeAndOnlyAHangUpEndsTheInput) {
    PseudoTerminal pty(100, 40);
    TerminalSession session(pty, "xterm-256color");
    ASSERT_TRUE(session.started());
    ui::FrontEnd &front = *ui::activeFrontEnd();
    // Resized while stopped, where the program hears no SIGWINCH; then continued.
    pty.resize(80, 24);
    kill(getpid(), SIGCONT);
    InputEvent event;
    ASSERT_EQ(front.readInput(event, true), InputRead::Read);
    EXPECT_EQ(event.kind, InputKind::Resize);
    EXPECT_EQ(front.columns(), 80);
    EXPECT_EQ(front.rows(), 24);
    // A signal that interrupts the wait is no end of input.
    std::thread interrupt([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        kill(getpid(), SIGCONT);
    });
    EXPECT_EQ(front.readInput(event, true), InputRead::Read);
    interrupt.join();
    pty.hangUp();
    EXPECT_EQ(front.readInput(event, true), InputRead::Closed);
}

}  // namespace
}  // namespace corvant::testing
