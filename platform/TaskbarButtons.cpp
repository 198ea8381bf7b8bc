#include "platform/TaskbarButtons.h"

#include "platform/Com.h"

#include <shobjidl.h>

namespace kelvo::win {
namespace {

ComPtr<ITaskbarList> taskbarList() {
    ComPtr<ITaskbarList> list;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList,
                                list.putVoid())) ||
        FAILED(list->HrInit()))
        list.reset();
    return list;
}

} // namespace

void hideTaskbarButton(HWND window) {
    if (!window)
        return;
    if (ComPtr<ITaskbarList> list = taskbarList())
        list->DeleteTab(window);
}

void showTaskbarButton(HWND window) {
    if (!window)
        return;
    if (ComPtr<ITaskbarList> list = taskbarList())
        list->AddTab(window);
}

} // namespace kelvo::win
