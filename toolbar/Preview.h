#pragma once
// The document preview's parts below the toolbar button (TForm1::Btn_KestrixtoBrouserClick).

#include <string>
#include <string_view>

#include "hostlink/Kestrix.h"

namespace preview {

// The executable's folder with its trailing separator, plus "Buffer.htm".
std::string BufferFilePath();

// Replaces the file at path with content, whole: the content goes to a file of its own beside it
// first and takes the old file's place only once all of it is written, so a failure (a full disk,
// a read-only folder or file) leaves the earlier file as it was. Throws toolkit::Error, naming path.
void WriteFileWhole(const std::string& path, std::string_view content);

// The preview of a document without a file: the host's text and one CR LF into Buffer.htm (in
// UTF-8 when its markup declares that), then the browser window shown and sent there. Returns the
// host's text.
std::string ShowHostTextInBrowser(kestrix::HostHandle host);

}  // namespace preview
