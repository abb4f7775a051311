#pragma once
// The document preview's parts below the toolbar button (TForm1::Btn_KestrixtoBrouserClick).

#include <string>

#include "hostlink/Kestrix.h"

namespace toolbar {

class BufferFile;

// The preview of a document without a file: the host's text written into the buffer file, then
// the browser window shown and sent there. Returns the host's text.
std::string ShowHostTextInBrowser(hostlink::HostHandle host, BufferFile& buffer);

}  // namespace toolbar
