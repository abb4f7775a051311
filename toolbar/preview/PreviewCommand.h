#pragma once
// The preview button: the host's document in the browser window, from its own file when it has
// one (saved first when modified), otherwise from a copy of its text in the buffer file. From the
// first preview on, live preview follows the last one.

#include <memory>
#include <string>

#include "hostlink/core/HostProtocol.h"

namespace toolbar {

class BufferFile;   // toolbar/preview/BufferFile.h
class LivePreview;  // toolbar/preview/LivePreview.h

class PreviewCommand {
public:
    PreviewCommand();
    ~PreviewCommand();
    PreviewCommand(const PreviewCommand&) = delete;
    PreviewCommand& operator=(const PreviewCommand&) = delete;

    // One press of the button, for the document of host.
    void Run(hostlink::HostHandle host);

private:
    // Both made at the first press: the buffer file claims its name only when a preview needs it.
    // Live preview writes into the buffer file, so it is declared after it and goes first.
    std::unique_ptr<BufferFile> buffer_;
    std::unique_ptr<LivePreview> live_;
};

// The preview of a document without a file: the host's text written into the buffer file, then
// the browser window shown and sent there. Returns the host's text.
std::string ShowHostTextInBrowser(hostlink::HostHandle host, BufferFile& buffer);

}  // namespace toolbar
