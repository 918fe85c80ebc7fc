// CWinDiffFileDialog: what the Settings and the Initial-setup dialog share,
// the WinDiff file name field (control 128) with the file's icon beside it
// (control 1003). The name is chosen by browsing or by dropping a file onto
// the field; OK accepts only the name of an existing file.
#pragma once

#include "dialogs/PropDialog.h"
#include "framework/Handles.h"
#include "pathinput/FileDropSink.h"
#include "pathinput/PathStatic.h"
#include "res/resource.h"

#include <string>

class CWinDiffFileDialog : public CPropDialog, public IFileDropSink {
public:
    // Full file name of windiff.exe: shown when the dialog opens (if the file
    // exists), and the field's text after OK.
    std::string m_strWinDiffPath;

    void OnFileDropped(int controlId) override;

    // Puts a chosen file into the field and shows its icon.
    void SetWinDiffFile(const std::string& path);

protected:
    CWinDiffFileDialog(UINT templateId, CWnd* parent);

    void DoDataExchange(CDataExchange* dx) override;
    // Makes the field a drop target for files and shows the stored file.
    void InitWinDiffFile();
    void OnBrowse();
    // Called after the user put a file into the field (by Browse or a drop).
    virtual void OnWinDiffFileChosen() {}
    void OnOK() override;
    // The last check of OK, once the file name is accepted: FALSE keeps the
    // dialog open (the check has told the user why).
    virtual BOOL OnAcceptOK() { return TRUE; }
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    CPathStatic m_pathStatic;
    CStatic m_iconStatic;

private:
    void ShowFileIcon(const std::string& path);
    UniqueIcon m_fileIcon; // the icon control 1003 shows
};

