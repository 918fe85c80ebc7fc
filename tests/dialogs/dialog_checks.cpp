#include "dialog_checks.h"

#include "framework/Wnd.h"
#include "pathinput/FileDropStatic.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

void ExpectLiveControls(HWND dialog, const std::vector<ExpectedControl>& table, const std::set<int>& sizeChanges,
                        const std::set<int>& skipText)
{
    // The template's order, with the group box around the file field moved
    // to just below the field.
    std::vector<ExpectedControl> order = table;
    auto field = std::find_if(order.begin(), order.end(), [](const ExpectedControl& e) { return e.id == 128; });
    auto box = std::find_if(std::make_reverse_iterator(field), order.rend(),
                            [](const ExpectedControl& e) { return e.kind == Kind::GroupBox; });
    if (field != order.end() && box != order.rend()) std::rotate(box.base() - 1, box.base(), field + 1);

    HWND child = ::GetWindow(dialog, GW_CHILD);
    for (const ExpectedControl& e : order) {
        SCOPED_TRACE(std::string("control ") + std::to_string(e.id) + " " + e.text);
        ASSERT_NE(nullptr, child);
        EXPECT_EQ(e.id, static_cast<short>(::GetDlgCtrlID(child)));
        if (!skipText.count(e.id) && e.text[0] != '#') {
            EXPECT_EQ(e.text, GetWindowTextString(child));
        }

        // The dialog manager maps the corner and the size each on its own.
        RECT corner = {e.x, e.y, e.x, e.y};
        RECT size = {0, 0, e.cx, e.cy};
        ::MapDialogRect(dialog, &corner);
        ::MapDialogRect(dialog, &size);
        RECT expected = {corner.left, corner.top, corner.left + size.right, corner.top + size.bottom};
        RECT actual{};
        ::GetWindowRect(child, &actual);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(expected.left, actual.left);
        EXPECT_EQ(expected.top, actual.top);
        if (!sizeChanges.count(e.id)) {
            EXPECT_EQ(expected.right, actual.right);
            EXPECT_EQ(expected.bottom, actual.bottom);
        }
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, child); // nothing more
}

std::map<int, std::string> ToolTipTexts(HWND tooltip)
{
    std::map<int, std::string> texts;
    int count = static_cast<int>(::SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TTTOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        if (!::SendMessageA(tooltip, TTM_ENUMTOOLSA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ti))) continue;
        char buffer[512] = {};
        TTTOOLINFOA get = {};
        get.cbSize = TTTOOLINFOA_V2_SIZE;
        get.hwnd = ti.hwnd;
        get.uId = ti.uId;
        get.lpszText = buffer;
        ::SendMessageA(tooltip, TTM_GETTEXTA, sizeof(buffer), reinterpret_cast<LPARAM>(&get));
        int id = (ti.uFlags & TTF_IDISHWND) ? ::GetDlgCtrlID(reinterpret_cast<HWND>(ti.uId)) : -1000 - i;
        texts[id] = buffer;
    }
    return texts;
}

IDropTarget* DropTargetOf(HWND dialog, int id)
{
    auto* field = dynamic_cast<CFileDropStatic*>(CWnd::FromHandle(::GetDlgItem(dialog, id)));
    return field ? field->GetDropTarget() : nullptr;
}

DWORD DragAndDrop(IDropTarget* target, IDataObject* data)
{
    POINTL pt = {0, 0};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    target->DragEnter(data, MK_LBUTTON, pt, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    target->DragOver(MK_LBUTTON, pt, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    target->Drop(data, 0, pt, &effect);
    return effect;
}

bool CentredOnScreen(HWND hwnd)
{
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    return std::abs((rc.left + rc.right) - cx) <= 2 && std::abs((rc.top + rc.bottom) - cy) <= 2;
}
