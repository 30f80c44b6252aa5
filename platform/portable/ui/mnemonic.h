// Control texts with mnemonics: "&x" marks x, "&&" stands for "&".
#pragma once

#include <string>

namespace corvant::ui {

struct DisplayText {
    std::string text;        // without the markers
    int mnemonicIndex = -1;  // position of the marked letter in text
};

DisplayText withoutMnemonic(const std::string &text);
bool mnemonicMatches(const std::string &text, char letter);

}  // namespace corvant::ui
