#pragma once
// The document preview's parts below the toolbar button (TForm1::Btn_KestrixtoBrouserClick).

#include <string>
#include <string_view>

#include "hostlink/Kestrix.h"

namespace preview {

// The executable's folder with its trailing separator, plus "Buffer.htm".
std::wstring BufferFilePath();

// Replaces the file at path with content, whole (toolkit::ReplaceFileContent): a failure leaves
// the earlier file as it was. Throws toolkit::Error, naming path.
void WriteFileWhole(const std::wstring& path, std::string_view content);

// The preview of a document without a file: the host's text and one CR LF into Buffer.htm, then
// the browser window shown and sent there.
void ShowHostTextInBrowser(kestrix::HostHandle host);

}  // namespace preview
