// Skeleton: the folder launch menu's own work replaces this file.
#include "menus/LaunchPopup.h"

TLaunchPopup::TLaunchPopup() = default;
TLaunchPopup::~TLaunchPopup() = default;
void TLaunchPopup::LoadItems() {}
void TLaunchPopup::ScanFolder(const std::string&, toolkit::TMenuItem&) {}
void TLaunchPopup::ItemClick(toolkit::TMenuItem&) {}
