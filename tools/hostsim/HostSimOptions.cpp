#include "tools/hostsim/HostSimOptions.h"

#include <cwchar>
#include <cwctype>

namespace hostsim {

namespace {

bool IsBlank(wchar_t c) { return c <= L' '; }

// One argument from pos: quotes group blanks and are removed.
std::wstring TakeToken(std::wstring_view line, size_t& pos) {
    std::wstring token;
    bool quoted = false;
    for (; pos < line.size(); ++pos) {
        const wchar_t c = line[pos];
        if (c == L'"') {
            quoted = !quoted;
        } else if (!quoted && IsBlank(c)) {
            break;
        } else {
            token.push_back(c);
        }
    }
    return token;
}

void SkipBlanks(std::wstring_view line, size_t& pos) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

int ToInt(const std::wstring& value, int fallback) {
    if (value.empty()) return fallback;
    wchar_t* end = nullptr;
    const long number = std::wcstol(value.c_str(), &end, 10);
    return end && *end == L'\0' ? static_cast<int>(number) : fallback;
}

// Applies one "/name[=value]" option; false when the name is not one of ours.
bool ApplyOption(const std::wstring& token, Options& options) {
    const size_t equals = token.find(L'=');
    const std::wstring name = Lower(token.substr(1, equals == std::wstring::npos ? std::wstring::npos : equals - 1));
    const std::wstring value = equals == std::wstring::npos ? std::wstring() : token.substr(equals + 1);
    if (name == L"layout") options.layout = ToInt(value, 0);
    else if (name == L"ini") options.ini = value;
    else if (name == L"textfile") options.textFile = value;
    else if (name == L"filename") options.fileName = value;
    else if (name == L"modified") options.modified = value.empty() || value != L"0";
    else if (name == L"log") options.log = value;
    else if (name == L"hidetoolbar") options.hideToolbarMs = ToInt(value, -1);
    else if (name == L"showtoolbar") options.showToolbarMs = ToInt(value, -1);
    else if (name == L"destroytoolbar") options.destroyToolbarMs = ToInt(value, -1);
    else if (name == L"notoolbar") options.noToolbar = true;
    else if (name == L"corvane") options.corvane = value;
    else if (name == L"startcorvane") options.startCorvane = true;
    else if (name == L"title") options.title = value;
    else return false;
    return true;
}

std::wstring TrimEnd(std::wstring_view text) {
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    return std::wstring(text.substr(0, end));
}

}  // namespace

Options ParseCommandLine(std::wstring_view line, const std::function<bool(const std::wstring&)>& fileExists) {
    Options options;
    size_t pos = 0;
    TakeToken(line, pos);  // the program itself
    while (true) {
        SkipBlanks(line, pos);
        if (pos >= line.size()) break;
        const bool looksLikeOption = line[pos] == L'/' || (line[pos] == L'"' && pos + 1 < line.size() && line[pos + 1] == L'/');
        if (!looksLikeOption) break;
        size_t next = pos;
        const std::wstring token = TakeToken(line, next);
        if (!ApplyOption(token, options)) break;  // not ours: maybe the start of the document's path
        pos = next;
    }
    if (pos >= line.size()) return options;

    const std::wstring rest = TrimEnd(line.substr(pos));
    size_t tokenPos = 0;
    const std::wstring firstToken = TakeToken(rest, tokenPos);
    std::wstring unquoted = rest;
    if (unquoted.size() >= 2 && unquoted.front() == L'"' && unquoted.back() == L'"')
        unquoted = unquoted.substr(1, unquoted.size() - 2);
    for (const std::wstring& candidate : {rest, unquoted, firstToken}) {
        if (!candidate.empty() && fileExists(candidate)) {
            options.document = candidate;
            break;
        }
    }
    return options;
}

}  // namespace hostsim
