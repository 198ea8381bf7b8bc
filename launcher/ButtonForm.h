#pragma once
// A launcher window. The five launchers share this class; each instance is
// parameterised by its launcher number and registered under "TButtonForm<N>".
// What all five share (the items of every launcher, the list font) is held by
// launcher 1's window, as `LauncherShared`.
#include "core/Form.h"
#include "core/LauncherPlacement.h"
#include "core/MainCycle.h"
#include "graphics/LauncherPosition.h"
#include "graphics/RowColors.h"
#include "launcher/ItemModel.h"
#include "launcher/LaunchPlanning.h"
#include "platform/Handles.h"
#include "platform/ImageControl.h"
#include "platform/LabelControl.h"
#include "storage/GlobalSettings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvo {

struct LauncherShared {
    std::array<LauncherItems, kLauncherCount + 1> Launchers; // by launcher number
    // By item index; an icon is asked of the shell the first time it is shown,
    // so a launcher of thousands of items opens as fast as one of ten.
    std::array<std::vector<win::UniqueIcon>, kLauncherCount + 1> ItemIcons;
    std::array<std::vector<bool>, kLauncherCount + 1> ItemIconLoaded;
    std::wstring FontName;
    int FontSize = 11;
    std::uint8_t FontStyle = 0;
    std::array<bool, kLauncherCount + 1> LauncherShown{};
    std::array<bool, kLauncherCount + 1> ShownOnce{};
    HWND PreviousForeground = nullptr; // the window in front before a launcher appeared
    // A launch is running; a second one waits for it (except the files of a
    // folder started one by one).
    bool LaunchBusy = false;
    // The click that closes an item menu lands on a row; it must not launch it.
    std::array<bool, kLauncherCount + 1> IgnoreNextClick{};
};

class TButtonForm : public Form {
  public:
    explicit TButtonForm(int launcherNo) : LauncherNo(launcherNo) {}
    bool FormCreate();

    // Window position and list height to the item file, at program end.
    void SavePosition();
    void SizeListWidth();
    void LayOut();
    void OpenList();
    void HideList();
    // One step of the unrolling list; true when the list reached its height.
    bool GrowListStep();
    void StartListGrowth();
    void AlignControlsAndSavePositions();
    void DrawOutlinedName();
    // The window and its controls as placement arithmetic sees them, and back.
    LauncherFrame CaptureFrame() const;
    void ApplyFrame(const LauncherFrame& frame);
    // Opens the box over the list that edits the current row's name or comment.
    void StartInlineEdit(const std::wstring& field);
    // What the main cycle needs to know of this launcher at a tick.
    LauncherView View() const;
    // An idle list goes away: deselected, hidden, the one-click icon back on the button.
    void CloseIdleList();
    // The first one-click item's icon on the button (hidden when there is none).
    void ShowOneClickIcon();

    // --- Launching and following what was launched (ItemLaunching.cpp) ---
    // Starts or brings forward every selected row, in list order.
    void LaunchSelection();
    // Selects the rows of the items marked for one click and launches them.
    void LaunchOneClickGroup();
    // Re-checks entry `position` of the tracked list after its window vanished:
    // keeps it with a replacement window, or forgets it when the process ended.
    void RefreshTrackedApp(int position);
    // Asks a tracked application to close; reports the end through the main
    // form's ClosingFinished.
    void CloseTrackedApp(int itemIndex, const std::wstring& name);
    // A launcher the user moved away goes back to its home position.
    void ReturnHome();

    LauncherItems& Items();
    // The icon of an item of this launcher, loaded on first use; nullptr when none.
    HICON ItemIcon(int index);
    int ItemHeight() const { return itemHeight_; }
    int IconSize() const { return iconSize_; }
    std::vector<std::wstring> RowTexts() const;

    const int LauncherNo;
    LauncherShared Shared; // meaningful on launcher 1 only

    win::ImageControl ImgButton, ImgBtnName, ImgAwa, ImgIcon;
    win::LabelControl Label1, LblIconName;
    HWND ListBox1 = nullptr;
    HWND Edit1 = nullptr;
    std::wstring EditField; // "Name" or "Comment" while Edit1 is open

    std::uint32_t WindowColor = 0xC0C0C0; // also the transparency key
    std::uint32_t EditColor = 0xFFFFFF;
    ListColors ListColor;
    bool ItemFileFound = false;

  protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    bool CreateControls();
    void LoadLauncher();
    void LoadNameDisplay();
    void LoadItems();
    void LoadListFont();
    void ApplyProvisionalStacking();
    void FixColorClashes();
    void ApplyTransparency();
    void SetButtonPicture();
    void SetBubblePicture();
    void FirstShow();
    void FitEmptyWindow();
    void ListDrawItem(const DRAWITEMSTRUCT& item);
    void ControlMouse(const win::ChildControl& control, const win::MouseEvent& event,
                      void (TButtonForm::*hoverOpen)());
    void HoverOpen();
    void DragMove(const win::ChildControl& control, const win::MouseEvent& event);
    void RestackAfterDrag(const win::ChildControl& control);
    void FinishDrag();
    void ButtonMouseUp(const win::MouseEvent& event, bool onIcon);
    void IconHoverOpen();
    bool RestPointer();
    void ShowOneClickName();
    void ShowIconName(const std::wstring& name);
    void Edit1Enter();
    void ListKeyUp(WPARAM key);
    void ListMouseEnter();
    void ListMouseLeave();
    void ListRightClick(POINT at);
    void ShowRowIcon(int row);
    bool ListBelowButton() const;
    void ListClick(int mouseDownY, int clickY);
    void ListReturn();
    std::vector<int> SelectedRows() const;
    std::wstring RowText(int row) const;
    void SetRowText(int row, const std::wstring& text);
    // One selected row; true when it started something.
    bool LaunchRow(int row, int selectedCount, std::vector<int>& identified);
    void ActivateRunningApp(TItemData& item);
    void RefindWindow(TItemData& item, HWND alreadyTried);
    void IdentifyWindow(TItemData& item, const IdentifyContext& context, HANDLE process);
    void HideLaunchersForLaunch();
    void FinishBatch(const BatchFacts& facts, const std::vector<int>& identified);
    void RestoreLaunchersAfterLaunch(const BatchFinish& finish);
    RECT WorkAreaForLayout() const;
    int Scaled(int designPixels) const;
    std::uint32_t ResolvedSetting(const wchar_t* section, int def) const;
    HFONT CreateFontFor(int pixelHeight, bool bold) const;
    int TextWidth(HFONT font, std::wstring_view text) const;

    int dpi_ = 96;
    int itemHeight_ = 18;
    int iconSize_ = 17;
    win::UniqueGdiObject windowBrush_;
    win::UniqueGdiObject listFont_, listBoldFont_;
    win::UniqueGdiObject listBrush_;
    bool hovering_ = false;
    bool dragging_ = false;
    bool unrollPaused_ = false;
    win::UniqueGdiObject editBrush_;
    Point pressedAt_;
    int listPressY_ = 0;
    bool listPressed_ = false;
};

} // namespace kelvo
