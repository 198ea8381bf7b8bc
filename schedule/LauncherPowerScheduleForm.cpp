#include "schedule/LauncherPowerScheduleForm.h"

#include "core/AppText.h"
#include "schedule/CpuSampling_win.h"

namespace kelvo {
namespace {

constexpr UINT_PTR kCPUTimer = 1;
constexpr UINT kCPUTimerInterval = 10000;
// Posted by the wake thread when the timer fired.
constexpr UINT kWakeThreadEndMessage = WM_APP + 20;

} // namespace

bool TLauncherPowerScheduleForm::FormCreate() {
    const bool created = HiddenForm::FormCreate(
        {L"TLauncherPowerScheduleForm", kPowerScheduleFormReady, L"PowerScheduleForm", 390, 320});
    if (created) {
        RedumeTimer.SetNotifyTarget(hwnd(), kWakeThreadEndMessage);
        StartCPUTimer();
    }
    return created;
}

void TLauncherPowerScheduleForm::StartCPUTimer() {
    SetTimer(hwnd(), kCPUTimer, kCPUTimerInterval, nullptr);
}

void TLauncherPowerScheduleForm::StopCPUTimer() {
    KillTimer(hwnd(), kCPUTimer);
}

void TLauncherPowerScheduleForm::CPUTimerTimer() {
    CPUPercent = sampleCpuUsage(cpuSampler_);
}

bool TLauncherPowerScheduleForm::ArmWakeTimer(DateTime at) {
    if (RedumeTimer.ArmWakeTimer(at))
        return true;
    ShowWakeTimerFailure();
    return false;
}

void TLauncherPowerScheduleForm::CancelWakeTimer() {
    RedumeTimer.Cancel();
}

void TLauncherPowerScheduleForm::ShowWakeTimerFailure() {
    MessageBoxW(hwnd(), L"復帰の設定に失敗しました。", kAppTitle, MB_OK);
}

LRESULT TLauncherPowerScheduleForm::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam == kCPUTimer) {
            CPUTimerTimer();
            return 0;
        }
        break;
    case kWakeThreadEndMessage:
        RedumeTimer.ThreadEnd(wParam);
        return 0;
    }
    return defaultHandling(msg, wParam, lParam);
}

} // namespace kelvo
