#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "assoc/composed_values.h"

namespace {

TEST(ComposedValues, PathWithoutBlanksIsUsedAsItIs) {
    char command[composedValueSize];
    char icon[composedValueSize];
    ASSERT_TRUE(composeCommandValue("C:\\Browser\\B.EXE", command));
    ASSERT_TRUE(composeIconValue("C:\\Browser\\B.EXE", icon));
    EXPECT_STREQ(command, "C:\\Browser\\B.EXE \"%1\"");
    EXPECT_STREQ(icon, "C:\\Browser\\B.EXE,0");
}

TEST(ComposedValues, PathWithASpaceOrTabIsQuotedInTheCommand) {
    char command[composedValueSize];
    char icon[composedValueSize];
    ASSERT_TRUE(composeCommandValue("C:\\Program Files\\IE\\IEXPLORE.EXE", command));
    EXPECT_STREQ(command, "\"C:\\Program Files\\IE\\IEXPLORE.EXE\" \"%1\"");
    ASSERT_TRUE(composeCommandValue("C:\\Odd\tName\\B.EXE", command));
    EXPECT_STREQ(command, "\"C:\\Odd\tName\\B.EXE\" \"%1\"");
    ASSERT_TRUE(composeIconValue("C:\\Program Files\\IE\\IEXPLORE.EXE", icon));
    EXPECT_STREQ(icon, "C:\\Program Files\\IE\\IEXPLORE.EXE,0");
}

TEST(ComposedValues, RefusesWhatDoesNotFitAndLeavesTheOutputAlone) {
    char command[composedValueSize] = "untouched";
    char icon[composedValueSize] = "untouched";
    EXPECT_TRUE(composeIconValue(std::string(1021, 'x').c_str(), icon));
    EXPECT_EQ(std::string(icon).size(), 1023u);
    EXPECT_FALSE(composeIconValue(std::string(1022, 'x').c_str(), command));
    EXPECT_STREQ(command, "untouched");
    EXPECT_TRUE(composeCommandValue(std::string(1018, 'x').c_str(), command));
    EXPECT_EQ(std::string(command).size(), 1023u);
    std::strcpy(icon, "untouched");
    EXPECT_FALSE(composeCommandValue(std::string(1019, 'x').c_str(), icon));
    EXPECT_FALSE(composeCommandValue((std::string(1016, 'x') + " ").c_str(), icon));
    EXPECT_STREQ(icon, "untouched");
}

}  // namespace
