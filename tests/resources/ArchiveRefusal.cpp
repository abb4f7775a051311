// archiverefusal: starts the Corvane.exe unpacked from a release archive with no editor in front
// and checks that it refuses to run the way the program does: the warning box, captioned with the
// executable's name, telling the user to start it from the editor's Tools menu; once the box is
// dismissed the process ends.
//
// Usage: archiverefusal CORVANE-EXE (a Windows path). Exit code 0 when all holds.

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/testbed/TestSupport.h"

namespace {

constexpr DWORD kBoxTimeoutMs = 15000;
constexpr DWORD kExitTimeoutMs = 8000;
constexpr char kRefusalHead[] = "Kestrixの[ツール]から実行して下さい。\r\n";

int Fail(const char* what, const std::string& detail = {}) {
    std::printf("archiverefusal: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: archiverefusal CORVANE-EXE");
    testsupport::Process corvane = testsupport::Process::Start(argv[1], "");
    const HWND box = testsupport::WaitForMessageBox(corvane.Id(), kBoxTimeoutMs);
    if (!box) return Fail("no refusal box within the time");
    const std::string caption = testsupport::WindowCaption(box);
    const std::string text = testsupport::MessageBoxText(box);
    testsupport::PressMessageBoxButton(box);
    if (caption != "Corvane") return Fail("the box's caption is not the executable's name", caption);
    if (text.rfind(kRefusalHead, 0) != 0) return Fail("the box does not say where to start Corvane from", text);
    if (!corvane.WaitExit(kExitTimeoutMs)) return Fail("still running after the box was dismissed");
    std::printf("archiverefusal: refused as expected\n");
    return 0;
}
