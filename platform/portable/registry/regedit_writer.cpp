#include <cstdio>

#include "platform/portable/registry.h"
#include "platform/portable/registry/regedit_text.h"

namespace corvant::registry {

namespace {

constexpr const char *lineEnd = "\r\n";
// regedit wraps hex data so that no line is longer than this.
constexpr size_t wrapColumn = 80;

void appendQuoted(std::string &out, std::string_view text) {
    out += '"';
    size_t plain = 0;  // start of the characters not yet appended
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' && text[i] != '"') continue;
        out.append(text.data() + plain, i - plain);
        out += '\\';
        plain = i;
    }
    out.append(text.data() + plain, text.size() - plain);
    out += '"';
}

// A REG_SZ can be written as a quoted string only if reading that string
// back (text plus terminating zero) gives exactly the same bytes.
bool fitsQuotedString(const Value &value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != '\0') return false;
    for (size_t i = 0; i + 1 < value.data.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(value.data[i]);
        if (c == '\0' || c == '\r' || c == '\n') return false;
    }
    return true;
}

void appendHex(std::string &out, size_t lineStart, const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    for (size_t i = 0; i < bytes.size(); ++i) {
        bool last = i + 1 == bytes.size();
        // Room for "xx," and the continuation backslash.
        if (i > 0 && out.size() - lineStart + 3 + (last ? 0 : 1) > wrapColumn) {
            out += '\\';
            out += lineEnd;
            lineStart = out.size();
            out += "  ";
        }
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
        if (!last) out += ',';
    }
}

void appendSubkeys(std::string &out, const Key &key, std::string &path);

void appendValue(std::string &out, const Value &value) {
    size_t lineStart = out.size();
    if (value.name.empty())
        out += '@';
    else
        appendQuoted(out, value.name);
    out += '=';
    if (fitsQuotedString(value)) {
        appendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD number = 0;
        for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value.data[i]);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08lx", static_cast<unsigned long>(number));
        out += text;
    } else {
        if (value.type == REG_BINARY) {
            out += "hex:";
        } else {
            char text[24];
            std::snprintf(text, sizeof text, "hex(%lx):", static_cast<unsigned long>(value.type));
            out += text;
        }
        appendHex(out, lineStart, value.data);
    }
    out += lineEnd;
}

// path holds the key's full name; it is extended for each subkey and put back.
void appendKey(std::string &out, const Key &key, std::string &path) {
    out += lineEnd;
    out += '[';
    out += path;
    out += ']';
    out += lineEnd;
    for (const Value &value : key.values()) appendValue(out, value);
    appendSubkeys(out, key, path);
}

void appendSubkeys(std::string &out, const Key &key, std::string &path) {
    const size_t length = path.size();
    for (const auto &subkey : key.subkeys()) {
        path += '\\';
        path += subkey->name;
        appendKey(out, *subkey, path);
        path.resize(length);
    }
}

void appendRootValues(std::string &out, const Key &root, std::string_view name) {
    if (root.values().empty()) return;
    out += lineEnd;
    out += '[';
    out += name;
    out += ']';
    out += lineEnd;
    for (const Value &value : root.values()) appendValue(out, value);
}

// A key directly below a hive. HKEY_LOCAL_MACHINE\Software always exists, so
// it gets a line of its own only for its values.
void appendTopKey(std::string &out, Hive hive, const Key &key, std::string &path) {
    if (hive == Hive::localMachine && sameName(key.name, softwareKeyName) && key.values().empty())
        appendSubkeys(out, key, path);
    else
        appendKey(out, key, path);
}

// Formats the keys directly below the hive that have no writtenText yet, and
// returns the size of all of them.
size_t updateWrittenText(const Key &root, Hive hive) {
    std::string path(hiveName(hive));
    const size_t length = path.size();
    size_t total = 0;
    for (const auto &subkey : root.subkeys()) {
        if (subkey->writtenText.empty()) {
            path += '\\';
            path += subkey->name;
            appendTopKey(subkey->writtenText, hive, *subkey, path);
            path.resize(length);
        }
        total += subkey->writtenText.size();
    }
    return total;
}

}  // namespace

std::string writeRegedit4(const Hives &hives, bool reuse) {
    std::string out;
    if (reuse) {
        size_t total = 0;
        for (Hive hive : allHives) total += updateWrittenText(hives[hive], hive);
        out.reserve(total + 64);
    }
    out += "REGEDIT4";
    out += lineEnd;
    for (Hive hive : allHives) {
        const Key &root = hives[hive];
        appendRootValues(out, root, hiveName(hive));
        std::string path(hiveName(hive));
        const size_t length = path.size();
        for (const auto &subkey : root.subkeys()) {
            if (reuse) {
                out += subkey->writtenText;
                continue;
            }
            path += '\\';
            path += subkey->name;
            appendTopKey(out, hive, *subkey, path);
            path.resize(length);
        }
    }
    out += lineEnd;
    return out;
}

}  // namespace corvant::registry
