// Fuzzes Tag.ini in any encoding: any bytes give a document without crashing; a Unicode text holds
// no unpaired surrogate and no zero before its end; the outline's groups and entries are those the
// byte parser finds in an ANSI file; and the host text of every caption and entry is ASCII whose
// references give back exactly the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "menus/core/TagFile.h"
#include "menus/core/TagText.h"

namespace {

bool Cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

void Check(bool condition) {
    if (!condition) std::abort();
}

std::optional<std::string> AsciiOnly(std::u16string_view character) {
    if (character.size() == 1 && character[0] < 0x80 && character[0] != u'&') return std::string(1, static_cast<char>(character[0]));
    return std::nullopt;
}

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// Reads the references back: the host text of text must give text again.
std::u16string Unreference(std::string_view bytes) {
    std::u16string text;
    for (size_t i = 0; i < bytes.size();) {
        Check(static_cast<unsigned char>(bytes[i]) < 0x80);
        if (bytes[i] != '&') {
            text.push_back(static_cast<char16_t>(bytes[i++]));
            continue;
        }
        const size_t end = bytes.find(';', i);
        Check(end != std::string_view::npos && bytes.substr(i, 2) == "&#");
        const unsigned long codePoint = std::stoul(std::string(bytes.substr(i + 2, end - i - 2)));
        if (codePoint >= 0x10000) {
            text.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(codePoint));
        }
        i = end + 1;
    }
    return text;
}

void CheckHostText(std::u16string_view text) {
    Check(Unreference(menus::HostTextWithReferences(text, &AsciiOnly)) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto document = menus::ReadTagDocument(bytes, &Cp932Lead);
    if (document->encoding == menus::TagEncoding::Ansi) {
        const auto groups = menus::ParseTagFile(bytes, &Cp932Lead);
        Check(groups.size() == document->ansiGroups.size());
        for (size_t i = 0; i < groups.size(); ++i) {
            const auto& outline = document->ansiGroups[i];
            Check(outline.caption == groups[i].caption);
            const auto entries = menus::TagEntries(outline.body, &Cp932Lead);
            Check(entries.size() == groups[i].entries.size() && outline.hasEntries == !entries.empty());
            for (size_t e = 0; e < entries.size(); ++e) Check(entries[e] == groups[i].entries[e]);
        }
        return 0;
    }
    const std::u16string& text = document->wideText;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsSurrogate(text[i])) {
            Check(text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF);
            ++i;
        }
    }
    for (const auto& group : document->wideGroups) {
        CheckHostText(group.caption);
        const auto entries = menus::TagEntries(group.body);
        Check(group.hasEntries == !entries.empty());
        for (std::u16string_view entry : entries) {
            Check(entry.find_first_of(std::u16string_view(u"\r\n\0", 3)) == std::u16string_view::npos);
            CheckHostText(entry);
        }
    }
    return 0;
}
