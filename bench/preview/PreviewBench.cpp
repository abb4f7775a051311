// How long the preview of an unsaved 1 MB document takes in the program (the host's text fetched
// from the stand-in host in its own process, Buffer.htm written, the browser window shown and
// sent there), next to copying 1 MB between two buffers and writing it to a file, measured in
// the same run. Prints the best of several runs of each and their ratio.
//
// Usage: preview_bench [megabytes]   (default 1). Run under the Wine test bed.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/testbed/HostSim.h"
#include "browser/Unit2.h"
#include "hostlink/Kestrix.h"
#include "toolbar/preview/PreviewCommand.h"
#include "toolbar/preview/BufferFile.h"
#include "toolkit/Application.h"
#include "toolkit/Files.h"
#include "toolkit/Module.h"

#include "bench/BenchClock.h"
#include "bench/BenchReport.h"
#include "bench/BenchText.h"

namespace {

constexpr int kRuns = 10;

using bench::BestOf;
const auto Now = bench::NowMs;

// HTML with Japanese text, in the ANSI code page, of at least size bytes.
std::string Document(size_t size) {
    return bench::Repeated(testsupport::Utf8ToAnsi("<p>プレビューの測定用の本文です。 The quick brown fox.</p>\r\n"), size);
}

void WriteWithCopy(const std::wstring& path, const std::string& source, std::vector<char>& copy) {
    std::memcpy(copy.data(), source.data(), source.size());
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot create %ls\n", path.c_str());
        std::exit(1);
    }
    DWORD written = 0;
    ::WriteFile(file, copy.data(), static_cast<DWORD>(source.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? static_cast<size_t>(std::max(1, std::atoi(argv[1]))) : 1;
    const std::string text = Document(megabytes * 1024 * 1024);

    testsupport::HostSim::Options options;
    options.text = text;
    options.hasText = true;
    testsupport::HostSim host = testsupport::HostSim::Start(options);
    if (!host.Main()) {
        std::fprintf(stderr, "the stand-in host did not start\n");
        return 1;
    }
    hostlink::HostWindow = host.Handle32();
    if (hostlink::GetHostText(hostlink::HostWindow) != text) {
        std::fprintf(stderr, "the host does not hold the whole document\n");
        return 1;
    }
    toolkit::App().Initialize();
    auto form2 = std::make_unique<browser::TForm2>();
    browser::Form2 = form2.get();

    toolbar::BufferFile buffer(toolkit::ExecutableFolder(), hostlink::HostWindow);
    const std::wstring bufferPath = buffer.Path();
    const std::wstring baselinePath = bufferPath + L".baseline";
    std::vector<char> copy(text.size());

    const double previewMs = BestOf(kRuns, [&] { toolbar::ShowHostTextInBrowser(hostlink::HostWindow, buffer); });
    const double baselineMs = BestOf(kRuns, [&] { WriteWithCopy(baselinePath, text, copy); });
    // Where the time goes.
    const double fetchMs = BestOf(kRuns, [] { hostlink::GetHostText(hostlink::HostWindow); });
    const double writeMs = BestOf(kRuns, [&] { toolkit::ReplaceFileContent(bufferPath, text + "\r\n"); });

    ::DeleteFileW(bufferPath.c_str());
    ::DeleteFileW(baselinePath.c_str());
    std::printf("preview of an unsaved %zu MB document: %.2f ms (best of %d)\n", megabytes, previewMs, kRuns);
    std::printf("baseline, copy %zu MB and write it to a file: %.2f ms (best of %d)\n", megabytes, baselineMs, kRuns);
    std::printf("  of which the host's text %.2f ms, Buffer.htm written whole %.2f ms\n", fetchMs, writeMs);
    std::printf("ratio preview / baseline: %.1f\n", previewMs / baselineMs);
    const std::string figure = "preview of an unsaved " + std::to_string(megabytes) + " MB document";
    const std::string baseline = "copy " + std::to_string(megabytes) + " MB and write it";
    bench::Report(figure.c_str(), previewMs, "ms", baseline.c_str(), baselineMs);
    browser::Form2 = nullptr;
    return 0;
}
