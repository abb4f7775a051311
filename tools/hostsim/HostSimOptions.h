#pragma once
// hostsim's command line: "/name=value" options, then the document to open as the rest of the line.

#include <functional>
#include <string>
#include <string_view>

namespace hostsim {

struct Options {
    int layout = 0;              // /layout=N: the answer to 0x8194
    std::wstring ini;            // /ini=PATH
    std::wstring textFile;       // /textfile=PATH: initial text, as a new unsaved document
    std::wstring fileName;       // /filename=PATH: the document's name, nothing loaded
    bool modified = false;       // /modified=1
    std::wstring log;            // /log=PATH
    int hideToolbarMs = -1;      // /hidetoolbar=MS
    int showToolbarMs = -1;      // /showtoolbar=MS
    int destroyToolbarMs = -1;   // /destroytoolbar=MS
    bool noToolbar = false;      // /notoolbar
    std::wstring corvane;        // /corvane=PATH
    bool startCorvane = false;   // /startcorvane
    std::wstring title;          // /title=TEXT
    std::wstring document;       // the positional file, when it exists
};

// The companion program starts the editor with a file's path unquoted, blanks and all, so the
// whole rest of the line after the options names the document when such a file exists.
Options ParseCommandLine(std::wstring_view commandLine, const std::function<bool(const std::wstring&)>& fileExists);

}  // namespace hostsim
