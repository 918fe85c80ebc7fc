// CSettingsDlg: the Settings dialog (template 132): the WinDiff file name,
// minimising after running WinDiff, the hot key, and clearing both path
// histories.
//
// The creator sets m_bAutoMinimize, m_strWinDiffPath, m_strArguments,
// m_foundPrograms, m_wHotKey, m_registerHotKey and m_nClearHistoryMsg, runs
// DoModal, and on IDOK reads m_bAutoMinimize, m_strWinDiffPath,
// m_strArguments and m_wHotKey back.
// Clear history sends m_nClearHistoryMsg to the owner window at once (Cancel
// does not undo it).
#pragma once

#include "dialogs/WinDiffFileDialog.h"
#include "settings/DiffPrograms.h"

#include <functional>
#include <vector>

class CSettingsDlg : public CWinDiffFileDialog {
public:
    explicit CSettingsDlg(CWnd* parent = nullptr);

    BOOL m_bAutoMinimize = FALSE;
    // Sent (wParam 0, lParam 0) to the owner window by Clear history; 0
    // sends nothing.
    UINT m_nClearHistoryMsg = 0;
    // The hot key in the hot-key control's form (0: none).
    WORD m_wHotKey = 0;
    // Called by OK, after the file name was accepted, with the key as typed
    // when it differs from m_wHotKey as the dialog opened: makes it the
    // program's hot key and returns 0, or returns the id of the message
    // that says why it cannot be, and the dialog then stays open with that
    // message. Unset, any key is taken.
    std::function<UINT(WORD)> m_registerHotKey;
    // The comparison program's arguments (%1 and %2 for the two paths): the
    // stored line when the dialog opens (the field shows the line in force,
    // the program's preset where none is stored), the field's text after
    // OK. OK refuses a line without both placeholders.
    std::string m_strArguments;
    // The comparison programs found on this computer: the button beside
    // Browse offers them (it is greyed when there are none).
    std::vector<FoundDiffProgram> m_foundPrograms;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    BOOL OnAcceptOK() override;
    void OnClearHistory();
    void OnOK() override;
    void OnWinDiffFileChosen() override;

private:
    // The program's part of the dialog (SettingsDlgProgram.cpp).
    void InitProgramChoice();
    void OnFoundPrograms();
    WORD m_wOpenedHotKey = 0; // m_wHotKey as the dialog opened
};

