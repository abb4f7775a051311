#include "toolbar/preview/core/LiveFollow.h"

#include <algorithm>
#include <utility>

#include "toolkit/core/Utf8.h"

namespace toolbar {

void LiveFollow::PreviewedText(std::wstring bufferAddress, std::string text) {
    *this = LiveFollow{};
    kind_ = Kind::Text;
    address_ = std::move(bufferAddress);
    written_ = std::move(text);
}

void LiveFollow::PreviewedFile(std::wstring path) {
    *this = LiveFollow{};
    kind_ = Kind::File;
    address_ = std::move(path);
}

void LiveFollow::Forget() { *this = LiveFollow{}; }

void LiveFollow::Failed() {
    switch (last_) {
    case LiveAction::Rewrite:
        // What Buffer.htm holds is not known now; the text goes in again while the host still has it.
        seen_ = std::move(written_);
        written_.reset();
        break;
    case LiveAction::Reload:
    case LiveAction::Open:
        owed_ = last_;
        break;
    case LiveAction::None:
        break;
    }
    last_ = LiveAction::None;
}

LiveAction LiveFollow::Check(LiveSight& sight) {
    last_ = LiveAction::None;
    if (kind_ == Kind::Nothing) return {};
    if (owed_ == LiveAction::Open) {
        // The window never got there: it still shows the page the document had before its file.
        owed_ = LiveAction::None;
        last_ = LiveAction::Open;
        return {LiveAction::Open, {}, address_};
    }
    // After the reader has gone elsewhere the page is theirs: wait until they come back.
    if (!sight.WindowShows(address_)) return {};
    LiveAction action = kind_ == Kind::Text ? CheckText(sight) : CheckFile(sight);
    last_ = action.kind;
    return action;
}

LiveAction LiveFollow::CheckText(LiveSight& sight) {
    if (std::wstring fileName = sight.HostFileName(); !fileName.empty()) {
        // Saved under a name since the preview: from now on the window shows that file.
        PreviewedFile(fileName);
        return {LiveAction::Open, {}, std::move(fileName)};
    }
    std::optional<std::string> text = sight.HostText();
    // Nothing seen is no empty document: nothing is recorded, and Buffer.htm keeps what it has.
    if (!text) return {};
    if (text == written_) {
        seen_.reset();  // typed and taken back: nothing to show
        return {};
    }
    if (seen_ != text) {
        seen_ = std::move(text);  // still typing, perhaps: wait one check
        return {};
    }
    seen_.reset();
    written_ = *text;
    return {LiveAction::Rewrite, std::move(*text), {}};
}

LiveAction LiveFollow::CheckFile(LiveSight& sight) {
    // Asked first, so that the folder is watched before the content is first read.
    hashOwed_ = sight.FolderChanged(address_) || hashOwed_;
    const std::optional<FileStamp> stamp = sight.StampOf(address_);
    if (!stampKnown_) {
        // The first look only learns what is there.
        stampKnown_ = true;
        stamp_ = stamp;
        hash_ = stamp ? sight.ContentHashOf(address_) : std::nullopt;
        hashOwed_ = false;
        return {};
    }
    const bool changed = stamp && stamp != stamp_;
    stamp_ = stamp;
    if (!stamp) return {};  // saved by replacing, perhaps: gone for a moment
    if (changed || owed_ == LiveAction::Reload) {
        owed_ = LiveAction::None;
        hash_ = sight.ContentHashOf(address_);
        hashOwed_ = !hash_;
        return {LiveAction::Reload, {}, {}};
    }
    // A save can keep size and time (a coarse clock, a file copied in with its old time): after a
    // change in the folder, the content tells.
    if (!hashOwed_) return {};
    const std::optional<std::uint64_t> hash = sight.ContentHashOf(address_);
    if (!hash) return {};  // still being written, perhaps: read again at the next check
    hashOwed_ = false;
    const bool differs = hash != hash_;
    hash_ = hash;
    return differs ? LiveAction{LiveAction::Reload, {}, {}} : LiveAction{};
}

std::uint64_t ContentHash(std::string_view bytes) noexcept {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ull;
    }
    return hash;
}

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
wchar_t Folded(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
    return c == L'/' ? L'\\' : c;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Appends UTF-8 bytes as UTF-16; false when they are no UTF-8.
bool AppendUtf8(std::wstring& out, const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const toolkit::Utf8Sequence sequence = toolkit::ReadUtf8(bytes, i);
        if (sequence.length == 0) return false;
        toolkit::AppendUtf16(out, sequence.codePoint);
        i += sequence.length;
    }
    return true;
}

// A file URL's path with its escapes undone; nothing when an escape is no UTF-8.
std::optional<std::wstring> PathOfFileUrl(std::wstring_view url) {
    std::size_t slashes = 0;
    while (slashes < url.size() && (url[slashes] == L'/' || url[slashes] == L'\\')) ++slashes;
    std::wstring path;
    const std::wstring_view rest = url.substr(slashes);
    const bool drive = rest.size() >= 2 && IsAsciiLetter(rest[0]) && (rest[1] == L':' || rest[1] == L'|');
    if (!drive && slashes >= 2) path = L"\\\\";  // file://server/share
    std::string escaped;
    for (std::size_t i = 0; i <= rest.size(); ++i) {
        if (i + 2 < rest.size() && rest[i] == L'%' && HexValue(rest[i + 1]) >= 0 && HexValue(rest[i + 2]) >= 0) {
            escaped += static_cast<char>(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2]));
            i += 2;
            continue;
        }
        if (!AppendUtf8(path, escaped)) return std::nullopt;
        escaped.clear();
        if (i < rest.size()) path += drive && i == 1 ? L':' : rest[i];
    }
    return path;
}

bool SamePath(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return Folded(x) == Folded(y); });
}

}  // namespace

bool IsAddressOf(std::wstring_view location, std::wstring_view path) {
    if (path.empty()) return false;
    if (SamePath(location, path)) return true;
    constexpr std::wstring_view kScheme = L"file:";
    if (location.size() < kScheme.size() || !SamePath(location.substr(0, kScheme.size()), kScheme)) return false;
    // A fragment is a place within the same page: "#" in a file's name comes escaped.
    const std::wstring_view url = location.substr(kScheme.size());
    const std::optional<std::wstring> decoded = PathOfFileUrl(url.substr(0, url.find(L'#')));
    return decoded && SamePath(*decoded, path);
}

}  // namespace toolbar
