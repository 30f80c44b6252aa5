#include "platform/portable/registry/key_tree.h"

#include <algorithm>

namespace corvant::registry {

namespace {

unsigned char folded(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

bool subkeyBefore(const std::unique_ptr<Key> &subkey, std::string_view name) { return nameBefore(subkey->name, name); }

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i])) return false;
    return true;
}

bool nameBefore(std::string_view a, std::string_view b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = folded(a[i]), y = folded(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

Key *Key::findSubkey(std::string_view subkeyName) const {
    auto position = std::lower_bound(subkeys_.begin(), subkeys_.end(), subkeyName, subkeyBefore);
    if (position != subkeys_.end() && sameName((*position)->name, subkeyName)) return position->get();
    return nullptr;
}

Key &Key::obtainSubkey(std::string_view subkeyName) {
    auto position = std::lower_bound(subkeys_.begin(), subkeys_.end(), subkeyName, subkeyBefore);
    if (position != subkeys_.end() && sameName((*position)->name, subkeyName)) return **position;
    auto created = std::make_unique<Key>();
    created->name = std::string(subkeyName);
    return **subkeys_.insert(position, std::move(created));
}

bool Key::removeSubkey(std::string_view subkeyName) {
    auto position = std::lower_bound(subkeys_.begin(), subkeys_.end(), subkeyName, subkeyBefore);
    if (position == subkeys_.end() || !sameName((*position)->name, subkeyName)) return false;
    subkeys_.erase(position);
    return true;
}

const Value *Key::findValue(std::string_view valueName) const { return const_cast<Key *>(this)->valueNamed(valueName); }

Value *Key::valueNamed(std::string_view valueName) {
    if (values_.size() <= fewValues) {
        for (Value &value : values_)
            if (sameName(value.name, valueName)) return &value;
        return nullptr;
    }
    auto found = valueIndex_.find(valueName);
    return found == valueIndex_.end() ? nullptr : &values_[found->second];
}

void Key::setValue(std::string_view valueName, DWORD type, std::string data) {
    if (Value *existing = valueNamed(valueName)) {
        existing->type = type;
        existing->data = std::move(data);
        return;
    }
    values_.push_back(Value{std::string(valueName), type, std::move(data)});
    if (values_.size() == fewValues + 1) {
        for (size_t i = 0; i < values_.size(); ++i) valueIndex_.emplace(values_[i].name, i);
    } else if (values_.size() > fewValues + 1) {
        valueIndex_.emplace(values_.back().name, values_.size() - 1);
    }
}

bool Key::removeValue(std::string_view valueName) {
    const Value *found = valueNamed(valueName);
    if (!found) return false;
    values_.erase(values_.begin() + (found - values_.data()));
    // The positions after it moved: index them afresh, if there are still many.
    valueIndex_.clear();
    if (values_.size() > fewValues)
        for (size_t i = 0; i < values_.size(); ++i) valueIndex_.emplace(values_[i].name, i);
    return true;
}

void Key::clear() {
    values_.clear();
    valueIndex_.clear();
    subkeys_.clear();
}

Key &Key::appendSubkeyUnordered(std::string_view subkeyName) {
    auto created = std::make_unique<Key>();
    created->name = std::string(subkeyName);
    subkeys_.push_back(std::move(created));
    return *subkeys_.back();
}

void Key::restoreSubkeyOrder() {
    auto before = [](const std::unique_ptr<Key> &a, const std::unique_ptr<Key> &b) {
        return nameBefore(a->name, b->name);
    };
    // Files are mostly written in order already.
    if (!std::is_sorted(subkeys_.begin(), subkeys_.end(), before)) std::sort(subkeys_.begin(), subkeys_.end(), before);
}

}  // namespace corvant::registry
