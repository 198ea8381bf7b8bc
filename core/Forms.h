#pragma once
// The program's windows: one global instance each, created at start in a fixed
// order and kept until the process ends. Launcher windows are indexed by their
// launcher number 1..5 (index 0 is unused).
#include "storage/GlobalSettings.h"

#include <array>

namespace kelvo {

class TLauncherMainForm;
class TButtonForm;
class TKelvoLauncherVersionForm;
class TLauncherSetteiForm;
class TLauncherSetScheduleForm;
class TLauncherPowerScheduleForm;
class TActiveWindowForm;
class THintForm;

inline TLauncherMainForm* LauncherMainForm = nullptr;
inline std::array<TButtonForm*, kLauncherCount + 1> ButtonForms{};
inline TKelvoLauncherVersionForm* KelvoLauncherVersionForm = nullptr;
inline TLauncherSetteiForm* LauncherSetteiForm = nullptr;
inline TLauncherSetScheduleForm* LauncherSetScheduleForm = nullptr;
inline TLauncherPowerScheduleForm* LauncherPowerScheduleForm = nullptr;
inline TActiveWindowForm* ActiveWindowForm = nullptr;
inline THintForm* HintForm = nullptr;

} // namespace kelvo
