// The Settings dialog run modally and driven from inside its loop: the
// stored file shown or not, OK refused without an existing file, browse and
// drop applied, clear history sent to the owner once, Cancel leaving the
// caller's values alone.
#include <gtest/gtest.h>

#include "dialog_checks.h"
#include "dialogs/SettingsDlg.h"
#include "framework/FrameWnd.h"
#include "support/drop_data.h"
#include "support/modal_script.h"
#include "support/pump.h"
#include "test_files.h"

#include <commdlg.h>

namespace {

constexpr UINT kClearHistoryMsg = WM_USER + 10;

// Stands in for the main window: counts the clear-history requests.
class OwnerFrame : public CFrameWnd {
public:
    OwnerFrame()
    {
        m_bAutoDelete = false;
        Create(nullptr, "Owner", WS_POPUP, RECT{0, 0, 200, 40});
        ShowWindow(SW_SHOWNOACTIVATE);
    }
    ~OwnerFrame() override
    {
        if (IsWindow()) DestroyWindow();
    }
    int clearRequests = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == kClearHistoryMsg) {
            ++clearRequests;
            return 0;
        }
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }
};

const std::map<int, std::string> kSettingsTips = {
    {IDOK, "指定された設定を保存して、ウィンドウを閉じます。"},
    {IDCANCEL, "設定をキャンセルします。"},
    {1002, "履歴をクリアします。"},
    {1000, "Windiffの実行ファイル名を設定します。"},
    {1001, "Windiffを実行した後に最小化するかのON/OFFを設定します。"},
};

bool Visible(HWND dlg, int id)
{
    return ::IsWindowVisible(::GetDlgItem(dlg, id)) != FALSE;
}

HICON ShownIcon(HWND dlg)
{
    return reinterpret_cast<HICON>(::SendDlgItemMessageA(dlg, 1003, STM_GETICON, 0, 0));
}

bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!::GetIconInfo(icon, &info)) return false;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return true;
}

// A step that waits for the message box of a refused OK, reads it and
// closes it.
std::function<bool()> CloseRefusal(HWND* dlg, std::string* text, bool* exclamation)
{
    return [=] {
        HWND box = FindThreadDialog("Pairmate");
        if (!box) return false;
        EXPECT_EQ(*dlg, ::GetWindow(box, GW_OWNER));
        *text = MessageBoxMessage(box);
        *exclamation = MessageBoxHasExclamationIcon(box);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    };
}

} // namespace

TEST(SettingsDialog, ShowsTheStoredFileAndCancelChangesNothing)
{
    TempFolder temp;
    OwnerFrame owner;
    const std::string file = temp.File("windiff.exe");
    CSettingsDlg dlg(&owner);
    dlg.m_strWinDiffPath = file;
    dlg.m_bAutoMinimize = TRUE;
    dlg.m_nClearHistoryMsg = kClearHistoryMsg;

    HICON icon = nullptr;
    ModalScript script;
    script
        .Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); })
        .Then([&] {
            HWND h = dlg.m_hWnd;
            EXPECT_EQ("設定", GetWindowTextString(h));
            ExpectLiveControls(h, kSettingsControls, {1003}, {128, 1011});
            EXPECT_TRUE(CentredOnScreen(h));
            EXPECT_FALSE(::IsWindowEnabled(owner.m_hWnd)); // modal over its owner
            EXPECT_EQ(file, GetWindowTextString(::GetDlgItem(h, 128)));
            EXPECT_EQ("%1 %2", GetWindowTextString(::GetDlgItem(h, 1011))); // nothing stored: the preset
            EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, 1012)));          // nothing found
            EXPECT_TRUE(Visible(h, 1003));
            icon = ShownIcon(h);
            EXPECT_NE(nullptr, icon);
            EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(h, 1001));
            EXPECT_EQ(kSettingsTips, ToolTipTexts(dlg.GetToolTipWindow())); // the field has none
            // The user unticks the box, then cancels.
            ::CheckDlgButton(h, 1001, BST_UNCHECKED);
            Click(h, IDCANCEL);
            return true;
        });
    script.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(dlg.m_bAutoMinimize);
    EXPECT_EQ(file, dlg.m_strWinDiffPath);
    EXPECT_EQ(0, owner.clearRequests);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    EXPECT_FALSE(IconAlive(icon)); // the last icon went with the dialog
}

TEST(SettingsDialog, RefusesOKWithoutAFileAndTakesADroppedOne)
{
    TempFolder temp;
    OwnerFrame owner;
    const std::string file = temp.File("windiff.exe");
    const std::string folder = temp.Folder("tools");
    CSettingsDlg dlg(&owner);
    dlg.m_strWinDiffPath = temp.Path() + "\\missing.exe"; // stored, no longer there
    dlg.m_nClearHistoryMsg = kClearHistoryMsg;

    std::string refusal;
    bool exclamation = false;
    HICON firstIcon = nullptr;
    ModalScript script;
    script
        .Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); })
        .Then([&] {
            EXPECT_EQ("", GetWindowTextString(::GetDlgItem(dlg.m_hWnd, 128)));
            EXPECT_FALSE(Visible(dlg.m_hWnd, 1003));
            EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(dlg.m_hWnd, 1001));
            Click(dlg.m_hWnd, IDOK);
            return true;
        })
        .Then(CloseRefusal(&dlg.m_hWnd, &refusal, &exclamation))
        .Then([&] {
            if (FindThreadDialog("Pairmate")) return false;
            EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd)); // still open
            EXPECT_EQ("", dlg.m_strWinDiffPath);        // what OK read

            IDropTarget* target = DropTargetOf(dlg.m_hWnd, 128);
            EXPECT_NE(nullptr, target);
            if (!target) return true;
            // A folder is refused, a file taken.
            EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), DragAndDrop(target, ShellDataObject({folder}).Get()));
            EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), DragAndDrop(target, ShellDataObject({file}).Get()));
            return true;
        })
        .Then([&] {
            if (GetWindowTextString(::GetDlgItem(dlg.m_hWnd, 128)) != file) return false;
            EXPECT_TRUE(Visible(dlg.m_hWnd, 1003));
            firstIcon = ShownIcon(dlg.m_hWnd);
            EXPECT_NE(nullptr, firstIcon);
            // A second drop replaces the icon and destroys the first.
            IDropTarget* target = DropTargetOf(dlg.m_hWnd, 128);
            EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), DragAndDrop(target, TextDataObject(file).Get()));
            return true;
        })
        .Then([&] {
            if (ShownIcon(dlg.m_hWnd) == firstIcon) return false;
            EXPECT_FALSE(IconAlive(firstIcon));
            ::CheckDlgButton(dlg.m_hWnd, 1001, BST_CHECKED);
            Click(dlg.m_hWnd, IDOK);
            return true;
        });
    script.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("Windiffのファイル名が設定されていません。", refusal);
    EXPECT_TRUE(exclamation);
    EXPECT_EQ(file, dlg.m_strWinDiffPath);
    EXPECT_TRUE(dlg.m_bAutoMinimize);
}

TEST(SettingsDialog, ClearHistoryAsksTheOwnerOnceAndSurvivesCancel)
{
    OwnerFrame owner;
    CSettingsDlg dlg(&owner);
    dlg.m_nClearHistoryMsg = kClearHistoryMsg;
    std::string tip;
    POINT onBrowse = {};
    ModalScript script;
    script
        .Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); })
        .Then([&] {
            // The pointer rests on Browse: the loop relays the mouse move
            // to the tooltip, which shows the button's text.
            HWND browse = ::GetDlgItem(dlg.m_hWnd, 1000);
            RECT rc{};
            ::GetWindowRect(browse, &rc);
            onBrowse = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
            ::SetCursorPos(onBrowse.x, onBrowse.y);
            ::PostMessageA(browse, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            return true;
        })
        .Then([&] {
            // Held there: put back, the pointer moves over the button again.
            HoldCursorAt(onBrowse.x, onBrowse.y);
            HWND tooltip = dlg.GetToolTipWindow();
            if (!::IsWindowVisible(tooltip)) return false;
            tip = GetWindowTextString(tooltip);
            if (tip.empty()) {
                char buffer[512] = {};
                TTTOOLINFOA ti = {};
                ti.cbSize = TTTOOLINFOA_V2_SIZE;
                ti.lpszText = buffer;
                ::SendMessageA(tooltip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
                tip = buffer;
            }
            ::SetCursorPos(1000, 740);
            return true;
        })
        .Then([&] {
            ::SetFocus(::GetDlgItem(dlg.m_hWnd, 1002));
            ::PostMessageA(::GetDlgItem(dlg.m_hWnd, 1002), BM_CLICK, 0, 0);
            return true;
        })
        .Then([&] {
            if (owner.clearRequests == 0) return false;
            HWND button = ::GetDlgItem(dlg.m_hWnd, 1002);
            EXPECT_FALSE(::IsWindowEnabled(button));
            EXPECT_NE(button, ::GetFocus()); // the focus moved on
            Click(dlg.m_hWnd, 1002);         // a late second click does nothing
            return true;
        })
        .Then([&] {
            Click(dlg.m_hWnd, IDCANCEL);
            return true;
        });
    script.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(1, owner.clearRequests);
    EXPECT_EQ("Windiffの実行ファイル名を設定します。", tip);
}

TEST(SettingsDialog, BrowseAppliesTheChosenFile)
{
    TempFolder temp;
    OwnerFrame owner;
    const std::string file = temp.File("windiff.exe");
    CSettingsDlg dlg(&owner);
    dlg.m_nClearHistoryMsg = kClearHistoryMsg;

    std::string title;
    auto chooser = [&] { return FindThreadDialog("Windiffファイルの選択"); };
    // Types a name into the file dialog and confirms (or cancels) it.
    auto answer = [&](const std::string* name) {
        return [&, name] {
            HWND box = chooser();
            if (!box) return false;
            title = GetWindowTextString(box);
            EXPECT_EQ(dlg.m_hWnd, ::GetWindow(box, GW_OWNER));
            if (!name) {
                ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                return true;
            }
            HWND edit = ::GetDlgItem(box, edt1);
            if (!edit) edit = ::GetDlgItem(box, cmb13);
            EXPECT_NE(nullptr, edit);
            ::SetWindowTextA(edit, name->c_str());
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        };
    };
    ModalScript script(40000);
    script
        .Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); })
        .Then([&] {
            Click(dlg.m_hWnd, 1000);
            return true;
        })
        .Then(answer(nullptr)) // cancelled: nothing changes
        .Then([&] {
            if (chooser()) return false;
            EXPECT_EQ("", GetWindowTextString(::GetDlgItem(dlg.m_hWnd, 128)));
            EXPECT_FALSE(Visible(dlg.m_hWnd, 1003));
            Click(dlg.m_hWnd, 1000);
            return true;
        })
        .Then(answer(&file))
        .Then([&] {
            if (chooser()) return false;
            EXPECT_EQ(file, GetWindowTextString(::GetDlgItem(dlg.m_hWnd, 128)));
            EXPECT_TRUE(Visible(dlg.m_hWnd, 1003));
            EXPECT_NE(nullptr, ShownIcon(dlg.m_hWnd));
            EXPECT_EQ("", dlg.m_strWinDiffPath); // taken on OK only
            Click(dlg.m_hWnd, IDOK);
            return true;
        });
    script.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ("Windiffファイルの選択", title);
    EXPECT_EQ(file, dlg.m_strWinDiffPath);
    EXPECT_FALSE(dlg.m_bAutoMinimize);
}

TEST(SettingsDialog, HugeTextInTheFieldIsRefusedOnOK)
{
    OwnerFrame owner;
    CSettingsDlg dlg(&owner);
    std::string refusal;
    bool exclamation = false;
    ModalScript script;
    script
        .Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); })
        .Then([&] {
            ::SetDlgItemTextA(dlg.m_hWnd, 128, ("C:\\" + std::string(100000, 'a') + "\\windiff.exe").c_str());
            Click(dlg.m_hWnd, IDOK);
            return true;
        })
        .Then(CloseRefusal(&dlg.m_hWnd, &refusal, &exclamation))
        .Then([&] {
            if (FindThreadDialog("Pairmate")) return false;
            ::PostMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0); // the close box
            return true;
        });
    script.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("Windiffのファイル名が設定されていません。", refusal);
}

TEST(SettingsDialog, AChosenProgramBringsItsPresetAndTheProgramsFoundAreOffered)
{
    TempFolder temp;
    OwnerFrame owner;
    const std::string merge = temp.File("WinMergeU.exe"), code = temp.File("Code.exe"), tgm = temp.File("TortoiseGitMerge.exe");
    CSettingsDlg dlg(&owner);
    dlg.m_strWinDiffPath = merge;
    dlg.m_strArguments = "-x %1 %2";
    dlg.m_foundPrograms = {{"WinMerge", merge}, {"TortoiseGitMerge", tgm}, {"Visual Studio Code", code}};
    auto texts = [&] { return GetWindowTextString(::GetDlgItem(dlg.m_hWnd, 128)) + " " + GetWindowTextString(::GetDlgItem(dlg.m_hWnd, 1011)); };
    ModalScript script;
    script.Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); })
        .Then([&] { // a drop brings the dropped program's preset
            EXPECT_EQ(merge + " -x %1 %2", texts());
            return DragAndDrop(DropTargetOf(dlg.m_hWnd, 128), ShellDataObject({tgm}).Get()) == static_cast<DWORD>(DROPEFFECT_LINK);
        })
        .Then([&] { // the third program of the Installed button's menu
            if (texts() != tgm + " /base:%1 /mine:%2") return false;
            Click(dlg.m_hWnd, 1012);
            return true;
        })
        .Then([&] {
            HWND menu = ::FindWindowA("#32768", nullptr);
            if (!menu || !::IsWindowVisible(menu)) return false;
            for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) ::PostMessageA(menu, WM_KEYDOWN, key, 0);
            return true;
        })
        .Then([&] {
            if (texts() != code + " --diff %1 %2") return false;
            Click(dlg.m_hWnd, IDOK);
            return true;
        });
    script.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(code, dlg.m_strWinDiffPath);
    EXPECT_EQ("--diff %1 %2", dlg.m_strArguments);
}
