#include "platform/portable/ui/mnemonic.h"

#include <cctype>

namespace corvant::ui {

DisplayText withoutMnemonic(const std::string &text) {
    DisplayText result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && result.mnemonicIndex < 0) result.mnemonicIndex = static_cast<int>(result.text.size());
        }
        result.text += text[i];
    }
    return result;
}

bool mnemonicMatches(const std::string &text, char letter) {
    DisplayText shown = withoutMnemonic(text);
    if (shown.mnemonicIndex < 0) return false;
    return std::tolower(static_cast<unsigned char>(shown.text[shown.mnemonicIndex])) ==
           std::tolower(static_cast<unsigned char>(letter));
}

}  // namespace corvant::ui
