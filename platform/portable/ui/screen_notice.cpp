#include "platform/portable/ui/screen_notice.h"

namespace corvant::ui {
namespace {

std::string &notice() {
    static std::string text;
    return text;
}

}  // namespace

void showScreenNotice(const std::string &text) { notice() = text; }
void clearScreenNotice() { notice().clear(); }
const std::string &screenNotice() { return notice(); }

}  // namespace corvant::ui
