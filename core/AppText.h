#pragma once
// Texts the user sees in more than one place.
namespace kelvo {

inline constexpr const wchar_t* kAppTitle = L"ケルボランチャー";
inline constexpr const wchar_t* kAlreadyRunningMessage =
    L"「ケルボランチャー」は既に起動しています。\rタスクトレイのケルボボタンアイコンの右クリックメニ"
    L"ューから\rランチャーボタンを表示できます。";
inline constexpr const wchar_t* kSingleInstanceMutexName = L"KelvoLauncherMutex";
inline constexpr const wchar_t* kStartupShortcutName = L"ケルボランチャー2";
inline constexpr const wchar_t* kStartupArgument = L"/S";
inline constexpr const wchar_t* kMenuEndCaption = L"ケルボランチャーの終了(&E)";
inline constexpr const wchar_t* kMenuStartUpAddCaption = L"スタートアップに登録(&U)";
inline constexpr const wchar_t* kMenuStartUpRemoveCaption = L"スタートアップから削除(&U)";

} // namespace kelvo
