// A one-line notice on the screen's last row, over whatever is drawn there,
// for what the terminal edition has to say outside any dialog (an opener
// that failed, where Windows' shell would have shown its own box). It stays
// until the next key or click.
#pragma once

#include <string>

namespace corvant::ui {

void showScreenNotice(const std::string &text);
void clearScreenNotice();
const std::string &screenNotice();

}  // namespace corvant::ui
