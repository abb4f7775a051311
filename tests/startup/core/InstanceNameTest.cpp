// The instance mutex's name: built from the executable's wide name, so every name keeps its
// characters and none of them can act as a separator of kernel object names.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "startup/core/InstanceName.h"

namespace {

using startup::InstanceNameFor;

TEST(InstanceNameFor, KeepsEveryCharacterOfTheNameAndSeparatesNothing) {
    const struct {
        std::wstring baseName;
        std::uint32_t host;
        std::wstring expected;
    } cases[] = {
        // Names the ANSI code page holds: exactly the name ANSI builds gave them.
        {L"Corvane", 655794, L"Kestrix_ToolBar_Application_Corvane_655794"},
        {L"My Corvane.v2", 1, L"Kestrix_ToolBar_Application_My Corvane.v2_1"},
        {L"コルヴェイン％", 0, L"Kestrix_ToolBar_Application_コルヴェイン％_0"},
        {L"", std::numeric_limits<std::uint32_t>::max(), L"Kestrix_ToolBar_Application__4294967295"},
        // Names it does not hold keep their own characters: "¥" stays "¥", not "\".
        {L"Corvane¥", 42, L"Kestrix_ToolBar_Application_Corvane¥_42"},
        {L"Corvané ☕ 한국", 42, L"Kestrix_ToolBar_Application_Corvané ☕ 한국_42"},
        // No file name holds these; were one given, it could neither separate nor cut the name.
        {L"Global\\Corvane", 7, L"Kestrix_ToolBar_Application_Global_Corvane_7"},
        {std::wstring(L"a\0b", 3), 7, L"Kestrix_ToolBar_Application_a_b_7"},
    };
    for (const auto& c : cases) {
        const std::wstring name = InstanceNameFor(c.baseName, c.host);
        EXPECT_EQ(name, c.expected);
        EXPECT_EQ(name.find_first_of(std::wstring(L"\\\0", 2)), std::wstring::npos);
    }
}

}  // namespace
