#pragma once
// The small button strip on the title bar of the active window.
#include "core/Form.h"

namespace kelvo {

class TActiveWindowForm : public HiddenForm {
  public:
    bool FormCreate() {
        return HiddenForm::FormCreate({L"TActiveWindowForm", kActiveWindowFormReady});
    }
};

} // namespace kelvo
