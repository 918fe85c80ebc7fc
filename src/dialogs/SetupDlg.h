// CSetupDlg: the Initial-setup dialog (template 134), shown on top of all
// windows when the program knows no usable windiff.exe. The creator runs
// DoModal; on IDOK it takes m_strWinDiffPath, on IDCANCEL the program ends.
#pragma once

#include "dialogs/WinDiffFileDialog.h"

class CSetupDlg : public CWinDiffFileDialog {
public:
    explicit CSetupDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
};
