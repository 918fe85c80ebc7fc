#include "dialogs/PropDialog.h"

#include "framework/WinApp.h"

CPropDialog::CPropDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

BOOL CPropDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_tooltip.Create(this)) {
        m_tooltip.SendMessage(TTM_SETMAXTIPWIDTH, 0, 0x7FFF);
        m_tooltip.SendMessage(TTM_ACTIVATE, TRUE);
    }
    return TRUE;
}

BOOL CPropDialog::PreTranslateMessage(MSG* msg)
{
    if (m_tooltip.IsWindow()) m_tooltip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    return CDialog::PreTranslateMessage(msg);
}

BOOL CPropDialog::AddTool(HWND control, const char* text)
{
    if (!m_tooltip.IsWindow() || !control) return FALSE;
    TTTOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = m_hWnd;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(text);
    return m_tooltip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) ? TRUE : FALSE;
}

BOOL CPropDialog::AddTools(const ToolTipRow* rows, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        AddTool(GetDlgItem(static_cast<int>(rows[i].id)), AfxLoadString(rows[i].textId).c_str());
    return TRUE;
}
