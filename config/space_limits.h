// Why an access method could not read more of a function's configuration space than it did, in
// the one line the terminal, the JSON and the window show where the capabilities would be. The
// texts are the program's own Japanese ones (UTF-8 here, CP932 in the window).
#pragma once

namespace kelvox {

// sysfs as a user: the kernel gives the first 64 bytes only to CAP_SYS_ADMIN's holders.
inline constexpr char kNeedsAdministratorText[] = "読み取るには管理者権限が必要です";
// Port I/O where the system forbids the port instructions: nothing could be read at all.
inline constexpr char kPortForbiddenText[] = "このシステムではポートI/Oが使えません";
// Port I/O: configuration mechanism #1 reaches the first 256 bytes only.
inline constexpr char kPortConventionalOnlyText[] =
    "ポートI/O (コンフィギュレーション機構#1) では先頭256バイトまでしか読めません";
// A capture of `lspci -x`: the header only.
inline constexpr char kCaptureHeaderOnlyText[] =
    "このキャプチャにはヘッダしかありません (lspci -x の出力)";
// A capture of `lspci -xxx`: the first 256 bytes.
inline constexpr char kCaptureConventionalOnlyText[] =
    "このキャプチャには先頭256バイトしかありません (lspci -xxx の出力)";
// The Windows device manager, and every method that reads only the header.
inline constexpr char kHeaderOnlyMethodText[] = "このアクセス方式ではヘッダしか読めません";
// Only the header is there, and nothing says why.
inline constexpr char kHeaderOnlyText[] = "ヘッダ(64バイト)より先は読めません";
// A place where no function answers: there is nothing to read.
inline constexpr char kNoFunctionText[] = "ここに応答する機能はありません";

}  // namespace kelvox
