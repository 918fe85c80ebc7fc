#include "pathinput/ComboBox2.h"

#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "framework/Look.h"
#include "framework/WinApp.h"
#include "pathinput/ShellHelpers.h"
#include "res/resource.h"

#include <algorithm>

// Registered once while the program starts, before any window exists.
UINT g_nComboBox2Msg = ::RegisterWindowMessageA("CComboBox2-Message01");

CComboBox2::CComboBox2() = default;

CComboBox2::~CComboBox2()
{
    // An object that goes before its window must not stay registered: OLE
    // would call into freed memory on the next drag.
    if (m_hWnd) RegisterDropTarget(FALSE);
    for (char* block : m_pendingDrops) FreePostedText(block);
}

void CComboBox2::ScaleFont()
{
    // 12 pixels of the texts' face ("ＭＳ Ｐゴシック" in Japanese), named in
    // UTF-16 so that no code page stands between the name and the font;
    // without it the combo keeps the system font.
    LOGFONTW lf = {};
    lf.lfHeight = AfxScale(-12, GetDpi());
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = AfxGetTextCharSet();
    lf.lfPitchAndFamily = FF_MODERN | VARIABLE_PITCH;
    ::lstrcpynW(lf.lfFaceName, AfxLoadStringW(IDS_PATH_FONT_FACE).c_str(), LF_FACESIZE);
    Font font(::CreateFontIndirectW(&lf));
    if (!font) return;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    // The box uses the new font now: the old one may go.
    m_font = std::move(font);
}

// Messages -------------------------------------------------------------------

LRESULT CComboBox2::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_nComboBox2Msg && msg == g_nComboBox2Msg) return OnDropText(wParam, lParam);

    switch (msg) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam));
    case WM_DESTROY:
        OnDestroy();
        break;
    default: {
        // Its edit part and its list, in the look's colours.
        LRESULT colors = 0;
        if (AfxLookOnCtlColor(msg, wParam, &colors)) return colors;
        break;
    }
    }
    return CComboBox::WindowProc(msg, wParam, lParam);
}

BOOL CComboBox2::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    // The combo completes on CBN_EDITUPDATE itself; every other notification
    // (CBN_EDITCHANGE, CBN_SELCHANGE, ...) goes on to the parent as usual.
    if (msg == WM_COMMAND && HIWORD(wParam) == CBN_EDITUPDATE) {
        OnEditUpdate();
        *result = 0;
        return TRUE;
    }
    // The colours the box asks its parent for, for the part around its edit.
    if (AfxLookOnCtlColor(msg, wParam, result)) return TRUE;
    return CComboBox::OnChildNotify(msg, wParam, lParam, result);
}

int CComboBox2::OnCreate(LPCREATESTRUCTA cs)
{
    if (DefWindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(cs)) == -1) return -1;

    ScaleFont();

    // Before OLE runs (the program starts it once its bar shows) the owner
    // registers the box later.
    if (AfxOleRunning()) RegisterDropTarget(TRUE);
    return 0;
}

void CComboBox2::OnDestroy()
{
    RegisterDropTarget(FALSE);
    // Drops posted but not yet applied die with the window.
    for (char* block : m_pendingDrops) FreePostedText(block);
    m_pendingDrops.clear();
}

BOOL CComboBox2::PreTranslateMessage(MSG* msg)
{
    // Sees the key messages of the edit part too. Deleting never completes;
    // any other key arms completion again.
    if (msg->message == WM_KEYDOWN)
        m_bAutoComplete = (msg->wParam != VK_BACK && msg->wParam != VK_DELETE);
    return CComboBox::PreTranslateMessage(msg);
}

// Completion -----------------------------------------------------------------

void CComboBox2::SetEditSel(DWORD start, DWORD end) const
{
    // EM_SETSEL on the edit part takes full positions (CB_SETEDITSEL only
    // 16-bit ones); an end of -1 means the end of the text.
    if (HWND edit = GetEditWnd()) ::SendMessageA(edit, EM_SETSEL, start, static_cast<LPARAM>(static_cast<int>(end)));
}

void CComboBox2::OnEditUpdate()
{
    if (!m_bAutoComplete || m_bInEditUpdate) return;
    HWND edit = GetEditWnd();
    if (!edit) return;

    // Nothing typed (everything deleted or cut): nothing to complete. A text
    // the code page cannot hold as it stands (half of a surrogate pair typed
    // so far, a character of another script in a classic code page) is left
    // alone: set back through the ANSI functions, it would change.
    std::string text;
    if (!GetEditText(text) || text.empty()) return;
    m_bInEditUpdate = true;

    // Length and selection in the edit's own position units.
    const DWORD length = static_cast<DWORD>(::SendMessageA(edit, EM_LINELENGTH, 0, 0));
    DWORD start = 0, end = 0;
    const bool haveSel = SendMessage(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                                     reinterpret_cast<LPARAM>(&end)) != CB_ERR;

    // The first item from the top that begins with the text, ignoring case,
    // replaces the edit text.
    if (SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())) == CB_ERR) {
        SetWindowText(text);
        if (haveSel) SetEditSel(start, end);
    }

    if (haveSel && end < length)
        SetEditSel(start, end);               // the caret was inside the text: keep it there
    else
        SetEditSel(length, static_cast<DWORD>(-1)); // select the completed tail (none without a match)

    m_bInEditUpdate = false;
}

// Drag and drop -------------------------------------------------------------

BOOL CComboBox2::RegisterDropTarget(BOOL bRegister)
{
    if (!m_hWnd) return FALSE;
    if (bRegister) {
        // Marked registered only when OLE took it, so a later call can retry.
        if (!m_bDropTargetRegistered && SUCCEEDED(::RegisterDragDrop(m_hWnd, GetDropTarget())))
            m_bDropTargetRegistered = TRUE;
    } else if (m_bDropTargetRegistered) {
        ::RevokeDragDrop(m_hWnd);
        m_bDropTargetRegistered = FALSE;
    }
    return TRUE;
}

BOOL CComboBox2::GetDropText(IDataObject* data, std::string& text)
{
    // Whatever the text names is accepted; a virtual item gives "".
    if (GetDroppedItemPath(data, text)) return TRUE;
    return GetDroppedPlainText(data, text);
}

namespace {

// The text is taken as a copy; a source that offers only a link gives it as one.
DWORD DropAnswer(DWORD offered)
{
    return ChooseDropEffect(offered, DROPEFFECT_COPY, DROPEFFECT_LINK);
}

} // namespace

HRESULT CComboBox2::OnDragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    std::string text;
    m_bCanDrop = GetDropText(data, text);
    if (effect) *effect = m_bCanDrop ? DropAnswer(*effect) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT CComboBox2::OnDragOver(DWORD, POINTL, DWORD* effect)
{
    if (effect) *effect = m_bCanDrop ? DropAnswer(*effect) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT CComboBox2::OnDragLeave()
{
    return S_OK;
}

HRESULT CComboBox2::OnDrop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    // The window is changed only after the OLE drag loop has returned.
    const DWORD answer = effect ? DropAnswer(*effect) : DROPEFFECT_COPY;
    DWORD result = DROPEFFECT_NONE;
    std::string text;
    if (IsDroppedPathOutsideCodePage(data)) {
        if (PostMessage(g_nComboBox2Msg, 0, 0)) ++m_nPendingRefusals;
    } else if (answer != DROPEFFECT_NONE && GetDropText(data, text)) {
        char* block = AllocPostedText(text.data(), text.size());
        if (block && PostMessage(g_nComboBox2Msg, reinterpret_cast<WPARAM>(block), 0)) {
            m_pendingDrops.push_back(block);
            result = answer;
        } else {
            FreePostedText(block);
        }
    }
    if (effect) *effect = result;
    return S_OK;
}

LRESULT CComboBox2::OnDropText(WPARAM wParam, LPARAM)
{
    // Only blocks this combo posted are taken (and freed): the message id is
    // known to every program on the desktop.
    char* block = reinterpret_cast<char*>(wParam);
    if (!block && m_nPendingRefusals > 0) {
        --m_nPendingRefusals;
        AfxMessageBox(GetParent(), IDS_PATH_NOT_IN_CODE_PAGE);
        return 0;
    }
    auto it = std::find(m_pendingDrops.begin(), m_pendingDrops.end(), block);
    if (!block || it == m_pendingDrops.end()) return 0;
    m_pendingDrops.erase(it);

    // The whole text, even beyond the typing limit of CB_LIMITTEXT.
    ::SetWindowTextA(m_hWnd, block);
    FreePostedText(block);

    // Tell the parent as if the user had edited the text.
    const LONG_PTR id = ::GetWindowLongPtrA(m_hWnd, GWLP_ID);
    if (HWND parent = GetParent())
        ::PostMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id & 0xFFFF), CBN_EDITCHANGE),
                       reinterpret_cast<LPARAM>(m_hWnd));
    return 0;
}
