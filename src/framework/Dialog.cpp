#include "framework/Dialog.h"

#include "framework/CodePage.h"
#include "framework/Gdi.h"
#include "framework/Language.h"
#include "framework/Look.h"
#include "framework/WinApp.h"

#include <commctrl.h>

namespace {

// A control that the dark look paints itself; the other looks leave it to
// the system.
class CDarkPaintedControl : public CWnd {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (AfxGetLook() == Look::Dark) {
            if (msg == WM_ERASEBKGND) return TRUE;
            if (msg == WM_PAINT) {
                PaintDC dc(m_hWnd);
                PaintDark(dc, GetClientRect());
                return 0;
            }
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }

protected:
    virtual void PaintDark(HDC dc, const RECT& rc) = 0;
};

// A separator line (a black frame or rectangle), in the separator colour.
class CSeparatorStatic : public CDarkPaintedControl {
    void PaintDark(HDC dc, const RECT& rc) override
    {
        HBRUSH brush = AfxLookBrush(LookColor::Separator);
        if ((::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_BLACKFRAME)
            ::FrameRect(dc, &rc, brush);
        else
            ::FillRect(dc, &rc, brush);
    }
};

// A group box: its frame in the separator colour and its caption in the text
// colour (a themed group box keeps the theme's dark caption whatever its
// parent answers). Its inside is left alone: the controls within lie under it.
class CGroupBoxLook : public CDarkPaintedControl {
    void PaintDark(HDC dc, const RECT& rc) override
    {
        SelectGuard font(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
        TEXTMETRICW metrics = {};
        ::GetTextMetricsW(dc, &metrics);
        const int half = metrics.tmHeight / 2;
        RECT frame = {rc.left, rc.top + half, rc.right, rc.bottom};
        ::FrameRect(dc, &frame, AfxLookBrush(LookColor::Separator));
        const std::wstring text = GetWindowTextWide(m_hWnd);
        if (text.empty()) return;
        RECT caption = {rc.left + half, rc.top, rc.right - half, rc.top + metrics.tmHeight};
        ::DrawTextW(dc, text.c_str(), -1, &caption, DT_SINGLELINE | DT_CALCRECT);
        ::FillRect(dc, &caption, AfxLookBrush(LookColor::Face));
        ::SetTextColor(dc, AfxLookColor(LookColor::Text));
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextW(dc, text.c_str(), -1, &caption, DT_SINGLELINE);
    }
};

} // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd) return;
    control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlg);
}

void DDX_Check(CDataExchange* dx, int id, BOOL& value)
{
    HWND item = dx->m_pDlg->GetDlgItem(id);
    if (!item) return;
    if (dx->m_bSaveAndValidate)
        value = ::SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED ? TRUE : FALSE;
    else
        ::SendMessageA(item, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nTemplateId(templateId), m_pParentWnd(parent)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

HWND CDialog::GetOwnerWindow() const
{
    if (m_pParentWnd) return m_pParentWnd->m_hWnd;
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        auto* dlg = dynamic_cast<CDialog*>(CWnd::FromHandle(hwnd));
        if (!dlg) return TRUE;
        const BOOL result = dlg->OnInitDialog();
        dlg->ApplyLook();
        return result;
    }
    return FALSE;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE inst = AfxGetResourceHandle();
    HRSRC res = AfxFindTextResource(MAKEINTRESOURCEA(m_nTemplateId), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HGLOBAL loaded = res ? ::LoadResource(inst, res) : nullptr;
    auto* tmpl = loaded ? static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded)) : nullptr;
    if (!tmpl) return -1;

    HWND owner = GetOwnerWindow();
    // Disable the owner like the system's modal loop does (unless it is
    // disabled already, by an outer modal loop).
    bool disabledOwner = owner && ::IsWindowEnabled(owner);

    m_bEndModal = false;
    m_nModalResult = -1;
    AfxHookWindowCreate(this);
    HWND hwnd = ::CreateDialogIndirectParamA(inst, tmpl, owner, &CDialog::DialogProc, 0);
    AfxUnhookWindowCreate();
    if (!hwnd) {
        if (m_hWnd) UnsubclassWindow();
        return -1;
    }

    if (disabledOwner) ::EnableWindow(owner, FALSE);
    if (!m_bEndModal) {
        ::ShowWindow(hwnd, SW_SHOW);
        m_bInModal = true;
        while (!m_bEndModal && ::IsWindow(hwnd)) {
            if (!AfxPumpMessage()) break; // WM_QUIT: leave and let the outer loop end
        }
        m_bInModal = false;
    }
    if (disabledOwner) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == hwnd) ::SetActiveWindow(owner);
    if (::IsWindow(hwnd)) {
        ::ShowWindow(hwnd, SW_HIDE);
        ::DestroyWindow(hwnd);
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_bEndModal = true;
    // Wake the loop in case nothing else is queued.
    if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

void CDialog::ApplyLook()
{
    m_lookControls.clear(); // those of an earlier run, detached with their windows
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (CWnd::FromHandle(child)) continue;
        const LONG_PTR type = ::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK;
        std::unique_ptr<CWnd> control;
        if (AfxIsWindowClass(child, "Static") && (type == SS_BLACKFRAME || type == SS_BLACKRECT))
            control = std::make_unique<CSeparatorStatic>();
        else if (AfxIsGroupBox(child))
            control = std::make_unique<CGroupBoxLook>();
        if (!control || !control->SubclassWindow(child)) continue;
        m_lookControls.push_back(std::move(control));
    }
    AfxApplyLookToWindow(m_hWnd);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx{this, saveAndValidate};
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(UINT id, UINT code, HWND)
{
    if (code != BN_CLICKED) return FALSE;
    if (id == IDOK) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Keyboard navigation of the dialog (Tab, Enter, Esc, mnemonics).
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
        break;
    default: {
        // A hot-key control paints its keys in the system's field colours
        // whatever its dialog answers: it stays a light field, whole, rather
        // than a dark one with a light patch behind the keys.
        if (msg == WM_CTLCOLOREDIT && AfxIsWindowClass(reinterpret_cast<HWND>(lParam), HOTKEY_CLASSA)) break;
        LRESULT colors = 0;
        if (AfxLookOnCtlColor(msg, wParam, &colors)) return colors;
        break;
    }
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}
