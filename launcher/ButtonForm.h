#pragma once
// A launcher window. The five launchers share this class; each instance is
// parameterised by its launcher number and registered under "TButtonForm<N>".
#include "core/Form.h"

#include <string>

namespace kelvo {

class TButtonForm : public Form {
  public:
    explicit TButtonForm(int launcherNo) : LauncherNo(launcherNo) {}
    bool FormCreate();
    // Writes the window position and list height to the launcher's item file.
    void SavePosition();

    const int LauncherNo;
    bool IsButtonTop = false;
    int LBHeight = 0;

  private:
    std::wstring ItemFileName() const;
    void LoadGlobalSettings();
};

} // namespace kelvo
