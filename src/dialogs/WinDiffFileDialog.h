// CWinDiffFileDialog: what the Settings and the Initial-setup dialog share,
// the WinDiff file name field (control 128) with the file's icon beside it
// (control 1003). The name is chosen by browsing or by dropping a file onto
// the field; OK accepts only the name of an existing file.
//
// Whether the file exists and its icon are looked up on a worker (the file
// may lie on a slow share): an answer within a moment is applied at once, as
// if looked up here; a later one when it comes, if the field still holds the
// text it was asked for. Meanwhile the icon box shows no icon, and an OK
// waits for its answer with the busy pointer (a second OK does nothing).
#pragma once

#include "dialogs/PropDialog.h"
#include "dialogs/ProgramFileWorker.h"
#include "framework/Handles.h"
#include "pathinput/FileDropSink.h"
#include "pathinput/PathStatic.h"
#include "res/resource.h"

#include <memory>
#include <string>

class CWinDiffFileDialog : public CPropDialog, public IFileDropSink {
public:
    // Full file name of windiff.exe: shown when the dialog opens (if the file
    // exists), and the field's text after OK.
    std::string m_strWinDiffPath;
    // The worker for the field's lookups, lent by the creator (it must
    // outlive the dialog); null: the dialog makes its own.
    ProgramFileWorker* m_pFileWorker = nullptr;

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
    // Called once it is known whether the stored file (m_strWinDiffPath as
    // the dialog opened) exists; a missing one has left the field empty.
    virtual void OnStoredFileChecked(bool /*exists*/) {}
    // An OK waits for its answer: another OK does nothing.
    bool IsOKPending() const { return m_okPending; }
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    CPathStatic m_pathStatic;
    CStatic m_iconStatic;

private:
    // Looks up the field's `path`: for the dialog's opening (`forOpen`), for
    // OK (`forOK`) or for the icon of a file put into the field.
    void LookUp(const std::string& path, bool forOpen, bool forOK);
    void OnLookUpAnswers();
    void ApplyAnswer(ProgramFileAnswer& answer);
    void FinishOK(bool exists);
    void SetOKPending(bool pending);
    void ShowFileIcon(HICON icon);
    void HideFileIcon();

    UniqueIcon m_fileIcon; // the icon control 1003 shows
    std::unique_ptr<ProgramFileWorker> m_ownWorker;
    ProgramFileWorker* m_worker = nullptr; // lent or own, once the dialog opened
    unsigned m_lookUpSerial = 0;           // the newest request; 0: none waits
    std::string m_lookUpPath;              // the text it was made for
    bool m_openPending = false;            // it checks the stored file
    bool m_okPending = false;              // OK waits for it
    bool m_iconPending = false;            // the field's icon waits for it
};

