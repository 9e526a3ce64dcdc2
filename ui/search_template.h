// The vendor and device search window's template: its control ids, its texts, its controls in
// tab order, the field lengths and the tooltip of each control.
#pragma once

#include <span>

#include "ui/dialog_template.h"

namespace kelvox {

namespace search_ids {
inline constexpr int kQuit = 1005;
inline constexpr int kVendorId = 1028;
inline constexpr int kDeviceId = 1029;
inline constexpr int kClassCode = 1030;
inline constexpr int kVendorShortName = 1031;
inline constexpr int kVendorFullName = 1032;
inline constexpr int kChipName = 1033;
inline constexpr int kDeviceDescription = 1034;
inline constexpr int kBaseClassName = 1035;
inline constexpr int kSubClassName = 1036;
inline constexpr int kProgIfName = 1037;
inline constexpr int kLink = 1038;
}  // namespace search_ids

namespace search_texts {
inline constexpr const char* kTitle = "ベンダ情報検索";
inline constexpr const char* kVendorDeviceGroup = "ベンダ／デバイス";
inline constexpr const char* kClassGroup = "クラスコード";
inline constexpr const char* kVendorIdLabel = "ベンダID";
inline constexpr const char* kDeviceIdLabel = "デバイスID";
inline constexpr const char* kClassCodeLabel = "クラスコード";
inline constexpr const char* kQuit = "終了";
inline constexpr const char* kLink =
    "PCI Vendor and Device List (created on Sun Dec  4 20:04:27 PST 2005)";
inline constexpr const char* kTipQuit = "ウインドウを隠す";
inline constexpr const char* kTipVendorId = "ベンダーIDを16進数4桁で指定します";
inline constexpr const char* kTipDeviceId = "デバイスIDを16進数4桁で指定します";
inline constexpr const char* kTipClassCode = "クラスコードを16進数6桁で指定します";

// Every text above, for checks that apply to all of them.
std::span<const char* const> All();
}  // namespace search_texts

// Where the link label leads: the public PCI ID web database.
inline constexpr const char* kSearchLinkTarget = "https://pci-ids.ucw.cz/";

// The window's client size, font (the main dialog's) and controls.
const DialogTemplate& SearchTemplate();

// The tooltip of a control of the search window, or null for a control without one.
const char* SearchTooltip(int control_id);

// The most characters an edit of the window takes, or 0 for a control that is not an edit
// the user types into.
int SearchFieldLimit(int control_id);

}  // namespace kelvox
