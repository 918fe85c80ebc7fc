// The Settings dialog's comparison program: its arguments, and the menu of
// the programs found on this computer.
#include "dialogs/SettingsDlg.h"

#include "framework/Accessible.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "settings/ProgramArguments.h"
#include "settings/TextCompare.h"

namespace {

// A menu item's text shows "&" as itself only when doubled.
std::string MenuText(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        out += ch;
        if (ch == '&') out += '&';
    }
    return out;
}

} // namespace

void CSettingsDlg::InitProgramChoice()
{
    HWND arguments = GetDlgItem(IDC_ARGUMENTS);
    ::SetWindowTextA(arguments, ArgumentsInForce(m_strWinDiffPath, m_strArguments).c_str());
    // Windows names the field by the label before it; Wine's standard
    // objects read no labels.
    AfxSetAccessibleName(arguments, ToWide(GetWindowTextString(::GetWindow(arguments, GW_HWNDPREV))));
    ::EnableWindow(GetDlgItem(IDC_FOUND_PROGRAMS), !m_foundPrograms.empty());
}

void CSettingsDlg::OnWinDiffFileChosen()
{
    // Another program takes its own arguments.
    const std::string program = GetWindowTextString(GetDlgItem(IDC_PATH_STATIC));
    ::SetDlgItemTextA(m_hWnd, IDC_ARGUMENTS, PresetArguments(program));
}

void CSettingsDlg::OnFoundPrograms()
{
    HWND button = GetDlgItem(IDC_FOUND_PROGRAMS);
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu.Get() || m_foundPrograms.empty()) return;
    const std::string current = GetWindowTextString(GetDlgItem(IDC_PATH_STATIC));
    UINT id = 1;
    for (const FoundDiffProgram& found : m_foundPrograms) {
        const std::string text = MenuText(found.name) + "\t" + MenuText(found.path);
        const UINT checked = IsSameTextNoCase(found.path, current) ? MF_CHECKED : MF_UNCHECKED;
        ::AppendMenuA(menu.Get(), MF_STRING | checked, id++, text.c_str());
    }
    RECT rc{};
    ::GetWindowRect(button, &rc);
    const UINT chosen = static_cast<UINT>(::TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD,
                                                           rc.left, rc.bottom, 0, m_hWnd, nullptr));
    if (chosen == 0 || chosen > m_foundPrograms.size()) return;
    SetWinDiffFile(m_foundPrograms[chosen - 1].path);
    OnWinDiffFileChosen();
}

void CSettingsDlg::OnOK()
{
    if (IsOKPending()) return; // the first OK still waits for its answer
    // Both paths must reach the program: a line without them is refused
    // before anything is taken (the hot key included).
    HWND field = GetDlgItem(IDC_ARGUMENTS);
    const std::string line = GetWindowTextString(field);
    if (!HasBothPlaceholders(line)) {
        AfxMessageBox(m_hWnd, IDS_ARGUMENTS_PLACEHOLDERS);
        ::SetFocus(field);
        ::SendMessageA(field, EM_SETSEL, 0, -1);
        return;
    }
    m_strArguments = line;
    CWinDiffFileDialog::OnOK();
}
