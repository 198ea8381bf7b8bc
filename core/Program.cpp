// The program block: one instance per user session, the windows created in a
// fixed order, then the message loop.
#include "core/AppText.h"
#include "core/Forms.h"
#include "core/LauncherMainForm.h"
#include "launcher/ButtonForm.h"
#include "launcher/HintForm.h"
#include "platform/Com.h"
#include "platform/Handles.h"
#include "platform/MessageLoop.h"
#include "platform/UnexpectedError.h"
#include "schedule/LauncherPowerScheduleForm.h"
#include "schedule/LauncherSetScheduleForm.h"
#include "settings/ActiveWindowForm.h"
#include "settings/KelvoLauncherVersionForm.h"
#include "settings/LauncherSetteiForm.h"

#include <windows.h>

#include <memory>
#include <shellapi.h>
#include <string>
#include <vector>

namespace kelvo {
namespace {

std::vector<std::wstring> commandLineArguments() {
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(argv[i]);
    LocalFree(argv);
    return arguments;
}

// Ownership of the mutex is kept until the process ends; an instance that
// crashed leaves it abandoned, which does not block the next start.
bool takeSingleInstanceMutex(win::UniqueHandle& mutex) {
    mutex.reset(CreateMutexW(nullptr, FALSE, kSingleInstanceMutexName));
    if (!mutex)
        return true;
    return WaitForSingleObject(mutex.get(), 0) != WAIT_TIMEOUT;
}

struct AllForms {
    TLauncherMainForm main;
    std::array<std::unique_ptr<TButtonForm>, kLauncherCount + 1> buttons;
    TKelvoLauncherVersionForm version;
    TLauncherSetteiForm settei;
    TLauncherSetScheduleForm schedule;
    TLauncherPowerScheduleForm powerSchedule;
    TActiveWindowForm activeWindow;
    THintForm hint;
};

void publish(AllForms& forms) {
    LauncherMainForm = &forms.main;
    for (int n = 1; n <= kLauncherCount; ++n) {
        forms.buttons[n] = std::make_unique<TButtonForm>(n);
        ButtonForms[n] = forms.buttons[n].get();
    }
    KelvoLauncherVersionForm = &forms.version;
    LauncherSetteiForm = &forms.settei;
    LauncherSetScheduleForm = &forms.schedule;
    LauncherPowerScheduleForm = &forms.powerSchedule;
    ActiveWindowForm = &forms.activeWindow;
    HintForm = &forms.hint;
}

int runProgram() {
    win::UniqueHandle mutex;
    if (!takeSingleInstanceMutex(mutex)) {
        MessageBoxW(nullptr, kAlreadyRunningMessage, kAppTitle, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    // The shell's icons, links and folders are COM objects of this thread.
    win::ComApartment com;
    auto forms = std::make_unique<AllForms>();
    publish(*forms);
    if (!forms->main.FormCreate(commandLineArguments()))
        return 1;
    forms->buttons[1]->FormCreate();
    forms->version.FormCreate();
    for (int n = 2; n <= kLauncherCount; ++n)
        forms->buttons[n]->FormCreate();
    forms->settei.FormCreate();
    forms->schedule.FormCreate();
    forms->powerSchedule.FormCreate();
    forms->activeWindow.FormCreate();
    forms->hint.FormCreate();
    return win::runMessageLoop();
}

} // namespace
} // namespace kelvo

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return kelvo::runProgram();
    } catch (...) {
        kelvo::win::swallowUnexpectedError("program block");
        return 1;
    }
}
