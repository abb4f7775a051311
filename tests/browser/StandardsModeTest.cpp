// The browser control's standards mode: a Corvane started in the stand-in host names itself under
// FEATURE_BROWSER_EMULATION for the current user, DWORD 11000, before its browser window exists,
// and keeps a value that is already there, whatever it holds.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/TestSupport.h"

namespace {

using namespace testsupport;

constexpr wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
// A name of its own, so that no other test's Corvane.exe has set the value before.
constexpr char kExeName[] = "CorvaneStandards.exe";
constexpr wchar_t kValueName[] = L"CorvaneStandards.exe";

struct Value {
    DWORD type = 0;
    std::vector<BYTE> data;
};

std::optional<Value> ReadValue() {
    DWORD type = 0, size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kEmulationKey, kValueName, RRF_RT_ANY, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    Value value{type, std::vector<BYTE>(size)};
    if (::RegGetValueW(HKEY_CURRENT_USER, kEmulationKey, kValueName, RRF_RT_ANY, &type, value.data.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

void WriteValue(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kEmulationKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(key, kValueName, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    ::RegCloseKey(key);
}

void DeleteValue() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kEmulationKey, kValueName); }

std::vector<BYTE> Bytes(DWORD number) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&number);
    return std::vector<BYTE>(p, p + sizeof number);
}

class StandardsMode : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteValue();
        dir_ = ScratchDir("standards mode");
        exe_ = StageCorvane(dir_, "%Head\r\n&<h1></h1>\r\n", kExeName);
    }
    void TearDown() override {
        DeleteValue();
        RemoveTree(dir_);
    }

    // Starts the staged Corvane in a fresh host and waits until its browser window exists, which
    // is after the registry has been looked at; ends both.
    void RunCorvaneOnce() {
        HostSim host = HostSim::Start();
        ASSERT_NE(host.Main(), nullptr);
        Process corvane = StartCorvane(exe_, host);
        EXPECT_TRUE(WaitUntil([&] { return !TopLevelWindowsOf(corvane.Id(), "TForm2").empty(); }, 15000))
            << "Corvane made no browser window";
        corvane.Kill();
    }

    std::string dir_, exe_;
};

TEST_F(StandardsMode, MissingValueIsWrittenAsDword11000) {
    ASSERT_FALSE(ReadValue().has_value());
    RunCorvaneOnce();
    const std::optional<Value> written = ReadValue();
    ASSERT_TRUE(written.has_value()) << "no value named after the executable";
    EXPECT_EQ(written->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(written->data, Bytes(11000));
}

TEST_F(StandardsMode, ValueThatIsThereIsKeptWhateverItHolds) {
    const DWORD chosen = 7000;
    WriteValue(REG_DWORD, &chosen, sizeof chosen);
    RunCorvaneOnce();
    ASSERT_TRUE(ReadValue().has_value());
    EXPECT_EQ(ReadValue()->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ReadValue()->data, Bytes(chosen));

    const wchar_t text[] = L"odd";
    WriteValue(REG_SZ, text, sizeof text);
    RunCorvaneOnce();
    ASSERT_TRUE(ReadValue().has_value());
    EXPECT_EQ(ReadValue()->type, static_cast<DWORD>(REG_SZ)) << "a value of another type was replaced";
}

}  // namespace
