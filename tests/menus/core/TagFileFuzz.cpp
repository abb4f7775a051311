// Fuzzes the Tag.ini reader: any bytes give groups without crashing, no caption holds a line end
// or a zero byte, and writing the groups out again reads back the same groups.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "menus/core/TagFile.h"

namespace {

bool Cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Clean(const std::string& caption) { return caption.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto groups = menus::ParseTagFile(bytes, &Cp932Lead);

    std::string written;
    size_t captionBytes = 0;
    for (const auto& group : groups) {
        Check(Clean(group.caption));
        written += "%" + group.caption + "\r\n";
        captionBytes += group.caption.size() + 1;
        for (const auto& entry : group.entries) {
            Check(Clean(entry));
            written += "&" + entry + "\n";
            captionBytes += entry.size() + 1;
        }
    }
    Check(captionBytes <= size);

    const auto again = menus::ParseTagFile(written, &Cp932Lead);
    Check(again.size() == groups.size());
    for (size_t i = 0; i < groups.size(); ++i) {
        Check(again[i].caption == groups[i].caption);
        Check(again[i].entries == groups[i].entries);
    }
    (void)menus::TagFilePathFor(std::wstring(bytes.begin(), bytes.end()));
    return 0;
}
