// NamePattern against a plain recursive reading of the same rules, on many
// random patterns and names (hostile input: any pattern a caller passes).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/portable/files/name_pattern.h"

namespace corvant::files {
namespace {

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// "*" any run, "?" one character, letters without case, and once the name
// is used up, only dots and stars may be left of the pattern.
bool reference(const char *mask, const char *name) {
    if (*name == '\0') {
        while (*mask == '.' || *mask == '*') ++mask;
        return *mask == '\0';
    }
    if (*mask == '\0') return false;
    if (*mask == '*') return reference(mask + 1, name) || reference(mask, name + 1);
    if (*mask == '?' || folded(*mask) == folded(*name)) return reference(mask + 1, name + 1);
    return false;
}

bool referenceMatch(std::string pattern, const std::string &name) {
    if (pattern == "." || pattern == "..") return pattern == name;
    const size_t kept = pattern.find_last_not_of(". ");
    if (kept == std::string::npos) return false;
    pattern.erase(kept + 1);
    return reference(pattern.c_str(), name.c_str());
}

std::string randomText(std::mt19937 &random, const std::string &alphabet, size_t longest) {
    std::string text(random() % (longest + 1), ' ');
    for (char &c : text) c = alphabet[random() % alphabet.size()];
    return text;
}

TEST(NamePatternRandom, AgreesWithTheRulesOnEveryPatternAndName) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 200000; ++i) {
        const std::string pattern = randomText(random, "*?.. aAbB[", 9);
        std::string name = randomText(random, ".aAbB [", 7);
        if (name.empty()) name = "a";
        ASSERT_EQ(NamePattern(pattern).matches(name.c_str()), referenceMatch(pattern, name))
            << "pattern \"" << pattern << "\", name \"" << name << "\"";
    }
}

TEST(NamePatternRandom, LongHostilePatternsFinish) {
    const std::string name(255, 'a');
    std::string pattern;
    for (int i = 0; i < 120; ++i) pattern += "*a";
    EXPECT_TRUE(NamePattern(pattern).matches(name.c_str()));
    EXPECT_FALSE(NamePattern(pattern + "b").matches(name.c_str()));
    EXPECT_FALSE(NamePattern(std::string(5000, '*') + "b").matches(name.c_str()));
}

}  // namespace
}  // namespace corvant::files
