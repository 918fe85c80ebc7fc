// CSettingsDlg: the Settings dialog (template 132): the WinDiff file name,
// minimising after running WinDiff, and clearing both path histories.
//
// The creator sets m_bAutoMinimize, m_strWinDiffPath and m_nClearHistoryMsg,
// runs DoModal, and on IDOK reads m_bAutoMinimize and m_strWinDiffPath back.
// Clear history sends m_nClearHistoryMsg to the owner window at once (Cancel
// does not undo it).
#pragma once

#include "dialogs/WinDiffFileDialog.h"

class CSettingsDlg : public CWinDiffFileDialog {
public:
    explicit CSettingsDlg(CWnd* parent = nullptr);

    BOOL m_bAutoMinimize = FALSE;
    // Sent (wParam 0, lParam 0) to the owner window by Clear history; 0
    // sends nothing.
    UINT m_nClearHistoryMsg = 0;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    void OnClearHistory();
};

