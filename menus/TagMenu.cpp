#include "menus/TagMenu.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <span>

#include "toolkit/Error.h"
#include "toolkit/Module.h"
#include "toolkit/Text.h"
#include "toolkit/core/FilePath.h"

namespace menus {

namespace {

using TagDocumentPtr = std::shared_ptr<const TagDocument>;

std::optional<std::string> ReadTagBytes(const std::wstring& path) {
    std::optional<std::string> bytes = toolkit::ReadFileBytes(path, kTagFileLimit + 1);
    if (bytes && bytes->size() > kTagFileLimit) return std::nullopt;
    return bytes;
}

// Captions as the menu items keep them: an ANSI file's bytes as they are, a Unicode file's text
// as UTF-16, which the menu draws with its real characters.
std::string ItemCaption(std::string_view text) { return std::string(text); }
std::wstring ItemCaption(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::vector<std::string_view> EntriesOf(const TagDocument& document, const TagOutlineGroup<char>& group) {
    return TagEntries(group.body, document.isLeadByte);
}
std::vector<std::u16string_view> EntriesOf(const TagDocument&, const TagOutlineGroup<char16_t>& group) {
    return TagEntries(group.body);
}

// A group shows at most this many entries in one menu; a larger one shows pages of them, each a
// submenu, since the system's menus grow slower with each item they hold.
constexpr size_t kEntriesPerPage = 2000;

template <class Char>
bool AnyTextEntry(std::span<const std::basic_string_view<Char>> entries) {
    return std::any_of(entries.begin(), entries.end(), [](auto entry) { return entry.size() != 1 || entry[0] != Char('-'); });
}

// Appends the entry items of shown (in the order the menu shows them) to parent.
template <class Char>
void AddEntries(toolkit::TMenuItem& parent, std::span<const std::basic_string_view<Char>> shown,
                const toolkit::TMenuClickEvent& onChoose) {
    for (std::basic_string_view<Char> entry : shown)
        parent.Add(std::make_unique<toolkit::TMenuItem>(ItemCaption(entry))).SetOnClick(onChoose);
}

// The entries of a group, made when it first opens: all of them, or one page item per kEntriesPerPage
// entries, whose own items are made when that page first opens.
template <class Char>
void MakeGroupEntries(toolkit::TMenuItem& group, const TagDocumentPtr& document, const TagOutlineGroup<Char>& outline,
                      const toolkit::TMenuClickEvent& onChoose, bool lineReduction) {
    // Each entry stands in front of those read before it: the group lists its entries bottom up.
    auto shown = std::make_shared<std::vector<std::basic_string_view<Char>>>();
    *shown = EntriesOf(*document, outline);
    std::reverse(shown->begin(), shown->end());
    if (shown->size() <= kEntriesPerPage) {
        AddEntries<Char>(group, *shown, onChoose);
        return;
    }
    for (size_t first = 0; first < shown->size(); first += kEntriesPerPage) {
        const size_t count = std::min(kEntriesPerPage, shown->size() - first);
        const std::span<const std::basic_string_view<Char>> page(shown->data() + first, count);
        toolkit::TMenuItem& pageItem = group.Add(std::make_unique<toolkit::TMenuItem>(
            std::to_wstring(first + 1) + L" ～ " + std::to_wstring(first + count)));
        // The page keeps the document whose text its entries point into.
        auto makePage = [document, shown, page, onChoose](toolkit::TMenuItem& parent) { AddEntries<Char>(parent, page, onChoose); };
        pageItem.SetChildrenMaker(makePage, !lineReduction || AnyTextEntry<Char>(page));
    }
}

template <class Char>
void AddGroups(toolkit::TPopupMenu& menu, const TagDocumentPtr& document,
               const std::vector<TagOutlineGroup<Char>>& groups, const toolkit::TMenuClickEvent& onChoose) {
    const bool lineReduction = menu.AutoLineReduction();
    for (const TagOutlineGroup<Char>& group : groups) {
        toolkit::TMenuItem& groupItem =
            menu.Items().Add(std::make_unique<toolkit::TMenuItem>(ItemCaption(group.caption)));
        // The group's items are made when it first opens; the document lives as long as they may be.
        auto makeEntries = [document, &group, onChoose, lineReduction](toolkit::TMenuItem& parent) {
            MakeGroupEntries(parent, document, group, onChoose, lineReduction);
        };
        groupItem.SetChildrenMaker(makeEntries, lineReduction ? group.hasTextEntries : group.hasEntries);
    }
}

// The one line of a menu without tags: it says so and where the file is.
std::wstring NoTagsCaption(const std::wstring& path) {
    std::wstring caption;
    for (wchar_t c : path) caption += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
    return caption + L" にタグがありません";
}

}  // namespace

std::wstring TagFilePath() { return TagFilePathFor(toolkit::ExecutablePath()); }

TagDocumentPtr LoadTagDocument(const std::wstring& path) {
    std::optional<std::string> bytes = ReadTagBytes(path);
    if (!bytes) throw toolkit::Error(toolkit::FormatMessageText(L"ファイル %s は開けません", path));
    return ReadTagDocument(std::move(*bytes), &toolkit::IsAnsiLeadByte);
}

std::vector<TagGroup> LoadTagFile(const std::wstring& path) {
    const TagDocumentPtr document = LoadTagDocument(path);
    if (document->encoding == TagEncoding::Ansi) return ParseTagFile(document->bytes, document->isLeadByte);
    std::vector<TagGroup> groups;
    for (const TagOutlineGroup<char16_t>& outline : document->wideGroups) {
        TagGroup& group = groups.emplace_back(TagGroup{HostText(ItemCaption(outline.caption)), {}});
        for (std::u16string_view entry : TagEntries(outline.body)) group.entries.push_back(HostText(ItemCaption(entry)));
    }
    return groups;
}

std::string HostText(std::wstring_view text) {
    if (std::optional<std::string> exact = toolkit::WideToAnsiExactly(text)) return std::move(*exact);
    const std::u16string units(text.begin(), text.end());
    return HostTextWithReferences(units, [](std::u16string_view character) {
        return toolkit::WideToAnsiExactly(std::wstring(character.begin(), character.end()));
    });
}

void BuildTagMenu(toolkit::TPopupMenu& menu, TagDocumentPtr document, const toolkit::TMenuClickEvent& onChoose,
                  const std::wstring& path) {
    menu.Items().DeleteFrom();
    if (document->GroupCount() == 0) {
        menu.Items().Add(std::make_unique<toolkit::TMenuItem>(NoTagsCaption(path))).SetEnabled(false);
        return;
    }
    if (document->encoding == TagEncoding::Ansi)
        AddGroups(menu, document, document->ansiGroups, onChoose);
    else
        AddGroups(menu, document, document->wideGroups, onChoose);
}

std::string TagEntryHostText(const toolkit::TMenuItem& entry) {
    return entry.HasWideCaption() ? HostText(entry.WideCaption()) : entry.Caption();
}

toolkit::TMenuItem& AddMenuItem(toolkit::TPopupMenu& menu, const std::string& caption) {
    return menu.Items().Add(std::make_unique<toolkit::TMenuItem>(caption));
}

toolkit::TMenuItem& AddSubMenuItem(toolkit::TMenuItem& parent, const std::string& caption, size_t index) {
    return parent.Insert(index, std::make_unique<toolkit::TMenuItem>(caption));
}

TagMenuFile::TagMenuFile(std::wstring path, toolkit::TPopupMenu& menu, toolkit::TMenuClickEvent onChoose)
    : path_(std::move(path)), menu_(menu), onChoose_(std::move(onChoose)) {
    stamp_ = toolkit::FileStampOf(path_);
    document_ = LoadTagDocument(path_);
    BuildTagMenu(menu_, document_, onChoose_, path_);
    const std::wstring folder = path_.substr(0, toolkit::FolderLength(path_));
    folderChanges_.emplace(folder.empty() ? L"." : folder);
}

bool TagMenuFile::MayHaveChanged() {
    // Asked first, so that the notification is taken even when the stamp already tells.
    const bool folderChanged = folderChanges_->Changed();
    return folderChanged || !stamp_ || toolkit::FileStampOf(path_) != stamp_;
}

void TagMenuFile::Follow() {
    if (!MayHaveChanged()) return;
    // Taken before the read, so that a change made during it is seen at the next drop-down.
    stamp_ = toolkit::FileStampOf(path_);
    std::optional<std::string> bytes = ReadTagBytes(path_);
    if (!bytes) {
        stamp_.reset();
        return;
    }
    // Another file of the folder changed, or the file was saved as it was: the menu stays.
    if (*bytes == document_->bytes) return;
    document_ = ReadTagDocument(std::move(*bytes), &toolkit::IsAnsiLeadByte);
    BuildTagMenu(menu_, document_, onChoose_, path_);
}

}  // namespace menus
