// Where the shell looks up how to open an address: the class of its URL
// scheme ("http"), or for a file the class its extension names (".html"
// names "htmlfile"), and that class's shell\open\command, all read from
// HKEY_CLASSES_ROOT through the registry functions.
#pragma once

#include <string>

namespace corvant::shell {

// True when the address starts with a URL scheme ("http:", "ftp:"): a
// letter, then at least one more letter, digit, "+", "-" or ".", then ":".
// A one-letter scheme would be a Windows drive ("C:").
bool hasUrlScheme(const std::string &address);

// The class that opens the address: its scheme for a URL, otherwise the
// default value of the key of the file name's extension. Empty when there
// is none.
std::string classOfAddress(const std::string &address);

// The class's shell\open\command (a string value); false when the class has
// none, or an empty one.
bool readOpenCommand(const std::string &className, std::string &command);

}  // namespace corvant::shell
