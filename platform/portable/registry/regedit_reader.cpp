#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/portable/registry.h"
#include "platform/portable/registry/key_names.h"
#include "platform/portable/registry/regedit_text.h"

namespace corvant::registry {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmedStart(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && isBlank(text[start])) ++start;
    return text.substr(start);
}

bool onlyBlanks(std::string_view text) { return trimmedStart(text).empty(); }

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && sameName(text.substr(0, prefix.size()), prefix);
}

class Reader {
public:
    Reader(std::string_view text, Hives &hives, ReadFailure &failure) : hives_(hives), failure_(failure) {
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines_.push_back(line);
            start = end + 1;
        }
    }

    // The keys the hives start with are looked up as those read are.
    void adoptExistingKeys() {
        for (Hive hive : allHives) {
            Key &root = hives_[hive];
            if (!root.subkeys().empty()) parents_.push_back(&root);
            for (const auto &subkey : root.subkeys()) children_.emplace(childId(root, subkey->name), subkey.get());
        }
        software_ = &subkeyOf(hives_.localMachine, softwareKeyName);
    }

    bool read() {
        adoptExistingKeys();
        bool good = readLines();
        for (Key *parent : parents_) parent->restoreSubkeyOrder();
        return good;
    }

private:
    bool readLines() {
        for (size_t i = 0; i < lines_.size(); ++i) {
            if (lines_[i].find('\0') != std::string_view::npos) return fail(i, "zero byte in the text");
        }
        if (lines_.empty() || lines_[0] != "REGEDIT4") return fail(0, "the first line is not REGEDIT4");
        for (index_ = 1; index_ < lines_.size(); ++index_) {
            std::string_view line = trimmedStart(lines_[index_]);
            if (line.empty() || line[0] == ';') continue;
            bool good;
            if (line[0] == '[')
                good = readKeyLine(line);
            else if (line[0] == '@' || line[0] == '"')
                good = readValueLine(line);
            else
                good = fail(index_, "unexpected text (not a key, value or comment)");
            if (!good) return false;
        }
        return true;
    }

    bool fail(size_t lineIndex, const std::string &reason) {
        failure_.line = static_cast<unsigned>(lineIndex + 1);
        failure_.reason = reason;
        return false;
    }

    bool readKeyLine(std::string_view line) {
        size_t close = line.rfind(']');
        if (close == std::string_view::npos) return fail(index_, "key line without a closing ]");
        if (!onlyBlanks(line.substr(close + 1))) return fail(index_, "text after the key line's ]");
        std::string_view path = line.substr(1, close - 1);
        if (!path.empty() && path[0] == '-') return fail(index_, "key deletion is not supported");
        size_t separator = path.find('\\');
        std::string_view hiveText = path.substr(0, separator);
        Key *key = nullptr;
        // Stores written before HKEY_LOCAL_MACHINE was kept name the classes so.
        if (sameName(hiveText, "HKEY_CLASSES_ROOT")) key = &hives_.classesRoot;
        for (Hive hive : {Hive::localMachine, Hive::currentUser})
            if (sameName(hiveText, hiveName(hive))) key = &hives_[hive];
        if (!key) return fail(index_, "unknown root key \"" + std::string(hiveText) + "\"");
        size_t depth = 0;
        while (separator != std::string_view::npos) {
            if (++depth > maxKeyDepth) return fail(index_, "keys nested too deeply");
            path = path.substr(separator + 1);
            separator = path.find('\\');
            std::string_view name = path.substr(0, separator);
            if (name.empty()) return fail(index_, "empty key name in the key line");
            if (!validKeyName(name)) return fail(index_, "key name too long or not allowed");
            if (key == software_ && sameName(name, classesKeyName)) {
                // HKEY_LOCAL_MACHINE\Software\Classes is the classes' own root.
                key = &hives_.classesRoot;
                depth = 0;
                continue;
            }
            key = &subkeyOf(*key, name);
        }
        current_ = key;
        return true;
    }

    // Subkeys are appended in the order they first appear and sorted once at
    // the end, so that a file listing its keys in any order loads in
    // O(size log n); until then they are found through children_.
    static std::string childId(const Key &parent, std::string_view name) {
        std::string id(sizeof(Key *), '\0');
        const Key *parentAddress = &parent;
        std::memcpy(id.data(), &parentAddress, sizeof parentAddress);
        for (char c : name) id += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return id;
    }

    Key &subkeyOf(Key &parent, std::string_view name) {
        auto [entry, added] = children_.try_emplace(childId(parent, name), nullptr);
        if (added) {
            if (parent.subkeys().empty()) parents_.push_back(&parent);
            entry->second = &parent.appendSubkeyUnordered(name);
        }
        return *entry->second;
    }

    // Reads a quoted string starting at text[0] == '"'; leaves text after the closing quote.
    bool readQuoted(std::string_view &text, std::string &out) {
        for (size_t i = 1; i < text.size(); ++i) {
            char c = text[i];
            if (c == '"') {
                text = text.substr(i + 1);
                return true;
            }
            if (c == '\\') {
                if (i + 1 >= text.size()) break;
                char escaped = text[++i];
                if (escaped != '\\' && escaped != '"')
                    return fail(index_, std::string("unknown escape sequence \\") + escaped);
                out += escaped;
            } else {
                out += c;
            }
        }
        return fail(index_, "unterminated string");
    }

    bool readValueLine(std::string_view line) {
        if (!current_) return fail(index_, "value before the first key line");
        std::string name;
        if (line[0] == '@') {
            line = line.substr(1);
        } else {
            if (!readQuoted(line, name)) return false;
            if (name.size() > maxValueNameLength) return fail(index_, "value name too long");
        }
        line = trimmedStart(line);
        if (line.empty() || line[0] != '=') return fail(index_, "missing = after the value name");
        line = trimmedStart(line.substr(1));

        DWORD type = REG_SZ;
        std::string data;
        if (!line.empty() && line[0] == '"') {
            if (!readQuoted(line, data)) return false;
            if (!onlyBlanks(line)) return fail(index_, "text after the closing quote");
            data += '\0';
        } else if (startsWithNoCase(line, "dword:")) {
            if (!readDword(line.substr(6), data)) return false;
            type = REG_DWORD;
        } else if (startsWithNoCase(line, "hex:")) {
            type = REG_BINARY;
            if (!readHexBytes(line.substr(4), data)) return false;
        } else if (startsWithNoCase(line, "hex(")) {
            size_t close = line.find(')');
            std::string_view number = line.substr(4, close == std::string_view::npos ? 0 : close - 4);
            if (close == std::string_view::npos || number.empty() || number.size() > 8 || close + 1 >= line.size() ||
                line[close + 1] != ':')
                return fail(index_, "bad hex(type): prefix");
            type = 0;
            for (char c : number) {
                int digit = hexDigit(c);
                if (digit < 0) return fail(index_, "bad hex(type): prefix");
                type = type * 16 + static_cast<DWORD>(digit);
            }
            if (!readHexBytes(line.substr(close + 2), data)) return false;
        } else if (!line.empty() && line[0] == '-') {
            return fail(index_, "value deletion is not supported");
        } else {
            return fail(index_, "unknown kind of value data");
        }
        current_->setValue(name, type, std::move(data));
        return true;
    }

    bool readDword(std::string_view text, std::string &data) {
        size_t digits = 0;
        DWORD number = 0;
        while (digits < text.size() && hexDigit(text[digits]) >= 0) {
            number = number * 16 + static_cast<DWORD>(hexDigit(text[digits]));
            ++digits;
        }
        if (digits == 0 || digits > 8 || !onlyBlanks(text.substr(digits))) return fail(index_, "bad dword: number");
        for (int shift = 0; shift < 32; shift += 8) data += static_cast<char>((number >> shift) & 0xff);
        return true;
    }

    // Comma-separated byte pairs, continued on the next line after a backslash.
    bool readHexBytes(std::string_view text, std::string &data) {
        for (;;) {
            text = trimmedStart(text);
            if (text.empty()) return true;
            if (text[0] == '\\') {
                if (!onlyBlanks(text.substr(1))) return fail(index_, "text after a continuation backslash");
                if (index_ + 1 >= lines_.size()) return fail(index_, "continuation at the end of the file");
                ++index_;
                text = trimmedStart(lines_[index_]);
                if (text.empty() || text[0] == '[' || text[0] == '"' || text[0] == '@' || text[0] == ';')
                    return fail(index_, "continued hex data missing");
                continue;
            }
            if (text.size() < 2 || hexDigit(text[0]) < 0 || hexDigit(text[1]) < 0) return fail(index_, "bad hex byte");
            data += static_cast<char>(hexDigit(text[0]) * 16 + hexDigit(text[1]));
            text = trimmedStart(text.substr(2));
            if (text.empty() || text[0] == '\\') continue;
            if (text[0] != ',') return fail(index_, "bad hex byte");
            text = text.substr(1);
        }
    }

    Hives &hives_;
    ReadFailure &failure_;
    std::vector<std::string_view> lines_;
    size_t index_ = 0;
    Key *current_ = nullptr;
    Key *software_ = nullptr;                          // HKEY_LOCAL_MACHINE\Software
    std::unordered_map<std::string, Key *> children_;  // parent address and folded name to subkey
    std::vector<Key *> parents_;                       // keys that were given subkeys
};

}  // namespace

bool readRegedit4(std::string_view text, Hives &hives, ReadFailure &failure) {
    return Reader(text, hives, failure).read();
}

}  // namespace corvant::registry
