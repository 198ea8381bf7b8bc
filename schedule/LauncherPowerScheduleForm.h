#pragma once
// The power schedule dialog; its size is kept between runs.
#include "core/Form.h"

namespace kelvo {

class TLauncherPowerScheduleForm : public HiddenForm {
  public:
    bool FormCreate() {
        return HiddenForm::FormCreate({L"TLauncherPowerScheduleForm", kPowerScheduleFormReady,
                                       L"PowerScheduleForm", 390, 320});
    }
};

} // namespace kelvo
