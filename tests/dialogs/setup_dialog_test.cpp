// The Initial-setup dialog: topmost, empty and without icon when nothing is
// known, OK refused until a file is chosen, and every way out but OK ends
// with IDCANCEL.
#include <gtest/gtest.h>

#include "dialog_checks.h"
#include "dialogs/SetupDlg.h"
#include "support/drop_data.h"
#include "support/modal_script.h"
#include "test_files.h"

namespace {

const std::map<int, std::string> kSetupTips = {
    {1000, "Windiffの実行ファイル名を設定します。"},
    {IDOK, "指定された設定を保存して、ウィンドウを閉じます。"},
    {IDCANCEL, "処理をキャンセルして、Pairmateを終了します。"},
};

} // namespace

TEST(SetupDialog, AsksOnTopForAFileAndRefusesOKWithoutOne)
{
    TempFolder temp;
    const std::string file = temp.File("windiff.exe");
    CSetupDlg dlg; // no parent, nothing set: as the main window uses it
    std::string refusal;
    bool exclamation = false;
    ModalScript script;
    script
        .Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); })
        .Then([&] {
            HWND h = dlg.m_hWnd;
            EXPECT_EQ("初期設定", GetWindowTextString(h));
            ExpectLiveControls(h, kSetupControls, {-1, 1003}, {128});
            EXPECT_TRUE(::GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_TRUE(CentredOnScreen(h));
            // The application icon at the top left; no file icon yet.
            HWND appIcon = ::GetWindow(h, GW_CHILD);
            EXPECT_NE(nullptr, reinterpret_cast<HICON>(::SendMessageA(appIcon, STM_GETICON, 0, 0)));
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, 1003)));
            EXPECT_EQ("", GetWindowTextString(::GetDlgItem(h, 128)));
            EXPECT_EQ(kSetupTips, ToolTipTexts(dlg.GetToolTipWindow()));
            Click(h, IDOK);
            return true;
        })
        .Then([&] {
            HWND box = FindThreadDialog("Pairmate");
            if (!box) return false;
            refusal = MessageBoxMessage(box);
            exclamation = MessageBoxHasExclamationIcon(box);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        })
        .Then([&] {
            if (FindThreadDialog("Pairmate")) return false;
            EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd));
            IDropTarget* target = DropTargetOf(dlg.m_hWnd, 128);
            EXPECT_NE(nullptr, target);
            if (target) {
                EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), DragAndDrop(target, ShellDataObject({file}).Get()));
            }
            return true;
        })
        .Then([&] {
            if (GetWindowTextString(::GetDlgItem(dlg.m_hWnd, 128)) != file) return false;
            EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dlg.m_hWnd, 1003)));
            EXPECT_NE(nullptr, reinterpret_cast<HICON>(::SendDlgItemMessageA(dlg.m_hWnd, 1003, STM_GETICON, 0, 0)));
            Click(dlg.m_hWnd, IDOK);
            return true;
        });
    script.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("Windiffのファイル名が設定されていません。", refusal);
    EXPECT_TRUE(exclamation);
    EXPECT_EQ(file, dlg.m_strWinDiffPath);
}

TEST(SetupDialog, EscapeAndTheCloseBoxCancel)
{
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Esc" : "close box");
        CSetupDlg dlg;
        ModalScript script;
        script.Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); }).Then([&] {
            if (escape) {
                HWND focus = ::GetFocus();
                ::PostMessageA(focus ? focus : dlg.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            } else {
                ::PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return true;
        });
        script.Start();
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ("", dlg.m_strWinDiffPath);
    }
}

TEST(SetupDialog, NamesTheProgramFoundWhileTheFieldHoldsIt)
{
    TempFolder temp;
    const std::string other = temp.File("other.exe");
    CSetupDlg dlg; // as the main window sets it up when WinMerge was found
    dlg.m_strWinDiffPath = temp.File("WinMergeU.exe");
    dlg.m_strFoundProgram = "WinMerge";
    std::string note; // the note naming it: tests/e2e (setup_test)
    ModalScript script;
    script.Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); }).Then([&] {
        return DragAndDrop(DropTargetOf(dlg.m_hWnd, 128), ShellDataObject({other}).Get()) == DROPEFFECT_LINK;
    }).Then([&] {
        if (GetWindowTextString(::GetDlgItem(dlg.m_hWnd, 128)) != other) return false;
        note = GetWindowTextString(::GetWindow(::GetDlgItem(dlg.m_hWnd, 1000), GW_HWNDNEXT));
        Click(dlg.m_hWnd, IDOK);
        return true;
    });
    script.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(kSetupControls[8].text, note); // another file chosen: the note as without a program found
    EXPECT_EQ(other, dlg.m_strWinDiffPath);
}
