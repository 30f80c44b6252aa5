#pragma once

#include <string>

// text as one component of a URI (a query value, say): letters, digits and
// "-._~" stay as they are, every other byte becomes "%" and two upper-case
// hexadecimal digits, so that no character of text can end the component or
// be read as part of the address's syntax.
std::string escapedUriComponent(const std::string &text);
