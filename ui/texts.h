// Every user-visible text of the application, the main dialog and the about box, in one
// table. The texts are UTF-8 here and each one has a CP932 form (the code page the user
// interface is defined in); texts_test.cpp checks that every entry converts both ways.
#pragma once

#include <span>

#include "kelvox/version.h"

namespace kelvox::texts {

// Main dialog (its dialog template, resource 102, is in main_template.h).
inline constexpr const char* kMainTitle = "PCIデバイス検索";
inline constexpr const char* kMainTitleSuffix = "(95/98/Me)";
inline constexpr const char* kMainFace = "ＭＳ ゴシック";
inline constexpr const char* kMainFallbackFace = "IPAGothic";
inline constexpr const char* kRescan = "再検索";
inline constexpr const char* kDetails = "詳細";
inline constexpr const char* kVendorSearch = "PCIベンダー検索";
inline constexpr const char* kQuit = "終了";
inline constexpr const char* kScanCaption = "デバイス番号０～３１を検索";
inline constexpr const char* kBusLabel = "バス番号＝";
inline constexpr const char* kFunctionLabel = "機能番号＝";
inline constexpr const char* kRightArrow = "→";
inline constexpr const char* kDownArrow = "↓";

// Device list headers, in column order.
inline constexpr const char* kColumnNumber = "番号";
inline constexpr const char* kColumnVendorId = "ﾍﾞﾝﾀﾞID";
inline constexpr const char* kColumnDeviceId = "ﾃﾞﾊﾞｲｽID";
inline constexpr const char* kColumnCommand = "ｺﾏﾝﾄﾞ";
inline constexpr const char* kColumnStatus = "ｽﾃｰﾀｽ";
inline constexpr const char* kColumnRevision = "ﾘﾋﾞｼﾞｮﾝ";
inline constexpr const char* kColumnClassCode = "ｸﾗｽｺｰﾄﾞ";
inline constexpr const char* kColumnHeaderType = "ﾍｯﾀﾞﾀｲﾌﾟ";
inline constexpr const char* kColumnComment = "コメント";

// Tooltips of the main dialog's controls.
inline constexpr const char* kTipList = "ダブルクリックでデバイス番号の詳細情報を表示する";
inline constexpr const char* kTipDetails = "選択されたデバイス番号の詳細情報を表示する";
inline constexpr const char* kTipBus =
    "バス番号（0～255）を変更する。変更後は再検索をクリックする。";
inline constexpr const char* kTipRescan =
    "バス番号、機能番号で指定されたデバイス一覧を取得し、表示する";
inline constexpr const char* kTipQuit = "Kelvoxを終了する";
inline constexpr const char* kTipFunction =
    "機能番号（0～7）を変更する。変更後は再検索をクリックする。";
inline constexpr const char* kTipVendorSearch =
    "ベンダーID、デバイスIDを検索するウインドウを表示する";

// The range message of a number field; %1 and %2 are the bounds.
inline constexpr const char* kRangeMessage = "%1 から %2 までの整数を入力してください。";

// String 101: the about item of the main dialog's menu.
inline constexpr const char* kAboutMenuItem = "ﾊﾞｰｼﾞｮﾝ情報(Kelvox) (&A)...";

// About box (its dialog template, resource 100, is in about_template.h) and string 102, the
// version.
inline constexpr const char* kAboutTitle = "ﾊﾞｰｼﾞｮﾝ情報 Kelvox";
inline constexpr const char* kAboutFace = "ＭＳ Ｐゴシック";
inline constexpr const char* kAboutFallbackFace = "IPAPGothic";
inline constexpr const char* kAboutTemplateVersion = "Kelvox Version 1.03";
// The project's one version in the about box's form ("Kelvox V1.06" for 1.6.0).
inline constexpr const char* kVersion = "Kelvox V" KELVOX_ABOUT_VERSION;
inline constexpr const char* kAboutDescription = "ＰＣＩバスの検索プログラム";
inline constexpr const char* kContact = "連絡先";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kMailSubject = "Kelvoxについて";

// Caption of the range message box: the program's name.
inline constexpr const char* kAppName = "Kelvox";

// Caption of the error box.
inline constexpr const char* kErrorCaption = "Error";

// The details sheet's pages past the original four: the capabilities as a tree (its first node
// the header decoded), and the readable bytes as a hex dump; the tree's columns and the
// commands of its context menu.
inline constexpr const char* kCapabilitiesPageTitle = "ケイパビリティ";
inline constexpr const char* kSpaceDumpPageTitle = "16進ダンプ";
inline constexpr const char* kHeaderNodeName = "ヘッダ";
inline constexpr const char* kTreeNameColumn = "項目";
inline constexpr const char* kTreeValueColumn = "値";
inline constexpr const char* kCopyRow = "コピー(&C)\tCtrl+C";
inline constexpr const char* kCopyPage = "すべてコピー(&A)";
inline constexpr const char* kNoCapabilities = "なし";

// Every text above, for checks that apply to all of them.
std::span<const char* const> All();

}  // namespace kelvox::texts
