#pragma once
// The schedule dialog; its size is kept between runs.
#include "core/Form.h"

namespace kelvo {

class TLauncherSetScheduleForm : public HiddenForm {
  public:
    bool FormCreate() {
        return HiddenForm::FormCreate({L"TLauncherSetScheduleForm", kScheduleFormReady,
                                       L"ScheduleForm", 560, 665});
    }
};

} // namespace kelvo
