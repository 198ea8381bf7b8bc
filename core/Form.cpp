#include "core/Form.h"

#include "core/Forms.h"
#include "core/LauncherMainForm.h"
#include "storage/DataFolder.h"
#include "storage/IniFile.h"

namespace kelvo {

int Form::width() const {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return r.right - r.left;
}

int Form::height() const {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return r.bottom - r.top;
}

bool Form::createForm(const win::WindowCreateArgs& args) {
    win::WindowClassArgs cls;
    cls.className = args.className;
    cls.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    cls.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (!win::Window::registerClass(cls))
        return false;
    return create(args);
}

void Form::markReady(FormIndex index) {
    if (LauncherMainForm)
        LauncherMainForm->FormsReady[index] = true;
}

bool HiddenForm::FormCreate(const Args& args) {
    sizeSection_ = args.sizeSection;
    int width = args.defaultWidth, height = args.defaultHeight;
    if (*args.sizeSection && LauncherMainForm) {
        IniFile ini(LauncherMainForm->DataDir + kGlobalSettingsFile);
        width = ini.readInteger(args.sizeSection, L"Width", width);
        height = ini.readInteger(args.sizeSection, L"Height", height);
    }
    win::WindowCreateArgs form;
    form.className = args.className;
    form.style = WS_POPUP;
    form.exStyle = WS_EX_TOOLWINDOW;
    form.width = width;
    form.height = height;
    bool created = createForm(form);
    markReady(args.readyIndex);
    return created;
}

} // namespace kelvo
