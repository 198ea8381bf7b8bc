#include "launcher/ButtonForm.h"

#include "core/Forms.h"
#include "core/LauncherMainForm.h"
#include "graphics/LauncherArt.h"
#include "graphics/LauncherPosition.h"
#include "graphics/ListLayout.h"
#include "graphics/NameDisplay.h"
#include "launcher/ItemIcons.h"
#include "launcher/WindowFacts_win.h"
#include "platform/Foreground.h"
#include "platform/MessageLoop.h"
#include "platform/PixelBitmap.h"
#include "platform/SystemInfo.h"
#include "storage/DataFolder.h"
#include "storage/FileIO.h"
#include "storage/IniFile.h"
#include "storage/ItemFile.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>

namespace kelvo {
namespace {

// Design sizes at 96 dpi.
constexpr int kButtonSize = 58;
constexpr int kBubbleWidth = 91;
constexpr int kBubbleHeight = 107;
constexpr int kIconImageSize = 32;
constexpr int kNameFontPixels = 13;
constexpr int kIconNameFontPixels = 24;
constexpr int kDesignItemHeight = 18;
constexpr int kWindowAlpha = 200;
constexpr std::uint32_t kDesignWindowColor = 0xC0C0C0;
constexpr std::uint32_t kDesignListColors[kLauncherCount + 1] = {0,        0xD84B92, 0x1CAB14,
                                                                 0x6D3DEF, 0x12C2B0, 0xF0CA15};
constexpr UINT kHoverOpenDelayMs = 500;

enum ControlId : int {
    kImgButtonId = 100,
    kImgBtnNameId,
    kImgAwaId,
    kImgIconId,
    kLabel1Id,
    kLblIconNameId,
    kListBox1Id,
    kEdit1Id,
};

COLORREF ref(std::uint32_t color) {
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

int rectHeight(const RECT& r) {
    return r.bottom - r.top;
}
int rectWidth(const RECT& r) {
    return r.right - r.left;
}

MONITORINFO monitorInfo(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    return info;
}

// Messages the subclassed controls post to their launcher window.
enum ControlMessage : UINT {
    kEditEnterMessage = WM_APP + 20,
    kListKeyUpMessage,
    kListRightClickMessage,
    kListEnterMessage,
    kListLeaveMessage,
    kListPressMessage,  // wParam: the pointer's y in the list at the press
    kListClickMessage,  // wParam: the pointer's y at the release
    kListReturnMessage, // Enter in the list
};

// Enter in the rename box goes to the launcher window; everything else stays with the box.
LRESULT CALLBACK editSubclass(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR owner) {
    if ((msg == WM_KEYDOWN || msg == WM_CHAR) && wParam == VK_RETURN) {
        if (msg == WM_KEYDOWN)
            PostMessageW(reinterpret_cast<HWND>(owner), kEditEnterMessage, 0, 0);
        return 0; // consumed: no beep, no newline
    }
    return DefSubclassProc(edit, msg, wParam, lParam);
}

LRESULT CALLBACK listSubclass(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR owner) {
    const HWND form = reinterpret_cast<HWND>(owner);
    if (msg == WM_KEYUP)
        PostMessageW(form, kListKeyUpMessage, wParam, 0);
    if (msg == WM_MOUSEMOVE && !GetPropW(list, L"KelvoTracking")) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, list, 0};
        if (TrackMouseEvent(&track)) {
            SetPropW(list, L"KelvoTracking", reinterpret_cast<HANDLE>(1));
            PostMessageW(form, kListEnterMessage, 0, 0);
        }
    }
    if (msg == WM_MOUSELEAVE) {
        RemovePropW(list, L"KelvoTracking");
        PostMessageW(form, kListLeaveMessage, 0, 0);
    }
    if (msg == WM_LBUTTONDOWN)
        PostMessageW(form, kListPressMessage,
                     static_cast<WPARAM>(static_cast<short>(HIWORD(lParam))), 0);
    if (msg == WM_LBUTTONUP) {
        const LRESULT result = DefSubclassProc(list, msg, wParam, lParam);
        PostMessageW(form, kListClickMessage,
                     static_cast<WPARAM>(static_cast<short>(HIWORD(lParam))), 0);
        return result;
    }
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        PostMessageW(form, kListReturnMessage, 0, 0);
        return 0;
    }
    if (msg == WM_RBUTTONUP) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(list, &at);
        PostMessageW(form, kListRightClickMessage, 0, MAKELPARAM(at.x, at.y));
        return 0;
    }
    return DefSubclassProc(list, msg, wParam, lParam);
}

} // namespace

LauncherItems& TButtonForm::Items() {
    return ButtonForms[1]->Shared.Launchers[LauncherNo];
}

HICON TButtonForm::ItemIcon(int index) {
    LauncherShared& shared = ButtonForms[1]->Shared;
    auto& icons = shared.ItemIcons[LauncherNo];
    auto& loaded = shared.ItemIconLoaded[LauncherNo];
    const LauncherItems& items = Items();
    if (index < 0 || index >= items.ItemCount() || index >= static_cast<int>(icons.size()))
        return nullptr;
    if (!loaded[index]) {
        icons[index] = loadItemIcon(items.Items[index]);
        loaded[index] = true;
    }
    return icons[index].get();
}

int TButtonForm::Scaled(int designPixels) const {
    return MulDiv(designPixels, dpi_, 96);
}

HFONT TButtonForm::CreateFontFor(int pixelHeight, bool bold) const {
    const LauncherShared& shared = ButtonForms[1]->Shared;
    LOGFONTW font{};
    font.lfHeight = -pixelHeight;
    font.lfWeight = (bold || (shared.FontStyle & 1)) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (shared.FontStyle & 2) ? TRUE : FALSE;
    font.lfUnderline = (shared.FontStyle & 4) ? TRUE : FALSE;
    font.lfStrikeOut = (shared.FontStyle & 8) ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    shared.FontName.copy(font.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

int TButtonForm::TextWidth(HFONT font, std::wstring_view text) const {
    win::WindowDC dc(hwnd());
    win::ScopedSelectObject select(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

std::uint32_t TButtonForm::ResolvedSetting(const wchar_t* section, int def) const {
    IniFile ini(LauncherMainForm->DataDir + kGlobalSettingsFile);
    return win::resolveColor(ini.readInteger(section, std::to_wstring(LauncherNo), def));
}

bool TButtonForm::FormCreate() {
    if (LauncherNo == 1) {
        GlobalLoadEnvironment env;
        env.dataDir = LauncherMainForm->DataDir;
        env.fallbackFontName = win::iconTitleFontName();
        env.isFontInstalled = &win::isFontInstalled;
        GlobalSettings settings = loadGlobalSettings(env);
        Shared.FontName = settings.fontName;
        Shared.FontSize = settings.fontSize;
        Shared.FontStyle = settings.fontStyle;
        for (int n = 1; n <= kLauncherCount; ++n)
            Shared.LauncherShown[n] = settings.launcherHyoji[n - 1];
        LauncherMainForm->ApplyGlobalSettings(settings);
        win::processPendingMessages();
    }
    const std::wstring className = L"TButtonForm" + std::to_wstring(LauncherNo);
    win::WindowCreateArgs form;
    form.className = className.c_str();
    form.style = WS_POPUP | WS_CLIPCHILDREN;
    form.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_ACCEPTFILES;
    form.width = kButtonSize;
    form.height = kButtonSize;
    bool created = createForm(form) && CreateControls();
    if (created) {
        win::WindowDC screen(nullptr);
        dpi_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
        LauncherMainForm->ListAlpha[LauncherNo] = kWindowAlpha;
        ApplyTransparency();
        LoadLauncher();
    }
    markReady(static_cast<FormIndex>(kButtonForm1Ready + LauncherNo - 1));
    return created;
}

bool TButtonForm::CreateControls() {
    HWND self = hwnd();
    bool ok = ImgButton.create(self, kImgButtonId) && ImgBtnName.create(self, kImgBtnNameId) &&
              ImgAwa.create(self, kImgAwaId) && ImgIcon.create(self, kImgIconId) &&
              Label1.create(self, kLabel1Id) && LblIconName.create(self, kLblIconNameId);
    if (!ok)
        return false;
    ListBox1 = CreateWindowExW(0, L"LISTBOX", L"",
                               WS_CHILD | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                   LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                               0, 0, kButtonSize, 0, self,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListBox1Id)),
                               GetModuleHandleW(nullptr), nullptr);
    Edit1 = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 100, 20,
                            self, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEdit1Id)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!ListBox1 || !Edit1)
        return false;
    SetWindowSubclass(Edit1, &editSubclass, 1, reinterpret_cast<DWORD_PTR>(self));
    SetWindowSubclass(ListBox1, &listSubclass, 1, reinterpret_cast<DWORD_PTR>(self));
    ImgButton.setVisible(true);
    // The icon sits on the button; the bubble and the name pop-up above both.
    for (HWND above : {ImgIcon.hwnd(), ImgAwa.hwnd(), LblIconName.hwnd()})
        SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ImgButton.onMouse = [this](const win::MouseEvent& e) {
        ControlMouse(ImgButton, e, &TButtonForm::HoverOpen);
    };
    ImgIcon.onMouse = [this](const win::MouseEvent& e) {
        ControlMouse(ImgIcon, e, &TButtonForm::IconHoverOpen);
    };
    return true;
}

void TButtonForm::ApplyTransparency() {
    windowBrush_.reset(CreateSolidBrush(ref(WindowColor)));
    SetLayeredWindowAttributes(hwnd(), ref(WindowColor),
                               static_cast<BYTE>(LauncherMainForm->ListAlpha[LauncherNo]),
                               LWA_COLORKEY | LWA_ALPHA);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void TButtonForm::SetButtonPicture() {
    const int size = Scaled(kButtonSize);
    Picture picture = renderLauncherButton(LauncherNo, size);
    ImgButton.setBitmap(win::bitmapFromPixels(picture.width, picture.height, picture.pixels), 0);
    RECT r = ImgButton.bounds();
    ImgButton.setBounds(r.left, r.top, size, size);
}

void TButtonForm::SetBubblePicture() {
    Picture picture = renderBubble(Scaled(kBubbleWidth), Scaled(kBubbleHeight));
    ImgAwa.setBitmap(win::bitmapFromPixels(picture.width, picture.height, picture.pixels), 0);
    ImgAwa.setBounds(0, 0, picture.width, picture.height);
}

void TButtonForm::LoadLauncher() {
    SetButtonPicture();
    SetBubblePicture();
    ImgIcon.setBounds(0, 0, Scaled(kIconImageSize), Scaled(kIconImageSize));
    LoadNameDisplay();
    LoadItems();
    LoadListFont();
    ApplyProvisionalStacking();
    SizeListWidth();
    LayOut();
}

void TButtonForm::LoadNameDisplay() {
    const bool haveSettings = fileio::fileExists(LauncherMainForm->DataDir + kGlobalSettingsFile);
    IniFile ini(LauncherMainForm->DataDir + kGlobalSettingsFile);
    const std::wstring key = std::to_wstring(LauncherNo);

    const std::wstring caption =
        haveSettings ? launcherCaption(LauncherNo, ini.readString(L"LauncherName", key,
                                                                  defaultLauncherName(LauncherNo)))
                     : captionWithoutSettingsFile(LauncherNo);
    Label1.setCaption(caption);
    Label1.setFont(haveSettings
                       ? CreateFontFor(Scaled(kNameFontPixels), true)
                       : CreateFontW(-Scaled(kNameFontPixels), 0, 0, 0, FW_BOLD, 0, 0, 0,
                                     DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"MS UI Gothic"));
    win::LabelStyle style;
    style.textColor = ResolvedSetting(L"NameColor", 0xFFFFFF);
    style.transparentBack = ini.readBool(L"NameBackTransparent", key, true);
    style.backColor = ResolvedSetting(L"NameBackColor", 0);
    ListColor.background =
        ResolvedSetting(L"ItemBackColor", static_cast<int>(kDesignListColors[LauncherNo]));
    ListColor.text = ResolvedSetting(L"ItemTextColor", 0);
    listBrush_.reset(CreateSolidBrush(ref(ListColor.background)));

    NameColorsInput colors;
    colors.windowColor = kDesignWindowColor;
    colors.fontColor = style.textColor;
    colors.backTransparent = style.transparentBack;
    colors.backColor = style.backColor;
    colors.editColor = 0xFFFFFF;
    colors.listColor = ListColor.background;
    const NameColorsFix fixed = fixColorClashes(colors);
    WindowColor = fixed.windowColor;
    EditColor = fixed.editColor;
    editBrush_.reset(CreateSolidBrush(ref(EditColor)));

    LauncherMainForm->ListAlpha[LauncherNo] =
        std::clamp(ini.readInteger(L"AlphaBlendValue", key, kWindowAlpha), 0, 255);
    LauncherMainForm->NameFuchidori[LauncherNo] = ini.readBool(L"NameFuchidori", key, true);
    ApplyTransparency();

    NameLabelWidth labelWidth = nameLabelWidth(TextWidth(Label1.font(), caption));
    style.wordWrap = labelWidth.wordWrap;
    Label1.setStyle(style);
    const int labelHeight = Label1.textHeightFor(labelWidth.width);
    RECT button = ImgButton.bounds();
    Label1.setBounds(centredLeft(button.left, rectWidth(button), labelWidth.width), button.bottom,
                     labelWidth.width, labelHeight);
    const bool outlined = LauncherMainForm->NameFuchidori[LauncherNo];
    Label1.setVisible(!outlined);
    if (outlined)
        DrawOutlinedName();

    LblIconName.setFont(CreateFontFor(Scaled(kIconNameFontPixels), true));
    LblIconName.setStyle({.textColor = 0x000000, .backColor = 0xFFFFFF, .transparentBack = false});
    LblIconName.setBounds(0, 0, Scaled(kButtonSize), Scaled(kIconNameFontPixels) + 6);
}

void TButtonForm::DrawOutlinedName() {
    RECT label = Label1.bounds();
    OutlinedNameInput in;
    in.caption = Label1.caption();
    in.labelWidth = rectWidth(label);
    in.labelHeight = rectHeight(label);
    in.fontColor = Label1.style().textColor;
    in.labelBackColor = Label1.style().backColor;
    HFONT font = Label1.font();
    {
        win::WindowDC dc(hwnd());
        win::ScopedSelectObject select(dc.get(), font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.get(), &metrics);
        in.lineHeight = metrics.tmHeight;
    }
    OutlinedNamePicture plan =
        planOutlinedName(in, [&](std::wstring_view text) { return TextWidth(font, text); });

    win::WindowDC screen(nullptr);
    HDC memory = CreateCompatibleDC(screen.get());
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), plan.width, plan.height);
    {
        win::ScopedSelectObject selectBitmap(memory, bitmap);
        win::ScopedSelectObject selectFont(memory, font);
        win::UniqueGdiObject back(CreateSolidBrush(ref(plan.background)));
        RECT all{0, 0, plan.width, plan.height};
        FillRect(memory, &all, static_cast<HBRUSH>(back.get()));
        SetBkMode(memory, TRANSPARENT);
        for (const TextStroke& stroke : plan.strokes) {
            SetTextColor(memory, ref(stroke.color));
            TextOutW(memory, stroke.x, stroke.y, stroke.text.c_str(),
                     static_cast<int>(stroke.text.size()));
        }
    }
    DeleteDC(memory);
    ImgBtnName.setBitmap(bitmap, plan.background);
    ImgBtnName.setBounds(label.left, label.top, plan.width, plan.height);
    Label1.setVisible(false);
    ImgBtnName.setVisible(true);
}

void TButtonForm::LoadItems() {
    ItemFile file(LauncherMainForm->DataDir, LauncherNo);
    LoadedItems loaded = file.load();
    ItemFileFound = loaded.fileFound;
    LauncherItems& items = Items();
    items = std::move(loaded.launcher);
    auto& icons = ButtonForms[1]->Shared.ItemIcons[LauncherNo];
    icons.clear();
    icons.resize(items.Items.size());
    ButtonForms[1]->Shared.ItemIconLoaded[LauncherNo].assign(items.Items.size(), false);
    SendMessageW(ListBox1, WM_SETREDRAW, FALSE, 0);
    SendMessageW(ListBox1, LB_RESETCONTENT, 0, 0);
    SendMessageW(ListBox1, LB_INITSTORAGE, items.ItemCount(), items.ItemCount() * 64);
    for (int p = 0; p < items.ItemCount(); ++p)
        SendMessageW(ListBox1, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(items.Items[items.JuniNo[p]].ItemName.c_str()));
    SendMessageW(ListBox1, WM_SETREDRAW, TRUE, 0);

    const int defaultHeight =
        defaultListHeight(kDesignItemHeight, items.ItemCount(), GetSystemMetrics(SM_CYSCREEN));
    LauncherWindowState state = file.readWindowState(defaultHeight);
    if (ItemFileFound)
        SetWindowPos(hwnd(), nullptr, state.X, state.Y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LauncherMainForm->IsButtonTop[LauncherNo] = state.IsButtonTop;
    LauncherMainForm->LBHeight[LauncherNo] = state.LBHeight;
}

void TButtonForm::LoadListFont() {
    const LauncherShared& shared = ButtonForms[1]->Shared;
    const int fontPixels = MulDiv(shared.FontSize, dpi_, 72);
    listFont_.reset(CreateFontFor(fontPixels, false));
    listBoldFont_.reset(CreateFontFor(fontPixels, true));
    SendMessageW(ListBox1, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), FALSE);
    SendMessageW(Edit1, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), FALSE);
    itemHeight_ = listItemHeight(shared.FontSize, dpi_);
    iconSize_ = listIconSize(shared.FontSize);
    SendMessageW(ListBox1, LB_SETITEMHEIGHT, 0, itemHeight_);
}

void TButtonForm::ApplyProvisionalStacking() {
    RECT button = ImgButton.bounds();
    RECT label = Label1.bounds();
    ProvisionalStacking stack = provisionalStacking(
        LauncherMainForm->IsButtonTop[LauncherNo], LauncherMainForm->LBHeight[LauncherNo],
        rectHeight(button), rectHeight(label), rectHeight(LblIconName.bounds()));
    ImgButton.setBounds(button.left, stack.buttonTop, rectWidth(button), rectHeight(button));
    RECT window{};
    GetWindowRect(hwnd(), &window);
    SetWindowPos(hwnd(), nullptr, 0, 0, rectWidth(window), stack.windowHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<std::wstring> TButtonForm::RowTexts() const {
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(SendMessageW(ListBox1, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int length = static_cast<int>(SendMessageW(ListBox1, LB_GETTEXTLEN, i, 0));
        std::wstring text(std::max(length, 0), L'\0');
        SendMessageW(ListBox1, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        rows.push_back(text);
    }
    return rows;
}

void TButtonForm::SizeListWidth() {
    RECT list{};
    GetWindowRect(ListBox1, &list);
    RECT button = ImgButton.bounds();
    RECT window{};
    GetWindowRect(hwnd(), &window);
    MONITORINFO monitor =
        monitorInfo(MonitorFromPoint({window.left, window.top}, MONITOR_DEFAULTTONEAREST));
    ListWidthInput in;
    in.buttonWidth = rectWidth(button);
    in.iconSize = iconSize_;
    in.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    in.monitorWidth = rectWidth(monitor.rcMonitor);
    win::WindowDC dc(hwnd());
    win::ScopedSelectObject select(dc.get(), listFont_.get());
    const int newWidth = listWidth(RowTexts(), in, [&](std::wstring_view text) {
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
    if (newWidth == rectWidth(list)) {
        if (SendMessageW(ListBox1, LB_GETCOUNT, 0, 0) == 0)
            FitEmptyWindow();
        return;
    }
    RECT listInWindow = list;
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&listInWindow), 2);
    SetWindowPos(ListBox1, nullptr, listInWindow.left, listInWindow.top, newWidth, rectHeight(list),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    AlignControlsAndSavePositions();
}

// An empty launcher is just its button and name: the window is as wide as the wider.
void TButtonForm::FitEmptyWindow() {
    RECT window{};
    GetWindowRect(hwnd(), &window);
    const int wanted = std::max(rectWidth(ImgButton.bounds()), rectWidth(Label1.bounds()));
    if (wanted != rectWidth(window))
        AlignControlsAndSavePositions();
}

void TButtonForm::AlignControlsAndSavePositions() {
    RECT list{};
    GetWindowRect(ListBox1, &list);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    RECT button = ImgButton.bounds();
    RECT label = Label1.bounds();
    int listWidthNow = std::max(rectWidth(list), rectWidth(button));
    RECT window{};
    GetWindowRect(hwnd(), &window);
    const int oldWidth = rectWidth(window);
    const int windowWidth = std::max(listWidthNow, rectWidth(label));

    const int mode = LauncherMainForm->PositionMode();
    int listLeft = 0, buttonLeft = 0, labelLeft = 2;
    if (mode <= 3) {
        listLeft = (windowWidth - listWidthNow) / 2;
        buttonLeft = (windowWidth - rectWidth(button)) / 2;
        labelLeft = (windowWidth - rectWidth(label)) / 2;
    } else if (mode == 5) {
        listLeft = windowWidth - listWidthNow;
        buttonLeft = windowWidth - rectWidth(button);
        labelLeft = windowWidth - rectWidth(label) - 2;
    }
    SetWindowPos(ListBox1, nullptr, listLeft, list.top, listWidthNow, rectHeight(list),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ImgButton.setBounds(buttonLeft, button.top, rectWidth(button), rectHeight(button));
    Label1.setBounds(labelLeft, label.top, rectWidth(label), rectHeight(label));
    RECT name = ImgBtnName.bounds();
    ImgBtnName.setBounds(labelLeft, name.top, rectWidth(name), rectHeight(name));
    RECT icon = ImgIcon.bounds();
    ImgIcon.setBounds(centredLeft(buttonLeft, rectWidth(button), rectWidth(icon)), icon.top,
                      rectWidth(icon), rectHeight(icon));

    int windowLeft = window.left;
    if (ButtonForms[1]->Shared.ShownOnce[LauncherNo] && windowWidth != oldWidth &&
        mode == kFreePlacementMode) {
        windowLeft -= (windowWidth - oldWidth) / 2;
        MONITORINFO monitor =
            monitorInfo(MonitorFromPoint({window.left, window.top}, MONITOR_DEFAULTTONEAREST));
        windowLeft = std::clamp(windowLeft, static_cast<int>(monitor.rcWork.left),
                                std::max(static_cast<int>(monitor.rcWork.left),
                                         static_cast<int>(monitor.rcWork.right) - windowWidth));
    }
    SetWindowPos(hwnd(), nullptr, windowLeft, window.top, windowWidth, rectHeight(window),
                 SWP_NOZORDER | SWP_NOACTIVATE);

    if (LauncherMainForm->Displaced[LauncherNo])
        return;
    for (int n = 1; n <= kLauncherCount; ++n) {
        if (!ButtonForms[n] || !ButtonForms[n]->hwnd())
            continue;
        RECT r{};
        GetWindowRect(ButtonForms[n]->hwnd(), &r);
        ItemFile(LauncherMainForm->DataDir, n).writePosition(r.left, r.top);
        ButtonForms[n]->ItemFileFound = true;
    }
}

RECT TButtonForm::WorkAreaForLayout() const {
    const int mode = LauncherMainForm->PositionMode();
    HMONITOR monitor = nullptr;
    switch (layoutMonitor(LauncherMainForm->Displaced[LauncherNo], mode)) {
    case LayoutMonitor::Remembered:
        monitor = LauncherMainForm->LauncherMonitor[LauncherNo];
        break;
    case LayoutMonitor::NearestToWindow: {
        RECT window{};
        GetWindowRect(hwnd(), &window);
        monitor = MonitorFromPoint({window.left, window.top}, MONITOR_DEFAULTTONEAREST);
        break;
    }
    case LayoutMonitor::Primary:
        break;
    }
    if (!monitor)
        monitor = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    return monitorInfo(monitor).rcWork;
}

void TButtonForm::LayOut() {
    RECT window{};
    GetWindowRect(hwnd(), &window);
    RECT button = ImgButton.bounds();
    RECT label = Label1.bounds();
    RECT work = WorkAreaForLayout();
    MONITORINFO monitor = monitorInfo(MonitorFromRect(&work, MONITOR_DEFAULTTOPRIMARY));

    ListLayoutInput in;
    in.workArea = {work.left, work.top, work.right, work.bottom};
    in.monitorTop = monitor.rcMonitor.top;
    in.windowLeft = window.left;
    in.windowTop = window.top;
    in.windowWidth = rectWidth(window);
    in.buttonTop = button.top;
    in.buttonHeight = rectHeight(button);
    in.labelTop = label.top;
    in.labelHeight = rectHeight(label);
    in.iconNameHeight = rectHeight(LblIconName.bounds());
    in.itemHeight = itemHeight_;
    in.itemCount = Items().ItemCount();
    in.placementMode = LauncherMainForm->PositionMode();
    in.displaced = LauncherMainForm->Displaced[LauncherNo];
    ListLayout out = layOutList(in);

    RECT list{};
    GetWindowRect(ListBox1, &list);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    SetWindowPos(ListBox1, nullptr, list.left, out.listTop, rectWidth(list), out.listHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ImgButton.setBounds(button.left, out.buttonTop, rectWidth(button), rectHeight(button));
    Label1.setBounds(label.left, out.labelTop, rectWidth(label), rectHeight(label));
    RECT name = ImgBtnName.bounds();
    ImgBtnName.setBounds(name.left, out.labelTop, rectWidth(name), rectHeight(name));
    RECT iconName = LblIconName.bounds();
    LblIconName.setBounds(iconName.left, out.iconNameTop, rectWidth(iconName),
                          rectHeight(iconName));
    RECT icon = ImgIcon.bounds();
    ImgIcon.setBounds(centredLeft(button.left, rectWidth(button), rectWidth(icon)),
                      out.buttonTop + (rectHeight(button) - rectHeight(icon)) / 2, rectWidth(icon),
                      rectHeight(icon));
    const bool outlined = LauncherMainForm->NameFuchidori[LauncherNo];
    Label1.setVisible(!outlined);
    ImgBtnName.setVisible(outlined);
    if (SendMessageW(ListBox1, LB_GETSELCOUNT, 0, 0) <= 0)
        ShowOneClickIcon();
    SetWindowPos(hwnd(), nullptr, out.windowLeft, out.windowTop, rectWidth(window),
                 out.windowHeight, SWP_NOZORDER | SWP_NOACTIVATE);

    LauncherMainForm->LBTargetHeight[LauncherNo] = out.targetHeight;
    if (out.storesHome) {
        LauncherMainForm->HomeLeft[LauncherNo] = out.homeLeft;
        LauncherMainForm->HomeTop[LauncherNo] = out.homeTop;
        LauncherMainForm->IsButtonTop[LauncherNo] = out.isButtonTop;
        LauncherMainForm->LBHeight[LauncherNo] = out.lbHeight;
    }
}

void TButtonForm::ShowOneClickIcon() {
    ImgIcon.clear();
    const LauncherItems& items = Items();
    for (int p = 0; p < items.ItemCount(); ++p) {
        const int i = items.JuniNo[p];
        HICON icon = items.Items[i].OneClick ? ItemIcon(i) : nullptr;
        if (icon) {
            ImgIcon.setIcon(icon);
            ImgIcon.setVisible(true);
            return;
        }
    }
    ImgIcon.setVisible(false);
}

void TButtonForm::FirstShow() {
    LauncherShared& shared = ButtonForms[1]->Shared;
    const bool first = !shared.ShownOnce[LauncherNo];
    shared.ShownOnce[LauncherNo] = true;
    if (first && shared.LauncherShown[LauncherNo]) {
        RECT window{};
        GetWindowRect(hwnd(), &window);
        if (ItemFileFound && LauncherMainForm->PositionMode() == kFreePlacementMode) {
            IniFile ini(LauncherMainForm->DataDir + kGlobalSettingsFile);
            const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
            const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
            Point at = rescaleSavedPosition({window.left, window.top}, screenWidth, screenHeight,
                                            ini.readInteger(L"Screen", L"Width", screenWidth),
                                            ini.readInteger(L"Screen", L"Height", screenHeight));
            SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            LauncherMainForm->HomeLeft[LauncherNo] = at.x;
            LauncherMainForm->HomeTop[LauncherNo] = at.y;
        } else if (!ItemFileFound) {
            SizeListWidth();
            LauncherMainForm->ArrangeLaunchers(kArrangedPlacementMode);
            GetWindowRect(hwnd(), &window);
            LauncherMainForm->HomeLeft[LauncherNo] = window.left;
            LauncherMainForm->HomeTop[LauncherNo] = window.top;
        }
    }
    const bool outlined = LauncherMainForm->NameFuchidori[LauncherNo];
    Label1.setVisible(!outlined);
    if (outlined)
        DrawOutlinedName();
    else
        ImgBtnName.setVisible(false);
    if (SendMessageW(ListBox1, LB_GETSELCOUNT, 0, 0) <= 0)
        ShowOneClickIcon();
}

void TButtonForm::OpenList() {
    for (int n = 1; n <= kLauncherCount; ++n) {
        TButtonForm* other = ButtonForms[n];
        if (!other || n == LauncherNo || !other->hwnd())
            continue;
        SetWindowPos(other->hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (IsWindowVisible(other->ListBox1) || IsWindowVisible(other->Edit1))
            other->HideList();
        other->LblIconName.setVisible(false);
        SetLayeredWindowAttributes(other->hwnd(), ref(other->WindowColor),
                                   static_cast<BYTE>(LauncherMainForm->ListAlpha[n]),
                                   LWA_COLORKEY | LWA_ALPHA);
    }
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    win::bringWindowToFront(hwnd());

    RECT button = ImgButton.bounds();
    const bool listBelow = ListBelowButton();
    if (LauncherMainForm->Settings.showItemAnime) {
        LauncherMainForm->ListGrowing = true;
        StartListGrowth();
    } else {
        const int full = LauncherMainForm->LBHeight[LauncherNo];
        RECT list{};
        GetWindowRect(ListBox1, &list);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
        SetWindowPos(ListBox1, nullptr, list.left,
                     listTopBesideButton(listBelow, button.top, rectHeight(button), full),
                     rectWidth(list), full, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(ListBox1, SW_SHOWNA);
    SetFocus(ListBox1);
    LauncherMainForm->ListActivityTime = timeGetTime();

    RECT bubble = ImgAwa.bounds();
    RECT icon = ImgIcon.bounds();
    const int bubbleTop =
        listBelow ? button.top + (rectHeight(button) - rectHeight(icon)) / 2 - rectHeight(bubble)
                  : button.top + (rectHeight(button) + rectHeight(icon)) / 2;
    ImgAwa.setBounds(centredLeft(button.left, rectWidth(button), rectWidth(bubble)), bubbleTop,
                     rectWidth(bubble), rectHeight(bubble));
    ImgAwa.setVisible(true);
    LauncherMainForm->BubbleShownTime = timeGetTime();
}

// Where the last layout put the list: below the button in the upper half of
// the screen, above it in the lower. A launcher shown away from home may sit
// in the other half than its home, so the saved stacking does not tell.
bool TButtonForm::ListBelowButton() const {
    RECT list{};
    GetWindowRect(ListBox1, &list);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    return list.top > ImgButton.bounds().top;
}

void TButtonForm::StartListGrowth() {
    LauncherMainForm->StartListGrowth(LauncherNo);
    if (!LauncherMainForm->ListGrowing)
        return;
    RECT button = ImgButton.bounds();
    RECT list{};
    GetWindowRect(ListBox1, &list);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    const int start = unrollStartHeight(itemHeight_);
    const bool listBelow = ListBelowButton();
    SetWindowPos(ListBox1, nullptr, list.left,
                 listTopBesideButton(listBelow, button.top, rectHeight(button), start),
                 rectWidth(list), start, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TButtonForm::GrowListStep() {
    ShowWindow(ListBox1, SW_SHOWNA);
    SetFocus(ListBox1);
    if (!LauncherMainForm->ListGrowing)
        return false;
    RECT button = ImgButton.bounds();
    RECT list{};
    GetWindowRect(ListBox1, &list);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    UnrollStep step =
        nextUnrollStep(rectHeight(list), LauncherMainForm->LBTargetHeight[LauncherNo], itemHeight_,
                       ListBelowButton(), button.top, rectHeight(button));
    SetWindowPos(ListBox1, nullptr, list.left, step.listTop, rectWidth(list), step.listHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (step.finished)
        SetLayeredWindowAttributes(hwnd(), ref(WindowColor),
                                   static_cast<BYTE>(LauncherMainForm->ListAlpha[LauncherNo]),
                                   LWA_COLORKEY | LWA_ALPHA);
    return step.finished;
}

void TButtonForm::HideList() {
    ListMouseLeave();
    if (LauncherMainForm->ListGrowLauncher == LauncherNo) {
        LauncherMainForm->ListGrowTime = 0;
        LauncherMainForm->ListGrowing = false;
        LauncherMainForm->ListGrowLauncher = 0;
    }
    SendMessageW(ListBox1, LB_SETSEL, FALSE, -1);
    ShowWindow(ListBox1, SW_HIDE);
    ShowWindow(Edit1, SW_HIDE);
    const int full = LauncherMainForm->LBHeight[LauncherNo];
    RECT button = ImgButton.bounds();
    RECT list{};
    GetWindowRect(ListBox1, &list);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    SetWindowPos(ListBox1, nullptr, list.left,
                 listTopBesideButton(ListBelowButton(), button.top, rectHeight(button), full),
                 rectWidth(list), full, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The button and the icon on it share their handling; only resting the pointer
// on them differs.
void TButtonForm::ControlMouse(const win::ChildControl& control, const win::MouseEvent& event,
                               void (TButtonForm::*hoverOpen)()) {
    switch (event.action) {
    case win::MouseAction::Enter:
        if (!(event.keys & MK_LBUTTON))
            (this->*hoverOpen)();
        break;
    case win::MouseAction::Leave:
        LblIconName.setVisible(false);
        break;
    case win::MouseAction::Down:
        pressedAt_ = {event.x, event.y};
        break;
    case win::MouseAction::Move:
        DragMove(control, event);
        break;
    case win::MouseAction::Up:
        ButtonMouseUp(event, &control == &ImgIcon);
        break;
    }
}

// A press that moves more than a few pixels turns into moving the launcher.
void TButtonForm::DragMove(const win::ChildControl& control, const win::MouseEvent& event) {
    if (dragging_ && !(event.keys & MK_LBUTTON)) {
        FinishDrag();
        return;
    }
    if (!(event.keys & MK_LBUTTON) || !movedFarEnoughToDrag(pressedAt_, {event.x, event.y}))
        return;
    LauncherMainForm->StopTimer1();
    HideList();
    ImgIcon.setVisible(false);
    LblIconName.setVisible(false);
    ImgAwa.setVisible(false);
    dragging_ = true;
    ReleaseCapture();
    POINT at{};
    GetCursorPos(&at);
    // The system's own move loop: returns when the user lets go of the button.
    SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(at.x, at.y));
    RestackAfterDrag(control);
    // The move loop ends with the button released; finishing here rather than on
    // a later move over the control keeps the main cycle from staying stopped
    // when the pointer was let go beside the button.
    if (GetAsyncKeyState(VK_LBUTTON) >= 0)
        FinishDrag();
}

void TButtonForm::RestackAfterDrag(const win::ChildControl& control) {
    RECT button = ImgButton.bounds();
    if (button.top <= rectHeight(LblIconName.bounds()) + 10)
        return; // already stacked for a closed list
    const int iconNameHeight = rectHeight(LblIconName.bounds());
    RECT iconName = LblIconName.bounds();
    LblIconName.setBounds(iconName.left, 0, rectWidth(iconName), iconNameHeight);
    ImgButton.setBounds(button.left, iconNameHeight, rectWidth(button), rectHeight(button));
    RECT label = Label1.bounds();
    Label1.setBounds(label.left, iconNameHeight + rectHeight(button), rectWidth(label),
                     rectHeight(label));
    RECT name = ImgBtnName.bounds();
    ImgBtnName.setBounds(name.left, iconNameHeight + rectHeight(button), rectWidth(name),
                         rectHeight(name));
    POINT at{};
    GetCursorPos(&at);
    POINT inControl = at;
    ScreenToClient(control.hwnd(), &inControl);
    RECT window{};
    GetWindowRect(hwnd(), &window);
    SetWindowPos(hwnd(), nullptr, window.left, at.y - inControl.y - iconNameHeight, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TButtonForm::FinishDrag() {
    dragging_ = false;
    if (LauncherMainForm->PositionMode() == kFreePlacementMode) {
        LauncherMainForm->Displaced[LauncherNo] = false;
    } else {
        LauncherMainForm->Displaced[LauncherNo] = true;
        POINT at{};
        GetCursorPos(&at);
        LauncherMainForm->LauncherMonitor[LauncherNo] =
            MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
    }
    LayOut();
    SetLayeredWindowAttributes(hwnd(), ref(WindowColor),
                               static_cast<BYTE>(LauncherMainForm->ListAlpha[LauncherNo]),
                               LWA_COLORKEY | LWA_ALPHA);
    LauncherMainForm->StartTimer1();
}

void TButtonForm::ButtonMouseUp(const win::MouseEvent& event, bool onIcon) {
    if (dragging_ || ButtonForms[1]->Shared.LaunchBusy)
        return;
    SetLayeredWindowAttributes(hwnd(), ref(WindowColor),
                               static_cast<BYTE>(LauncherMainForm->ListAlpha[LauncherNo]),
                               LWA_COLORKEY | LWA_ALPHA);
    if (event.button == win::MouseButton::Right) {
        LauncherMainForm->StopTimer1();
        HideList();
        LauncherMainForm->StartTimer1();
        POINT at{};
        GetCursorPos(&at);
        LauncherMainForm->ShowTrayMenu(LauncherNo, at);
        LblIconName.setVisible(false);
        return;
    }
    // The icon on the button stands for the one-click group: clicking it
    // starts the group as the middle button does.
    const bool iconClick =
        onIcon && event.button == win::MouseButton::Left && !(event.keys & MK_CONTROL);
    if (event.button == win::MouseButton::Middle || iconClick) {
        if (iconClick)
            HideList();
        LaunchOneClickGroup();
        if (iconClick)
            ButtonForms[1]->Shared.PreviousForeground = nullptr;
    }
}

bool TButtonForm::RestPointer() {
    // Let the pointer rest before the list opens, answering messages meanwhile so
    // a click during the wait is handled first.
    hovering_ = true;
    const DWORD start = timeGetTime();
    while (timeGetTime() - start < kHoverOpenDelayMs) {
        win::processPendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    hovering_ = false;
    POINT at{};
    GetCursorPos(&at);
    RECT button{};
    GetWindowRect(ImgButton.hwnd(), &button);
    return PtInRect(&button, at) != FALSE;
}

void TButtonForm::IconHoverOpen() {
    if (hovering_)
        return;
    if (!RestPointer())
        return;
    if (SendMessageW(ListBox1, LB_GETSELCOUNT, 0, 0) <= 0)
        ShowOneClickName();
    if (!IsWindowVisible(ListBox1) && !IsWindowVisible(Edit1) && Items().ItemCount() > 0)
        OpenList();
}

void TButtonForm::ShowOneClickName() {
    const LauncherItems& items = Items();
    for (int p = 0; p < items.ItemCount(); ++p) {
        const TItemData& item = items.Items[items.JuniNo[p]];
        if (item.OneClick) {
            ShowIconName(item.ItemName);
            return;
        }
    }
}

void TButtonForm::HoverOpen() {
    if (hovering_ || Items().ItemCount() == 0)
        return;
    // The window the user worked in: a click on its item's row sends it back.
    if (HWND previous = ForegroundCandidate())
        ButtonForms[1]->Shared.PreviousForeground = previous;
    if (IsWindowVisible(ListBox1) || IsWindowVisible(Edit1) || ImgIcon.visible())
        return;
    if (RestPointer() && !IsWindowVisible(ListBox1))
        OpenList();
}

void TButtonForm::ListDrawItem(const DRAWITEMSTRUCT& item) {
    const LauncherItems& items = Items();
    const int row = static_cast<int>(item.itemID);
    if (items.ItemCount() == 0 || row < 0 || row >= items.ItemCount())
        return;
    const int index = items.JuniNo[row];
    const int length = static_cast<int>(SendMessageW(ListBox1, LB_GETTEXTLEN, row, 0));
    std::wstring text(std::max(length, 0), L'\0');
    SendMessageW(ListBox1, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));

    RowState state;
    state.selected = (item.itemState & ODS_SELECTED) != 0;
    state.running = hasRunningMarker(text);
    state.oneClick = items.Items[index].OneClick;
    RowPaint paint = rowPaint(ListColor, state);

    HDC dc = item.hDC;
    win::UniqueGdiObject background(CreateSolidBrush(ref(paint.background)));
    FillRect(dc, &item.rcItem, static_cast<HBRUSH>(background.get()));
    if (HICON icon = ItemIcon(index))
        DrawIconEx(dc, item.rcItem.left + 1, item.rcItem.top + 1, icon, iconSize_, iconSize_, 0,
                   nullptr, DI_NORMAL);
    win::ScopedSelectObject font(dc, paint.bold ? listBoldFont_.get() : listFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ref(paint.text));
    TextOutW(dc, item.rcItem.left + iconSize_ + 2, item.rcItem.top + 1, text.c_str(),
             static_cast<int>(text.size()));
}

void TButtonForm::Edit1Enter() {
    const int row = static_cast<int>(SendMessageW(ListBox1, LB_GETCARETINDEX, 0, 0));
    LauncherItems& items = Items();
    const int length = GetWindowTextLengthW(Edit1);
    std::wstring text(std::max(length, 0), L'\0');
    GetWindowTextW(Edit1, text.data(), length + 1);
    if (row >= 0 && row < items.ItemCount()) {
        const int index = items.JuniNo[row];
        ItemFile file(LauncherMainForm->DataDir, LauncherNo);
        if (EditField != L"Name") {
            items.Items[index].Comment = text;
            file.writeComment(index, text);
        } else if (text != RowTexts()[row]) {
            items.Items[index].ItemName = text;
            file.writeItemName(index, text);
            SendMessageW(ListBox1, LB_DELETESTRING, row, 0);
            SendMessageW(ListBox1, LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    ShowWindow(Edit1, SW_HIDE);
    LblIconName.setVisible(false);
    SizeListWidth();
    ShowWindow(ListBox1, SW_SHOWNA);
    LauncherMainForm->ListActivityTime = timeGetTime();
    HIMC context = ImmGetContext(Edit1);
    if (context) {
        ImmSetOpenStatus(context, FALSE);
        ImmReleaseContext(Edit1, context);
    }
}

void TButtonForm::ListRightClick(POINT at) {
    POINT inList = at;
    ScreenToClient(ListBox1, &inList);
    const LRESULT hit = SendMessageW(ListBox1, LB_ITEMFROMPOINT, 0, MAKELPARAM(inList.x, inList.y));
    const int row = LOWORD(hit);
    if (HIWORD(hit) != 0 || row >= Items().ItemCount())
        return; // not on a row
    if (SendMessageW(ListBox1, LB_GETSEL, row, 0) <= 0) {
        SendMessageW(ListBox1, LB_SETSEL, FALSE, -1);
        SendMessageW(ListBox1, LB_SETSEL, TRUE, row);
    }
    SendMessageW(ListBox1, LB_SETCARETINDEX, row, FALSE);
    bool running = false;
    const std::vector<std::wstring> rows = RowTexts();
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        if (SendMessageW(ListBox1, LB_GETSEL, r, 0) > 0 && hasRunningMarker(rows[r]))
            running = true;
    if (GetKeyState(VK_SHIFT) < 0)
        running = true;
    LauncherMainForm->OpenItemMenu(LauncherNo, running, at);
}

void TButtonForm::StartInlineEdit(const std::wstring& field) {
    EditField = field;
    EditColor = 0xFFFFFF; // the box always opens white with blue text
    editBrush_.reset(CreateSolidBrush(ref(EditColor)));
    const int row = static_cast<int>(SendMessageW(ListBox1, LB_GETCARETINDEX, 0, 0));
    const LauncherItems& items = Items();
    if (row < 0 || row >= items.ItemCount())
        return;
    RECT list{};
    GetWindowRect(ListBox1, &list);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    const int boxHeight = itemHeight_ + 4;
    const int top = list.top == 0 ? rectHeight(list) - boxHeight : list.top;
    SetWindowPos(Edit1, HWND_TOP, list.left, top, rectWidth(list), boxHeight, SWP_NOACTIVATE);
    const std::wstring text =
        field == L"Comment" ? items.Items[items.JuniNo[row]].Comment : RowTexts()[row];
    SetWindowTextW(Edit1, text.c_str());
    ShowWindow(Edit1, SW_SHOW);
    SendMessageW(Edit1, EM_SETSEL, 0, -1);
    SetFocus(Edit1);
    ShowWindow(ListBox1, SW_HIDE);
    ShowRowIcon(row);
}

// The unrolling waits while the pointer is in the still-growing list, so the
// rows do not run away under it.
void TButtonForm::ListMouseEnter() {
    if (LauncherMainForm->ListGrowLauncher != LauncherNo || !LauncherMainForm->ListGrowing)
        return;
    RECT list{};
    GetWindowRect(ListBox1, &list);
    if (rectHeight(list) < LauncherMainForm->LBTargetHeight[LauncherNo]) {
        LauncherMainForm->StopTimer1();
        unrollPaused_ = true;
    }
}

void TButtonForm::ListMouseLeave() {
    if (unrollPaused_) {
        unrollPaused_ = false;
        LauncherMainForm->StartTimer1();
    }
}

void TButtonForm::ListKeyUp(WPARAM key) {
    if (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT)
        ShowRowIcon(static_cast<int>(SendMessageW(ListBox1, LB_GETCARETINDEX, 0, 0)));
}

void TButtonForm::ShowRowIcon(int row) {
    const LauncherItems& items = Items();
    if (row < 0 || row >= items.ItemCount())
        return;
    const int index = items.JuniNo[row];
    if (HICON icon = ItemIcon(index))
        ImgIcon.setIcon(icon);
    ImgIcon.setVisible(true);
    ShowIconName(items.Items[index].ItemName);
}

// The name pop-up over the button, placed by the placement mode.
void TButtonForm::ShowIconName(const std::wstring& name) {
    LblIconName.setCaption(name);
    HFONT font = LblIconName.font();
    const int textWidth = TextWidth(font, name) + 8;
    RECT window{};
    GetWindowRect(hwnd(), &window);
    RECT button = ImgButton.bounds();
    RECT current = LblIconName.bounds();
    int left = centredLeft(button.left, rectWidth(button), textWidth);
    const int mode = LauncherMainForm->PositionMode();
    if (mode == 4)
        left = 0;
    else if (mode == 5)
        left = rectWidth(window) - textWidth - 2;
    LblIconName.setBounds(left, current.top, textWidth, rectHeight(current));
    LblIconName.setVisible(true);
}

namespace {
Box boxOf(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
} // namespace

LauncherFrame TButtonForm::CaptureFrame() const {
    LauncherFrame frame;
    RECT window{};
    GetWindowRect(hwnd(), &window);
    frame.window = boxOf(window);
    RECT list{};
    GetWindowRect(ListBox1, &list);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    frame.list = boxOf(list);
    frame.button = boxOf(ImgButton.bounds());
    frame.label = boxOf(Label1.bounds());
    frame.nameImage = boxOf(ImgBtnName.bounds());
    frame.iconName = boxOf(LblIconName.bounds());
    frame.icon = boxOf(ImgIcon.bounds());
    frame.bubble = boxOf(ImgAwa.bounds());
    return frame;
}

void TButtonForm::ApplyFrame(const LauncherFrame& frame) {
    SetWindowPos(ListBox1, nullptr, frame.list.left, frame.list.top, frame.list.width,
                 frame.list.height, SWP_NOZORDER | SWP_NOACTIVATE);
    ImgButton.setBounds(frame.button.left, frame.button.top, frame.button.width,
                        frame.button.height);
    Label1.setBounds(frame.label.left, frame.label.top, frame.label.width, frame.label.height);
    ImgBtnName.setBounds(frame.nameImage.left, frame.nameImage.top, frame.nameImage.width,
                         frame.nameImage.height);
    LblIconName.setBounds(frame.iconName.left, frame.iconName.top, frame.iconName.width,
                          frame.iconName.height);
    ImgIcon.setBounds(frame.icon.left, frame.icon.top, frame.icon.width, frame.icon.height);
    ImgAwa.setBounds(frame.bubble.left, frame.bubble.top, frame.bubble.width, frame.bubble.height);
    SetWindowPos(hwnd(), nullptr, frame.window.left, frame.window.top, frame.window.width,
                 frame.window.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LauncherView TButtonForm::View() const {
    LauncherView view;
    view.windowVisible = IsWindowVisible(hwnd()) != FALSE;
    view.buttonVisible = ImgButton.visible();
    view.displaced = LauncherMainForm->Displaced[LauncherNo];
    view.listVisible = IsWindowVisible(ListBox1) != FALSE;
    view.renameEditVisible = IsWindowVisible(Edit1) != FALSE;
    view.rowSelected = SendMessageW(ListBox1, LB_GETSELCOUNT, 0, 0) > 0;
    POINT at{};
    GetCursorPos(&at);
    RECT button{};
    GetWindowRect(ImgButton.hwnd(), &button);
    RECT window{};
    GetWindowRect(hwnd(), &window);
    view.pointerOverButton = view.windowVisible && PtInRect(&button, at);
    view.pointerInWindow = view.windowVisible && PtInRect(&window, at);
    view.trackedCount = ButtonForms[1]->Shared.Launchers[LauncherNo].RunCount();
    return view;
}

void TButtonForm::CloseIdleList() {
    HideList();
    ShowOneClickIcon();
    LblIconName.setVisible(false);
}

void TButtonForm::SavePosition() {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    LauncherWindowState state;
    state.X = r.left;
    state.Y = r.top;
    state.IsButtonTop = LauncherMainForm->IsButtonTop[LauncherNo];
    state.LBHeight = LauncherMainForm->LBHeight[LauncherNo];
    ItemFile(LauncherMainForm->DataDir, LauncherNo).writeQuitState(state);
}

LRESULT TButtonForm::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(windowBrush_.get()));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(windowBrush_.get());
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(listBrush_.get());
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = itemHeight_;
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == kListBox1Id)
            ListDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_SHOWWINDOW:
        if (wParam)
            FirstShow();
        break;
    case kEditEnterMessage:
        Edit1Enter();
        return 0;
    case kListKeyUpMessage:
        ListKeyUp(wParam);
        return 0;
    case kListEnterMessage:
        ListMouseEnter();
        return 0;
    case kListLeaveMessage:
        ListMouseLeave();
        return 0;
    case kListPressMessage:
        listPressY_ = static_cast<int>(static_cast<short>(wParam));
        listPressed_ = true;
        return 0;
    case kListClickMessage:
        if (listPressed_) {
            listPressed_ = false;
            ListClick(listPressY_, static_cast<int>(static_cast<short>(wParam)));
        }
        return 0;
    case kListReturnMessage:
        ListReturn();
        return 0;
    case kListRightClickMessage:
        ListRightClick({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == Edit1) {
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
            SetBkColor(reinterpret_cast<HDC>(wParam), ref(EditColor));
            return reinterpret_cast<LRESULT>(editBrush_.get());
        }
        break;
    }
    return defaultHandling(msg, wParam, lParam);
}

} // namespace kelvo
