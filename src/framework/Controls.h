// Thin control classes: each is a CWnd that knows its window class, so a
// derived control can be created or attached and gets its messages.
#pragma once

#include "framework/Wnd.h"

#include <commctrl.h>

class CStatic : public CWnd {
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
    { return CreateEx(0, "STATIC", text, style, rect, parent ? parent->m_hWnd : nullptr, id); }
    HICON SetIcon(HICON icon) const
    { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon))); }
};

// A combo box is made a Unicode window (with a Unicode edit and list): its
// texts are read from those in UTF-16, so that no code page stands between
// what the user typed and what the program reads.
class CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    { return CreateUnicodeEx(0, L"COMBOBOX", style, rect, parent ? parent->m_hWnd : nullptr, id); }
    int AddString(const char* text) const
    { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    // A list item's text, in the ANSI code page.
    std::string GetLBText(int index) const;
    // The edit text, in the ANSI code page; FALSE (text unchanged) when the
    // code page cannot hold it exactly as it stands: a character it lacks,
    // or half of a surrogate pair typed so far.
    BOOL GetEditText(std::string& text) const;
    // The combo box's edit and list parts.
    HWND GetEditWnd() const;
    HWND GetListWnd() const;
};

class CToolBarCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    { return CreateEx(0, TOOLBARCLASSNAMEA, nullptr, style, rect, parent ? parent->m_hWnd : nullptr, id); }
};

class CToolTipCtrl : public CWnd {
public:
    // A popup tooltip window owned by `owner`.
    BOOL Create(CWnd* owner, DWORD style = 0);
};
