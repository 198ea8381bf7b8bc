#pragma once
// The about window, which also serves as splash screen during start-up.
#include "core/Form.h"

namespace kelvo {

class TKelvoLauncherVersionForm : public HiddenForm {
  public:
    bool FormCreate() {
        return HiddenForm::FormCreate({L"TKelvoLauncherVersionForm", kVersionFormReady});
    }
};

} // namespace kelvo
