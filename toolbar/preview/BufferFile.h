#pragma once
// The file an unsaved document is previewed from: where it is, what it receives and how it is
// written. The preview button and live preview both go through here, and nothing else names it.

#include <string>
#include <string_view>

#include "hostlink/core/HostProtocol.h"
#include "toolkit/Handles.h"

namespace toolbar {

// One per instance. Buffer.htm in the executable's folder unless another instance already uses
// it; then a file of this instance's own beside it, "Buffer-" plus the host window's handle in
// decimal plus ".htm" (with "-" and the process id before ".htm" in the rare case that this name
// is taken too). Buffer.htm is marked as in use by a named kernel object held for the life of
// the instance, so the next instance to start after it ends takes Buffer.htm again.
class BufferFile {
public:
    // folder ends with a separator.
    BufferFile(const std::wstring& folder, hostlink::HostHandle host);
    // A file of its own that it wrote goes with it; Buffer.htm stays, as the last copy of the text.
    ~BufferFile();
    BufferFile(const BufferFile&) = delete;
    BufferFile& operator=(const BufferFile&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    // Replaces the file with BufferContent(hostText), whole: a failure leaves the earlier file as
    // it was and throws toolkit::Error (the file-create error, naming the path).
    void Write(std::string_view hostText);

private:
    std::wstring path_;
    toolkit::KernelHandle claim_;  // marks path_ as this instance's
    bool own_ = false;             // path_ is not Buffer.htm
    bool written_ = false;
};

// What the file receives: the host's text and one CR LF. A text whose markup declares UTF-8
// comes converted from the ANSI code page into UTF-8 (without a byte-order mark), so that the
// browser reads it as it says; any other text, declared Shift_JIS, something else or nothing,
// keeps the host's bytes.
std::string BufferContent(std::string_view hostText);

}  // namespace toolbar
