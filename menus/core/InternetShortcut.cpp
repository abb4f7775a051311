#include "menus/core/InternetShortcut.h"

#include <cstdint>
#include <vector>

namespace menus {

namespace {

template <typename Char>
using View = std::basic_string_view<Char>;

template <typename Char>
bool IsBlank(Char c) {
    return c == Char(' ') || c == Char('\t');
}

template <typename Char>
View<Char> Trimmed(View<Char> text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Names are compared as the INI reader does for the ASCII names used here: letter case ignored.
template <typename Char>
bool SameName(View<Char> text, std::string_view name) {
    if (text.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto c = static_cast<std::uint32_t>(text[i]);
        if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
        auto n = static_cast<std::uint32_t>(static_cast<unsigned char>(name[i]));
        if (n >= 'A' && n <= 'Z') n += 'a' - 'A';
        if (c != n) return false;
    }
    return true;
}

// The value of key in the first section called section, quotes and blanks removed; nothing when
// either is missing. A zero character ends the value, as it ends the text the system hands back.
template <typename Char>
std::optional<View<Char>> IniValue(View<Char> text, std::string_view section, std::string_view key) {
    enum class Where { before, inside, after } where = Where::before;
    std::size_t start = 0;
    while (start < text.size() && where != Where::after) {
        std::size_t end = start;
        while (end < text.size() && text[end] != Char('\r') && text[end] != Char('\n')) ++end;
        const View<Char> line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.front() == Char('[')) {
            const View<Char> name = line.substr(1, line.find(Char(']')) - 1);
            if (where == Where::inside) where = Where::after;
            else if (SameName(Trimmed(name), section)) where = Where::inside;
            continue;
        }
        const std::size_t equals = line.find(Char('='));
        if (where != Where::inside || equals == View<Char>::npos || !SameName(Trimmed(line.substr(0, equals)), key))
            continue;
        View<Char> value = Trimmed(line.substr(equals + 1));
        value = value.substr(0, value.find(Char('\0')));
        if (value.size() >= 2 && (value.front() == Char('"') || value.front() == Char('\'')) &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

// A decoded address is used only when it is one: not empty, no control characters.
bool IsPlausibleAddress(std::wstring_view address) {
    if (address.empty()) return false;
    for (const wchar_t c : address)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool SurrogatesPaired(std::wstring_view units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(units[i]);
        if (IsLowSurrogate(unit)) return false;
        if (!IsHighSurrogate(unit)) continue;
        if (i + 1 == units.size() || !IsLowSurrogate(static_cast<std::uint32_t>(units[i + 1]))) return false;
        ++i;
    }
    return true;
}

std::wstring Utf16LittleEndian(std::string_view bytes) {
    std::wstring units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8));
    return units;
}

}  // namespace

std::optional<std::wstring> DecodeUtf7(std::string_view text) {
    std::wstring out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i++]);
        if (c >= 0x80) return std::nullopt;
        if (c != '+') {
            out.push_back(static_cast<wchar_t>(c));
            continue;
        }
        if (i < text.size() && text[i] == '-') {  // "+-" is "+" itself
            out.push_back(L'+');
            ++i;
            continue;
        }
        std::uint32_t bits = 0;
        int bitCount = 0;
        for (int value; i < text.size() && (value = Base64Value(text[i])) >= 0; ++i) {
            bits = (bits << 6 | static_cast<std::uint32_t>(value)) & 0x3FFFFF;
            bitCount += 6;
            if (bitCount >= 16) {
                bitCount -= 16;
                out.push_back(static_cast<wchar_t>(bits >> bitCount & 0xFFFF));
            }
        }
        // What is left of the run must be padding: fewer than six bits, all zero.
        if (bitCount >= 6 || (bits & ((1u << bitCount) - 1)) != 0) return std::nullopt;
        if (i < text.size() && text[i] == '-') ++i;  // the run's end mark is not text
    }
    if (!SurrogatesPaired(out)) return std::nullopt;
    return out;
}

ShortcutAddress ParseInternetShortcut(std::string_view bytes) {
    ShortcutAddress address;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        const std::wstring text = Utf16LittleEndian(bytes.substr(2));
        const auto value = IniValue<wchar_t>(text, "InternetShortcut", "URL");
        if (value && IsPlausibleAddress(*value) && SurrogatesPaired(*value)) {
            std::size_t length = value->size() < kShortcutAddressLimit ? value->size() : kShortcutAddressLimit;
            if (IsHighSurrogate(static_cast<std::uint32_t>((*value)[length - 1]))) --length;  // never half a pair
            address.unicode = std::wstring(value->substr(0, length));
        }
        return address;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (const auto wide = IniValue<char>(bytes, "InternetShortcut.W", "URL")) {
        if (auto decoded = DecodeUtf7(*wide); decoded && IsPlausibleAddress(*decoded)) address.unicode = std::move(decoded);
    }
    if (const auto ansi = IniValue<char>(bytes, "InternetShortcut", "URL"))
        address.ansi = std::string(ansi->substr(0, kShortcutAddressLimit));
    return address;
}

}  // namespace menus
