#pragma once
// The power schedule dialog; its size is kept between runs. It owns the wake
// timer that item schedules and the power schedule share, and the sampling of
// the total CPU usage that end schedules and the power schedule wait on.
#include "core/Form.h"
#include "schedule/CpuUsage.h"
#include "schedule/WakeTimer_win.h"

#include <cstdint>

namespace kelvo {

class TLauncherPowerScheduleForm : public HiddenForm {
  public:
    bool FormCreate();

    // Every 10 seconds: CPUPercent = the usage over the last interval.
    void CPUTimerTimer();
    // Starting again also restarts the interval, as after a CPU limit was stored.
    void StartCPUTimer();
    void StopCPUTimer();

    // Arms the shared wake timer; tells the user when the system refuses.
    bool ArmWakeTimer(DateTime at);
    // At exit and whenever no wake-up is wanted any more.
    void CancelWakeTimer();
    void ShowWakeTimerFailure();

    WakeTimer RedumeTimer;
    std::uint8_t CPUPercent = 0; // total CPU usage in percent; 0 until two samples exist
    DateTime PowerWakeTime = 0;  // the wake-up the power schedule wants; 0 = none

  protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    CpuUsageSampler cpuSampler_;
};

} // namespace kelvo
