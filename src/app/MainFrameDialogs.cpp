// The main window's dialogs: About, Settings, and the one check after
// start-up that a usable WinDiff file name exists.
#include "app/MainFrame.h"

#include "dialogs/AboutDlg.h"
#include "dialogs/SettingsDlg.h"
#include "dialogs/SetupDlg.h"
#include "pathinput/PathTests.h"
#include "settings/DiffPrograms.h"
#include "settings/ProgramArguments.h"
#include "settings/Registry.h"
#include "settings/Settings.h"
#include "settings/TextCompare.h"

void CMainFrame::OnAppAbout()
{
    CAboutDlg dlg(nullptr);
    dlg.DoModal();
}

void CMainFrame::OnSettings()
{
    CSettingsDlg dlg(nullptr);
    dlg.m_bAutoMinimize = m_bAutoMinimize;
    dlg.m_strWinDiffPath = m_strWinDiffPath;
    dlg.m_pFileWorker = &m_worker.ProgramFiles();
    dlg.m_nClearHistoryMsg = WM_PAIRMATE_CLEARHISTORY;
    dlg.m_wHotKey = m_wHotKey;
    dlg.m_registerHotKey = [this](WORD key) -> UINT {
        if (CHotKey::TypesCharacter(key, ::GetKeyboardLayout(0))) return IDS_HOTKEY_TYPES_CHARACTER;
        return m_hotKey.Change(m_hWnd, key) ? 0 : IDS_HOTKEY_REFUSED;
    };
    dlg.m_strArguments = m_strArguments;
    dlg.m_foundPrograms = FindDiffPrograms();
    if (dlg.DoModal() != IDOK) {
        UpdateHotKey(); // the keyboard layout may have changed meanwhile
        return;         // a history clear inside the dialog stays
    }

    m_bAutoMinimize = dlg.m_bAutoMinimize ? 1 : 0;
    m_strWinDiffPath = dlg.m_strWinDiffPath;
    WriteRegDword(HKEY_CURRENT_USER, kRegPairmateKey, kRegAutoMinimized, static_cast<DWORD>(m_bAutoMinimize));
    WriteRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, m_strWinDiffPath.c_str());
    m_wHotKey = dlg.m_wHotKey;
    WriteRegDword(HKEY_CURRENT_USER, kRegPairmateKey, kRegHotKey, m_wHotKey);
    m_strArguments = SaveArgumentsSetting(m_strWinDiffPath, dlg.m_strArguments);
    // A stored key that another program held until now is taken once it
    // is free (quietly: it was not changed).
    UpdateHotKey();
}

LRESULT CMainFrame::OnCheckSetup()
{
    // Paths of the command line wait for this check (ApplyQueuedPaths).
    m_bSetupChecked = true;
    if (!m_strWinDiffPath.empty() && IsExistingFile(m_strWinDiffPath)) return 0;

    // A comparison program the user already has is offered in the field,
    // and OK stores it as it stores a file the user chose.
    CSetupDlg dlg(nullptr);
    dlg.m_pFileWorker = &m_worker.ProgramFiles();
    FoundDiffProgram found;
    if (FindDiffProgram(found)) {
        dlg.m_strWinDiffPath = found.path;
        dlg.m_strFoundProgram = found.name;
    }
    if (dlg.DoModal() == IDOK) {
        // Arguments stored for a program that is gone do not carry over to
        // another one: it takes its own preset.
        if (!IsSameTextNoCase(m_strWinDiffPath, dlg.m_strWinDiffPath))
            m_strArguments = SaveArgumentsSetting(dlg.m_strWinDiffPath, PresetArguments(dlg.m_strWinDiffPath));
        m_strWinDiffPath = dlg.m_strWinDiffPath;
        WriteRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, m_strWinDiffPath.c_str());
    } else {
        // Without WinDiff the program has nothing to do: end it.
        DestroyWindow();
    }
    return 0;
}
