// Reading an open command as Windows reads a command line.
#include <gtest/gtest.h>

#include <random>

#include "platform/portable/ui/command_line.h"

namespace corvant::shell {
namespace {

using Strings = std::vector<std::string>;

Strings programsOf(const std::string &command) {
    Strings programs;
    for (const ProgramCandidate &candidate : programCandidates(command)) programs.push_back(candidate.program);
    return programs;
}

std::string argumentTextOf(const std::string &command) {
    const std::vector<ProgramCandidate> candidates = programCandidates(command);
    return candidates.empty() ? "<none>" : command.substr(candidates.front().argumentsStart);
}

TEST(CommandLine, AQuotedProgramEndsAtItsClosingQuote) {
    EXPECT_EQ(programsOf("\"/opt/My Browser/b\" \"%1\""), Strings{"/opt/My Browser/b"});
    EXPECT_EQ(argumentTextOf("\"/opt/My Browser/b\" \"%1\""), " \"%1\"");
    // Backslashes mean nothing in the program's name.
    EXPECT_EQ(programsOf("  \"C:\\Program Files\\B.EXE\\\" -x"), Strings{"C:\\Program Files\\B.EXE\\"});
    EXPECT_EQ(programsOf("\"/opt/unclosed %1"), Strings{"/opt/unclosed %1"});
    EXPECT_EQ(argumentTextOf("\"/opt/unclosed %1"), "");
}

TEST(CommandLine, AnUnquotedProgramIsReadUpToEachBlankInTurn) {
    EXPECT_EQ(programsOf("/opt/b %1"), (Strings{"/opt/b", "/opt/b %1"}));
    EXPECT_EQ(programsOf("\t/opt/My Browser/b  -x\t%1 "),
              (Strings{"/opt/My", "/opt/My Browser/b", "/opt/My Browser/b  -x", "/opt/My Browser/b  -x\t%1"}));
    EXPECT_EQ(argumentTextOf("/opt/b -x %1"), " -x %1");
    EXPECT_EQ(programsOf(" \t "), Strings{});
    EXPECT_EQ(programsOf(""), Strings{});
}

TEST(CommandLine, ArgumentsAreSplitAsTheCRuntimeSplitsThem) {
    const std::string none;
    EXPECT_EQ(commandArguments(" a  b\tc ", none), (Strings{"a", "b", "c"}));
    EXPECT_EQ(commandArguments("\"a b\" x\"y z\"w", none), (Strings{"a b", "xy zw"}));
    EXPECT_EQ(commandArguments("\"\" x \"\"", none), (Strings{"", "x", ""}));
    // Inside quotes a doubled quote is one quote, and the quotes go on.
    EXPECT_EQ(commandArguments("\"a\"\"b c\"", none), Strings{"a\"b c"});
    // Backslashes are literal except before a quote: pairs halve, an odd one escapes it.
    EXPECT_EQ(commandArguments("a\\b c\\\\ d\\\"e f\\\\\"g h\"", none), (Strings{"a\\b", "c\\\\", "d\"e", "f\\g h"}));
    EXPECT_EQ(commandArguments("\"unclosed a b", none), Strings{"unclosed a b"});
}

TEST(CommandLine, PercentOneIsTheAddressAsItIsInsideItsArgument) {
    const std::string address = "http://x/a b\"c\\\" d";
    EXPECT_EQ(commandArguments(" %1", address), Strings{address});
    EXPECT_EQ(commandArguments(" \"%1\"", address), Strings{address});
    EXPECT_EQ(commandArguments(" -url=%1 \"%L\" %l", address), (Strings{"-url=" + address, address, address}));
    EXPECT_EQ(commandArguments(" -x", address), Strings{"-x"});
}

TEST(CommandLine, OtherPlaceholdersHaveNoParametersToStandFor) {
    const std::string address = "http://x/";
    EXPECT_EQ(commandArguments(" \"%1\" %* %2 %9", address), Strings{address});
    EXPECT_EQ(commandArguments(" \"%*\" a%2b", address), (Strings{"", "ab"}));
    EXPECT_EQ(commandArguments(" 100%% %%1 %x %", address), (Strings{"100%", "%1", "%x", "%"}));
}

// Any command another program planted in the registry is read without
// harm, and the address is never split, unquoted or cut.
TEST(CommandLine, HostileCommandsNeverSplitTheAddress) {
    const std::string alphabet = " \t\"\\%%1L*2a/";
    const std::string address = "<A \"\\ddress>";
    std::mt19937 random(7);
    for (int i = 0; i < 100000; ++i) {
        std::string command(random() % 24, ' ');
        for (char &c : command) c = alphabet[random() % alphabet.size()];
        for (const ProgramCandidate &candidate : programCandidates(command)) {
            ASSERT_LE(candidate.argumentsStart, command.size()) << command;
            for (std::string argument : commandArguments(command.substr(candidate.argumentsStart), address)) {
                for (size_t at; (at = argument.find(address)) != std::string::npos;) argument.erase(at, address.size());
                ASSERT_EQ(argument.find_first_of("<>"), std::string::npos) << command;
            }
        }
    }
}

}  // namespace
}  // namespace corvant::shell
