#pragma once
// Exit codes of kelvo_hook_unload_probe.exe (UnloadWithoutStopProbe.cpp).
#include <windows.h>

namespace kelvo::test {

inline constexpr wchar_t kUnloadProbe[] = L"kelvo_hook_unload_probe.exe";
inline constexpr DWORD kProbeSurvived = 0;
inline constexpr DWORD kProbeUnusable = 1;
inline constexpr DWORD kProbeHeardNothing = 2;

} // namespace kelvo::test
