#include "framework/Controls.h"

#include <vector>

std::string CComboBox::GetLBText(int index) const
{
    LRESULT len = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (len == CB_ERR || len <= 0) return std::string();
    std::vector<char> buf(static_cast<size_t>(len) + 2, '\0');
    LRESULT got = SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    if (got == CB_ERR) return std::string();
    return std::string(buf.data());
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
