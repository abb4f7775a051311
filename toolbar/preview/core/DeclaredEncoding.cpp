#include "toolbar/preview/core/DeclaredEncoding.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace toolbar {

namespace {

// The labels of the web's encodings. Those of UTF-16 count as UTF-8: a browser that finds UTF-16
// declared in an 8-bit page reads it as UTF-8.
constexpr std::string_view kUtf8Labels[] = {
    "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "utf-8", "utf8", "x-unicode20utf8",
    "unicodefffe", "utf-16be", "csunicode", "iso-10646-ucs-2", "ucs-2", "unicode", "unicodefeff", "utf-16", "utf-16le",
};
constexpr std::string_view kShiftJisLabels[] = {
    "csshiftjis", "ms932", "ms_kanji", "shift-jis", "shift_jis", "sjis", "windows-31j", "x-sjis",
};
constexpr std::string_view kOtherLabels[] = {
    "866", "cp866", "csibm866", "ibm866",
    "csisolatin2", "iso-8859-2", "iso-ir-101", "iso8859-2", "iso88592", "iso_8859-2", "iso_8859-2:1987", "l2", "latin2",
    "csisolatin3", "iso-8859-3", "iso-ir-109", "iso8859-3", "iso88593", "iso_8859-3", "iso_8859-3:1988", "l3", "latin3",
    "csisolatin4", "iso-8859-4", "iso-ir-110", "iso8859-4", "iso88594", "iso_8859-4", "iso_8859-4:1988", "l4", "latin4",
    "csisolatincyrillic", "cyrillic", "iso-8859-5", "iso-ir-144", "iso8859-5", "iso88595", "iso_8859-5",
    "iso_8859-5:1988",
    "arabic", "asmo-708", "csiso88596e", "csiso88596i", "csisolatinarabic", "ecma-114", "iso-8859-6", "iso-8859-6-e",
    "iso-8859-6-i", "iso-ir-127", "iso8859-6", "iso88596", "iso_8859-6", "iso_8859-6:1987",
    "csisolatingreek", "ecma-118", "elot_928", "greek", "greek8", "iso-8859-7", "iso-ir-126", "iso8859-7", "iso88597",
    "iso_8859-7", "iso_8859-7:1987", "sun_eu_greek",
    "csiso88598e", "csisolatinhebrew", "hebrew", "iso-8859-8", "iso-8859-8-e", "iso-ir-138", "iso8859-8", "iso88598",
    "iso_8859-8", "iso_8859-8:1988", "visual",
    "csiso88598i", "iso-8859-8-i", "logical",
    "csisolatin6", "iso-8859-10", "iso-ir-157", "iso8859-10", "iso885910", "l6", "latin6",
    "iso-8859-13", "iso8859-13", "iso885913",
    "iso-8859-14", "iso8859-14", "iso885914",
    "csisolatin9", "iso-8859-15", "iso8859-15", "iso885915", "iso_8859-15", "l9",
    "iso-8859-16",
    "cskoi8r", "koi", "koi8", "koi8-r", "koi8_r",
    "koi8-ru", "koi8-u",
    "csmacintosh", "mac", "macintosh", "x-mac-roman",
    "dos-874", "iso-8859-11", "iso8859-11", "iso885911", "tis-620", "windows-874",
    "cp1250", "windows-1250", "x-cp1250",
    "cp1251", "windows-1251", "x-cp1251",
    "ansi_x3.4-1968", "ascii", "cp1252", "cp819", "csisolatin1", "ibm819", "iso-8859-1", "iso-ir-100", "iso8859-1",
    "iso88591", "iso_8859-1", "iso_8859-1:1987", "l1", "latin1", "us-ascii", "windows-1252", "x-cp1252",
    "cp1253", "windows-1253", "x-cp1253",
    "cp1254", "csisolatin5", "iso-8859-9", "iso-ir-148", "iso8859-9", "iso88599", "iso_8859-9", "iso_8859-9:1989", "l5",
    "latin5", "windows-1254", "x-cp1254",
    "cp1255", "windows-1255", "x-cp1255",
    "cp1256", "windows-1256", "x-cp1256",
    "cp1257", "windows-1257", "x-cp1257",
    "cp1258", "windows-1258", "x-cp1258",
    "x-mac-cyrillic", "x-mac-ukrainian",
    "chinese", "csgb2312", "csiso58gb231280", "gb2312", "gb_2312", "gb_2312-80", "gbk", "iso-ir-58", "x-gbk",
    "gb18030",
    "big5", "big5-hkscs", "cn-big5", "csbig5", "x-x-big5",
    "cseucpkdfmtjapanese", "euc-jp", "x-euc-jp",
    "csiso2022jp", "iso-2022-jp",
    "cseuckr", "csksc56011987", "euc-kr", "iso-ir-149", "korean", "ks_c_5601-1987", "ks_c_5601-1989", "ksc5601",
    "ksc_5601", "windows-949",
    "csiso2022kr", "hz-gb-2312", "iso-2022-cn", "iso-2022-cn-ext", "iso-2022-kr", "replacement",
    "x-user-defined",
};

bool IsSpace(char c) { return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' '; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLetter(char c) { return IsUpper(c) || (c >= 'a' && c <= 'z'); }
char Lower(char c) { return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

template <std::size_t N>
bool Among(std::string_view label, const std::string_view (&labels)[N]) {
    return std::any_of(std::begin(labels), std::end(labels), [label](std::string_view l) { return SameIgnoringCase(label, l); });
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The charset named in a content attribute's value ("text/html; charset=utf-8"), if any.
DeclaredEncoding EncodingInContent(std::string_view content) {
    constexpr std::string_view kCharset = "charset";
    std::size_t at = 0;
    while (true) {
        std::size_t found = std::string_view::npos;
        for (std::size_t i = at; i + kCharset.size() <= content.size(); ++i) {
            if (SameIgnoringCase(content.substr(i, kCharset.size()), kCharset)) {
                found = i;
                break;
            }
        }
        if (found == std::string_view::npos) return DeclaredEncoding::None;
        std::size_t p = found + kCharset.size();
        while (p < content.size() && IsSpace(content[p])) ++p;
        if (p >= content.size() || content[p] != '=') {
            at = p;  // "charset" without "=": look for the next one from here
            continue;
        }
        ++p;
        while (p < content.size() && IsSpace(content[p])) ++p;
        if (p >= content.size()) return DeclaredEncoding::None;
        const char quote = content[p];
        if (quote == '"' || quote == '\'') {
            const std::size_t end = content.find(quote, p + 1);
            if (end == std::string_view::npos) return DeclaredEncoding::None;
            return EncodingOfLabel(content.substr(p + 1, end - p - 1));
        }
        std::size_t end = p;
        while (end < content.size() && !IsSpace(content[end]) && content[end] != ';') ++end;
        return EncodingOfLabel(content.substr(p, end - p));
    }
}

struct Attribute {
    std::string name;
    std::string value;
};

// Walks the bytes as a browser's prescan does. Attribute names and values come out in lower case.
class Prescan {
public:
    explicit Prescan(std::string_view bytes) : bytes_(bytes.substr(0, std::min(bytes.size(), kEncodingSearchLength))) {}

    DeclaredEncoding Run() {
        for (; pos_ < bytes_.size(); ++pos_) {
            if (At("<!--")) {
                SkipComment();
            } else if (AtMeta()) {
                pos_ += 6;
                if (const auto found = MetaElement()) return *found;
            } else if (At("<") && pos_ + 1 < bytes_.size() && (IsLetter(bytes_[pos_ + 1]) || EndTagStart())) {
                SkipTag();
            } else if (At("<!") || At("</") || At("<?")) {
                SkipTo('>');
            }
        }
        return DeclaredEncoding::None;
    }

private:
    bool At(std::string_view text) const { return bytes_.substr(pos_, text.size()) == text; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }
    char Byte() const { return bytes_[pos_]; }

    bool EndTagStart() const {
        return bytes_[pos_ + 1] == '/' && pos_ + 2 < bytes_.size() && IsLetter(bytes_[pos_ + 2]);
    }

    bool AtMeta() const {
        if (pos_ + 6 > bytes_.size() || !SameIgnoringCase(bytes_.substr(pos_, 5), "<meta")) return false;
        const char after = bytes_[pos_ + 5];
        return IsSpace(after) || after == '/';
    }

    // Leaves pos_ on the ">" of the first "-->" after "<!" (the dashes of "<!--" may count).
    void SkipComment() {
        const std::size_t end = bytes_.find("-->", pos_ + 2);
        pos_ = end == std::string_view::npos ? bytes_.size() : end + 2;
    }

    void SkipTo(char c) {
        const std::size_t end = bytes_.find(c, pos_ + 1);
        pos_ = end == std::string_view::npos ? bytes_.size() : end;
    }

    // A start or end tag other than meta: its attributes are read and dropped, so that a ">" or a
    // "<meta" inside a quoted value is not taken for markup.
    void SkipTag() {
        while (!AtEnd() && !IsSpace(Byte()) && Byte() != '>') ++pos_;
        while (NextAttribute()) {
        }
    }

    // The attributes of a meta element, from just after "<meta" and its one following byte.
    std::optional<DeclaredEncoding> MetaElement() {
        std::vector<std::string> seen;
        bool gotPragma = false;
        std::optional<bool> needPragma;
        std::optional<DeclaredEncoding> charset;  // None once a label named nothing
        while (const auto attribute = NextAttribute()) {
            if (std::find(seen.begin(), seen.end(), attribute->name) != seen.end()) continue;
            seen.push_back(attribute->name);
            if (attribute->name == "http-equiv") {
                if (attribute->value == "content-type") gotPragma = true;
            } else if (attribute->name == "content") {
                const DeclaredEncoding found = EncodingInContent(attribute->value);
                if (found != DeclaredEncoding::None && !charset) {
                    charset = found;
                    needPragma = true;
                }
            } else if (attribute->name == "charset") {
                charset = EncodingOfLabel(attribute->value);
                needPragma = false;
            }
        }
        if (!needPragma || (*needPragma && !gotPragma) || !charset || *charset == DeclaredEncoding::None)
            return std::nullopt;
        return *charset;
    }

    // The next attribute of the tag at pos_; none at the tag's ">" or at the end of the bytes.
    std::optional<Attribute> NextAttribute() {
        while (!AtEnd() && (IsSpace(Byte()) || Byte() == '/')) ++pos_;
        if (AtEnd() || Byte() == '>') return std::nullopt;
        Attribute attribute;
        // The name, up to "=", a space, "/" or ">"; a first "=" belongs to the name.
        for (;; ++pos_) {
            if (AtEnd()) return std::nullopt;
            const char c = Byte();
            if (c == '=' && !attribute.name.empty()) break;
            if (IsSpace(c)) {
                while (!AtEnd() && IsSpace(Byte())) ++pos_;
                if (AtEnd()) return std::nullopt;
                if (Byte() != '=') return attribute;
                break;
            }
            if (c == '/' || c == '>') return attribute;
            attribute.name += Lower(c);
        }
        ++pos_;  // past "="
        while (!AtEnd() && IsSpace(Byte())) ++pos_;
        if (AtEnd()) return std::nullopt;
        const char first = Byte();
        if (first == '"' || first == '\'') {
            for (++pos_; !AtEnd(); ++pos_) {
                if (Byte() == first) {
                    ++pos_;
                    return attribute;
                }
                attribute.value += Lower(Byte());
            }
            return std::nullopt;
        }
        if (first == '>') return attribute;
        for (; !AtEnd(); ++pos_) {
            if (IsSpace(Byte()) || Byte() == '>') return attribute;
            attribute.value += Lower(Byte());
        }
        return std::nullopt;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

DeclaredEncoding EncodingOfLabel(std::string_view label) {
    label = Trimmed(label);
    if (Among(label, kUtf8Labels)) return DeclaredEncoding::Utf8;
    if (Among(label, kShiftJisLabels)) return DeclaredEncoding::ShiftJis;
    if (Among(label, kOtherLabels)) return DeclaredEncoding::Other;
    return DeclaredEncoding::None;
}

DeclaredEncoding FindDeclaredEncoding(std::string_view document) { return Prescan(document).Run(); }

}  // namespace toolbar
