#pragma once
// The document preview's parts below the toolbar button (TForm1::Btn_KestrixtoBrouserClick).

#include <string>
#include <string_view>

#include "hostlink/Kestrix.h"

namespace toolbar {

// The executable's folder with its trailing separator, plus "Buffer.htm".
std::wstring BufferFilePath();

// Replaces the file at path with content, whole (toolkit::ReplaceFileContent): a failure leaves
// the earlier file as it was. Throws toolkit::Error, naming path.
void WriteFileWhole(const std::wstring& path, std::string_view content);

// The preview of a document without a file: the host's text and one CR LF into Buffer.htm (in
// UTF-8 when its markup declares that), then the browser window shown and sent there. Returns the
// host's text.
std::string ShowHostTextInBrowser(hostlink::HostHandle host);

}  // namespace toolbar
