// Skeleton: the menu model's own work replaces this file.
#include "toolkit/Menu.h"

namespace toolkit {

TMenuItem::TMenuItem(std::string caption) : caption_(std::move(caption)) {}
TMenuItem::~TMenuItem() = default;
void TMenuItem::Click() {
    if (onClick_) onClick_(*this);
}
TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> child) { return Insert(children_.size(), std::move(child)); }
TMenuItem& TMenuItem::Insert(size_t index, std::unique_ptr<TMenuItem> child) {
    child->parent_ = this;
    return **children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), std::move(child));
}
void TMenuItem::DeleteFrom(size_t index) {
    if (index < children_.size()) children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index), children_.end());
}

TPopupMenu::TPopupMenu() = default;
TPopupMenu::~TPopupMenu() = default;
void TPopupMenu::Popup(int, int) {}

}  // namespace toolkit
