#include "framework/Controls.h"

#include "framework/CodePage.h"

#include <vector>

std::string CComboBox::GetLBText(int index) const
{
    // From the list part in UTF-16: an ANSI caller's length is only an
    // estimate, which a UTF-8 text may outgrow.
    HWND list = GetListWnd();
    const LRESULT length = list ? ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0) : LB_ERR;
    if (length == LB_ERR || length <= 0) return std::string();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    if (got == LB_ERR || got < 0 || got > length) return std::string();
    text.resize(static_cast<size_t>(got));
    return ToAnsi(text);
}

BOOL CComboBox::GetEditText(std::string& text) const
{
    HWND edit = GetEditWnd();
    return edit && ToAnsiExact(GetWindowTextWide(edit), text) ? TRUE : FALSE;
}

HWND CComboBox::GetEditWnd() const
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetComboBoxInfo(m_hWnd, &info) ? info.hwndItem : nullptr;
}

HWND CComboBox::GetListWnd() const
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetComboBoxInfo(m_hWnd, &info) ? info.hwndList : nullptr;
}

BOOL CToolTipCtrl::Create(CWnd* owner, DWORD style)
{
    RECT rc = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    HWND hwnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, rc.left, rc.top, rc.right,
                                  rc.bottom, owner ? owner->m_hWnd : nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) return FALSE;
    return SubclassWindow(hwnd) ? TRUE : (::DestroyWindow(hwnd), FALSE);
}
