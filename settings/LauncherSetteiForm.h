#pragma once
// The settings dialog; its size is kept between runs.
#include "core/Form.h"

namespace kelvo {

class TLauncherSetteiForm : public HiddenForm {
  public:
    bool FormCreate() {
        return HiddenForm::FormCreate({L"TLauncherSetteiForm", kSetteiFormReady, L"SetteiForm",
                                       865, 630});
    }
};

} // namespace kelvo
