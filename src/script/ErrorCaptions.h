// The captions of the fatal error report, one per class of error. They are
// written in UTF-8 like every engine text in the sources and converted with
// S() where they are shown, so each class is named once instead of retyped.
#pragma once

#include <string_view>

namespace orv::caption {

inline constexpr std::string_view kError = "エラー";
inline constexpr std::string_view kErrorBang = "エラー！";
inline constexpr std::string_view kSyntax = "構文エラー";
inline constexpr std::string_view kRuntime = "実行時エラー";
inline constexpr std::string_view kCommand = "命令エラー";
inline constexpr std::string_view kScript = "スクリプトエラー";
inline constexpr std::string_view kDefineBlock = "定義ブロックエラー";
inline constexpr std::string_view kLabel = "ラベルエラー";
inline constexpr std::string_view kStack = "スタックエラー";
inline constexpr std::string_view kDivisionByZero = "０除算エラー";
inline constexpr std::string_view kLoad = "ロードエラー";
inline constexpr std::string_view kTag = "タグエラー";
inline constexpr std::string_view kParameter = "パラメータエラー";
// A video that cannot be opened, has no pictures, or whose pictures cannot fill the game area.
inline constexpr std::string_view kVideoOpen = "AVI Error 1";
inline constexpr std::string_view kVideoNoPicture = "AVI Error 2";
inline constexpr std::string_view kVideoScale = "AVI Error 3";
// Shown by the program entry, before any scenario is read.
inline constexpr std::string_view kStartup = "起動エラー";

} // namespace orv::caption
