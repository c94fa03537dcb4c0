#pragma once
// A property bag: named, typed values kept in the description of the window that holds a
// control. Keys compare without regard to letter case; the order of writing is kept.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm::forms {

// A font as the forms runtime describes it (name, size in points, weight, attributes).
struct StdFont {
    std::string Name = "MS Sans Serif";
    double Size = 8.25; // points
    int Weight = 400; // 400 regular, 700 bold
    int Charset = 0;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;

    bool Bold() const { return Weight >= 700; }
    void setBold(bool bold) { Weight = bold ? 700 : 400; }
    bool operator==(const StdFont&) const = default;
};

// A stored picture: the bytes of a BMP, ICO, CUR, PNG or JPEG file. Empty = no picture.
struct PictureData {
    std::vector<std::uint8_t> Bytes;
    bool empty() const { return Bytes.empty(); }
    bool operator==(const PictureData&) const = default;
};

// A colour value: high bit set names a system colour (low byte = index), else 0x00BBGGRR.
struct ColorValue {
    std::uint32_t Value = 0;
    bool operator==(const ColorValue&) const = default;
};

using PropValue
    = std::variant<std::string, std::int16_t, std::int32_t, bool, ColorValue, StdFont, PictureData>;

// Name of a value's type as descriptions and error texts show it.
std::string_view typeName(const PropValue& v);

class PropertyBag {
public:
    struct Entry {
        std::string Key; // as written
        PropValue Value;
        bool operator==(const Entry&) const = default;
    };

    // Reads: an absent key yields the default; a value of another type raises the runtime's
    // "Type mismatch" (13); an integer that does not fit the asked width raises "Overflow" (6).
    // 16- and 32-bit integers and colours convert into one another where the value fits.
    std::string ReadString(std::string_view key, std::string_view def = {}) const;
    std::int16_t ReadInt16(std::string_view key, std::int16_t def = 0) const;
    std::int32_t ReadInt32(std::string_view key, std::int32_t def = 0) const;
    bool ReadBool(std::string_view key, bool def = false) const;
    std::uint32_t ReadColor(std::string_view key, std::uint32_t def = 0) const;
    std::optional<StdFont> ReadFont(std::string_view key) const; // no default: empty if absent
    PictureData ReadPicture(std::string_view key) const; // empty if absent
    std::optional<PropValue> ReadProperty(std::string_view key) const;

    // Writes: stored always, or stored unless equal to `def` (then an earlier entry of the
    // key is removed as well). Rewriting a key replaces its value and keeps its place.
    void WriteProperty(std::string_view key, PropValue value);
    void WriteProperty(std::string_view key, PropValue value, const PropValue& def);
    bool Remove(std::string_view key);

    bool Contains(std::string_view key) const;
    const std::vector<Entry>& Entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }

    // Same keys (without regard to case) and values, order ignored.
    bool sameContents(const PropertyBag& other) const;
    bool operator==(const PropertyBag&) const = default; // same entries in the same order

private:
    const Entry* find(std::string_view key) const;
    std::vector<Entry> entries_;
};

// Case-insensitive comparison of ASCII keys.
bool keyEquals(std::string_view a, std::string_view b);

} // namespace qm::forms
