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

// The topology window: the whole bus as a tree with its health, opened from the main dialog's
// context menu, which also opens and saves captured buses.
inline constexpr const char* kTopologyTitle = "PCIバス構成";
inline constexpr const char* kTopologyMenuItem = "PCIバス構成(&T)...\tCtrl+T";
inline constexpr const char* kOpenCaptureMenuItem = "キャプチャを開く(&O)...\tCtrl+O";
inline constexpr const char* kSaveCaptureMenuItem = "キャプチャを保存(&S)...\tCtrl+S";
inline constexpr const char* kRecentCapturesMenu = "最近のキャプチャ";
inline constexpr const char* kOpenCaptureTitle = "キャプチャを開く";
inline constexpr const char* kSaveCaptureTitle = "キャプチャを保存";
inline constexpr const char* kCaptureFileTypes = "キャプチャ (*.txt)|*.txt|すべてのファイル (*)|*";
inline constexpr const char* kFilterLabel = "絞り込み(&F):";
inline constexpr const char* kRefresh = "更新(&R)";
inline constexpr const char* kAutoRefresh = "自動更新(&U)";
inline constexpr const char* kColumnAddress = "アドレス";
inline constexpr const char* kColumnIds = "ID";
inline constexpr const char* kColumnNames = "名前";
inline constexpr const char* kColumnClass = "クラス";
inline constexpr const char* kColumnDriver = "ドライバ";
inline constexpr const char* kColumnLinkNow = "リンク (現在)";
inline constexpr const char* kColumnLinkMax = "リンク (最大)";
inline constexpr const char* kColumnFinding = "判定";
inline constexpr const char* kNoDriver = "なし";
inline constexpr const char* kTipFilter = "アドレス、ID、名前、クラス、ドライバの一部で絞り込む";
inline constexpr const char* kTipRefresh = "バスを読み直す (F5)";
inline constexpr const char* kTipAutoRefresh =
    "2秒ごとに読み直し、開いてから変わったものに印を付ける";
// The status line: functions shown and checked, findings, changes since the window opened.
inline constexpr const char* kStatusFunctions = "%1 個の機能";
inline constexpr const char* kStatusShown = "（%1 個を表示）";
inline constexpr const char* kStatusFindings = "、所見 %1 件";
inline constexpr const char* kStatusChanges = "、変化 %1 件";
inline constexpr const char* kStatusRemoved = "、取り外し: %1";

// Every text above, for checks that apply to all of them.
std::span<const char* const> All();

}  // namespace kelvox::texts
