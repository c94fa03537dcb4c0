#include "platform/forms/property_bag.h"

#include "platform/forms/runtime_error.h"

#include <limits>

namespace qm::forms {

bool keyEquals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string_view typeName(const PropValue& v)
{
    static constexpr std::string_view names[]
        = { "string", "16-bit integer", "32-bit integer", "Boolean", "colour", "font", "picture" };
    return names[v.index()];
}

const PropertyBag::Entry* PropertyBag::find(std::string_view key) const
{
    for (const auto& e : entries_)
        if (keyEquals(e.Key, key))
            return &e;
    return nullptr;
}

namespace {

[[noreturn]] void mismatch(std::string_view key, const PropValue& found, std::string_view wanted)
{
    Raise(errTypeMismatch,
        "Type mismatch: property \"" + std::string(key) + "\" holds a "
            + std::string(typeName(found)) + ", not a " + std::string(wanted));
}

// The value of an integer-like entry (16-, 32-bit integer or colour) widened to 64 bits.
std::optional<std::int64_t> integral(const PropValue& v)
{
    if (auto p = std::get_if<std::int16_t>(&v))
        return *p;
    if (auto p = std::get_if<std::int32_t>(&v))
        return *p;
    if (auto p = std::get_if<ColorValue>(&v))
        return std::int64_t(p->Value);
    return std::nullopt;
}

} // namespace

std::optional<PropValue> PropertyBag::ReadProperty(std::string_view key) const
{
    if (const Entry* e = find(key))
        return e->Value;
    return std::nullopt;
}

std::string PropertyBag::ReadString(std::string_view key, std::string_view def) const
{
    const Entry* e = find(key);
    if (!e)
        return std::string(def);
    if (auto p = std::get_if<std::string>(&e->Value))
        return *p;
    mismatch(key, e->Value, "string");
}

std::int16_t PropertyBag::ReadInt16(std::string_view key, std::int16_t def) const
{
    const Entry* e = find(key);
    if (!e)
        return def;
    auto v = integral(e->Value);
    if (!v)
        mismatch(key, e->Value, "16-bit integer");
    if (std::holds_alternative<ColorValue>(e->Value))
        *v = std::int32_t(std::uint32_t(*v)); // a colour is a signed 32-bit value
    if (*v < std::numeric_limits<std::int16_t>::min()
        || *v > std::numeric_limits<std::int16_t>::max())
        Raise(errOverflow, "Overflow: property \"" + std::string(key) + "\" does not fit 16 bits");
    return std::int16_t(*v);
}

std::int32_t PropertyBag::ReadInt32(std::string_view key, std::int32_t def) const
{
    const Entry* e = find(key);
    if (!e)
        return def;
    auto v = integral(e->Value);
    if (!v)
        mismatch(key, e->Value, "32-bit integer");
    return std::int32_t(std::uint32_t(std::uint64_t(*v)));
}

bool PropertyBag::ReadBool(std::string_view key, bool def) const
{
    const Entry* e = find(key);
    if (!e)
        return def;
    if (auto p = std::get_if<bool>(&e->Value))
        return *p;
    mismatch(key, e->Value, "Boolean");
}

std::uint32_t PropertyBag::ReadColor(std::string_view key, std::uint32_t def) const
{
    const Entry* e = find(key);
    if (!e)
        return def;
    auto v = integral(e->Value);
    if (!v)
        mismatch(key, e->Value, "colour");
    return std::uint32_t(std::uint64_t(*v));
}

std::optional<StdFont> PropertyBag::ReadFont(std::string_view key) const
{
    const Entry* e = find(key);
    if (!e)
        return std::nullopt;
    if (auto p = std::get_if<StdFont>(&e->Value))
        return *p;
    mismatch(key, e->Value, "font");
}

PictureData PropertyBag::ReadPicture(std::string_view key) const
{
    const Entry* e = find(key);
    if (!e)
        return {};
    if (auto p = std::get_if<PictureData>(&e->Value))
        return *p;
    mismatch(key, e->Value, "picture");
}

void PropertyBag::WriteProperty(std::string_view key, PropValue value)
{
    for (auto& e : entries_) {
        if (keyEquals(e.Key, key)) {
            e.Value = std::move(value);
            return;
        }
    }
    entries_.push_back({ std::string(key), std::move(value) });
}

void PropertyBag::WriteProperty(std::string_view key, PropValue value, const PropValue& def)
{
    if (value == def)
        Remove(key);
    else
        WriteProperty(key, std::move(value));
}

bool PropertyBag::Remove(std::string_view key)
{
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (keyEquals(it->Key, key)) {
            entries_.erase(it);
            return true;
        }
    }
    return false;
}

bool PropertyBag::Contains(std::string_view key) const
{
    return find(key) != nullptr;
}

bool PropertyBag::sameContents(const PropertyBag& other) const
{
    if (entries_.size() != other.entries_.size())
        return false;
    for (const auto& e : entries_) {
        const Entry* o = other.find(e.Key);
        if (!o || !(o->Value == e.Value))
            return false;
    }
    return true;
}

} // namespace qm::forms
