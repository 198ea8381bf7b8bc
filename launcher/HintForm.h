#pragma once
// The hint window that shows an item's comment, schedule and last launch.
#include "core/Form.h"

namespace kelvo {

class THintForm : public HiddenForm {
  public:
    bool FormCreate() { return HiddenForm::FormCreate({L"THintForm", kHintFormReady}); }
};

} // namespace kelvo
