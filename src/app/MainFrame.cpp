#include "app/MainFrame.h"

#include "framework/FileChooser.h"
#include "framework/Gdi.h"
#include "framework/Language.h"
#include "framework/WinApp.h"
#include "pathinput/PathTests.h"
#include "pathinput/ShellHelpers.h"
#include "res/resource.h"
#include "settings/Settings.h"

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <vector>

namespace {

// Style of the three toolbars: child, visible, transparent, flat, with
// tooltips, no divider, sized and placed by OnSize.
constexpr DWORD kToolbarStyle = WS_CHILD | WS_VISIBLE | TBSTYLE_TRANSPARENT | TBSTYLE_FLAT |
                                TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOMOVEY;
// Style of the two history combo boxes.
constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_AUTOHSCROLL | CBS_DROPDOWN;
constexpr int kComboTextLimit = 257;
constexpr COLORREF kToolbarMask = RGB(192, 192, 192);

// {image, command} of each button, left to right.
constexpr int kMainButtons[][2] = {
    {2, ID_APP_EXIT_CMD}, {3, ID_BAR_MINIMIZE}, {4, ID_APP_ABOUT_CMD}, {6, ID_APP_SETTINGS}, {5, ID_COMPARE},
};
constexpr int kPath1Buttons[][2] = {{0, ID_PATH1_FILE}, {1, ID_PATH1_FOLDER}};
constexpr int kPath2Buttons[][2] = {{0, ID_PATH2_FILE}, {1, ID_PATH2_FOLDER}};

// The shell's small-icon system image list, asked for through the drive root
// of the Windows folder.
HIMAGELIST GetSmallSystemImageList()
{
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    windows[3] = '\0'; // keep "C:\"
    SHFILEINFOA info = {};
    return reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA(windows, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

RECT MakeRect(int x, int y, int cx, int cy)
{
    return RECT{x, y, x + cx, y + cy};
}

void MoveChild(HWND hwnd, const RECT& rc)
{
    ::MoveWindow(hwnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

} // namespace

CMainFrame::CMainFrame()
    : m_history1(HKEY_CURRENT_USER, kRegHistory1Key),
      m_history2(HKEY_CURRENT_USER, kRegHistory2Key)
{
    LoadPairmateSettings(m_strWinDiffPath, m_bAutoMinimize);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CompleteStartup()
{
    // The toolbars are off screen while the bar is minimised, and nothing
    // paints them before the message loop runs; their tips show only under
    // the pointer. The context menus' images are needed when a menu opens.
    FinishToolbar(m_wndToolBarMain, m_imlToolBarMain, 7);
    FinishToolbar(m_wndToolBar1, m_imlToolBar1, 8);
    FinishToolbar(m_wndToolBar2, m_imlToolBar2, 8);
    m_menuDrawer.LoadToolbar(IDR_MENU_TOOLBAR);

    RegisterAppBar();
    // The boxes were created before OLE ran; they register now, before the
    // user can reach them (the bar starts minimised, the boxes off screen).
    m_wndCombo1.RegisterDropTarget(TRUE);
    m_wndCombo2.RegisterDropTarget(TRUE);
    // The shell builds this list on first request, which takes a while: done
    // here, the first icon shows at once.
    SysImageList();
}

HIMAGELIST CMainFrame::SysImageList()
{
    if (!m_hSysImageList) m_hSysImageList = GetSmallSystemImageList();
    return m_hSysImageList;
}

CMainFrame::PathSlot CMainFrame::Slot(int k)
{
    if (k == 1) return {m_wndCombo1, m_rcIcon1, m_nIcon1, m_history1};
    return {m_wndCombo2, m_rcIcon2, m_nIcon2, m_history2};
}

void CMainFrame::FinishToolbar(CToolBarCtrl& toolbar, CImageList& images, int grow)
{
    images.LoadBitmap(AfxGetResourceHandle(), IDB_TOOLBAR, 16, grow, kToolbarMask);
    toolbar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.GetSafeHandle()));
    // Making and restyling the tooltip windows (top-level windows) takes a
    // while; nothing needs them before the pointer rests on a button.
    if (HWND tips = reinterpret_cast<HWND>(toolbar.SendMessage(TB_GETTOOLTIPS))) {
        ::SetWindowLongPtrA(tips, GWL_STYLE, ::GetWindowLongPtrA(tips, GWL_STYLE) | TTS_ALWAYSTIP);
        RECT margin = {2, 2, 2, 2};
        ::SendMessageA(tips, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    }
}

void CMainFrame::CreateToolbar(CToolBarCtrl& toolbar, UINT id, const RECT& rc, const int (*buttons)[2], int count)
{
    toolbar.Create(kToolbarStyle, rc, this, id);
    toolbar.SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        button.iBitmap = buttons[i][0];
        button.idCommand = buttons[i][1];
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = TBSTYLE_BUTTON;
        button.iString = -1;
        toolbar.SendMessage(TB_INSERTBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
    }
}

int CMainFrame::OnCreate(CREATESTRUCTA* cs)
{
    if (CFrameBarWnd::OnCreate(cs) == -1) return -1;

    // The context menus are drawn with the images of toolbar 128 (loaded
    // in CompleteStartup).
    m_menuDrawer.Install(this);

    LoadBitmaps(IDB_HANDLE, IDB_HANDLE_ACTIVE, IDB_TILE);

    // The children start where the strip's size puts them (as wide as the
    // work area, as high as the handle), so placing the bar moves none of
    // them. The toolbars' images and tips follow in CompleteStartup.
    RECT work = GetWorkArea();
    m_layout = ComputeLayout(work.right - work.left, m_sizeHandle.cx, m_sizeHandle.cy);
    CreateToolbar(m_wndToolBarMain, IDC_TOOLBAR_MAIN, m_layout.toolbarMain, kMainButtons, 5);
    CreateToolbar(m_wndToolBar1, IDC_TOOLBAR_PATH1, m_layout.toolbar1, kPath1Buttons, 2);
    CreateToolbar(m_wndToolBar2, IDC_TOOLBAR_PATH2, m_layout.toolbar2, kPath2Buttons, 2);

    m_wndCombo1.Create(kComboStyle, m_layout.combo1, this, IDC_PATH1);
    m_wndCombo1.SendMessage(CB_LIMITTEXT, kComboTextLimit);
    m_wndCombo2.Create(kComboStyle, m_layout.combo2, this, IDC_PATH2);
    m_wndCombo2.SendMessage(CB_LIMITTEXT, kComboTextLimit);

    RefillCombo(m_wndCombo1, m_history1);
    RefillCombo(m_wndCombo2, m_history2);

    UpdateIconFromEdit(1);
    UpdateIconFromEdit(2);

    // Checked once the bar is on screen and the message loop runs.
    PostMessage(WM_PAIRMATE_CHECKSETUP);
    return 0;
}

CMainFrame::Layout CMainFrame::ComputeLayout(int workAreaWidth, int handleWidth, int cy)
{
    const int L = handleWidth;
    const int w = (workAreaWidth - 320) / 2;
    const int t = (cy - 17) / 2;
    Layout layout;
    layout.toolbarMain = MakeRect(L + 5, 4, 125, 22);
    layout.icon1 = RECT{L + 132, t + 1, L + 149, t + 18};
    layout.combo1 = MakeRect(L + 158, 4, w, 100);
    layout.toolbar1 = MakeRect(L + w + 160, 4, 50, 22);
    layout.icon2 = RECT{L + w + 222, t + 1, L + w + 239, t + 18};
    layout.combo2 = MakeRect(L + w + 248, 4, w, 100);
    layout.toolbar2 = MakeRect(L + 2 * w + 250, 4, 50, 22);
    return layout;
}

bool CMainFrame::SamePlaces(const Layout& a, const Layout& b)
{
    // The icon boxes are only remembered; the children are what moves.
    const RECT Layout::*children[] = {&Layout::toolbarMain, &Layout::combo1, &Layout::toolbar1, &Layout::combo2,
                                      &Layout::toolbar2};
    for (const RECT Layout::*child : children)
        if (!::EqualRect(&(a.*child), &(b.*child))) return false;
    return true;
}

void CMainFrame::OnSize(UINT type, int cx, int cy)
{
    CFrameBarWnd::OnSize(type, cx, cy);

    RECT work = GetWorkArea();
    Layout layout = ComputeLayout(work.right - work.left, m_sizeHandle.cx, cy);
    m_rcIcon1 = layout.icon1;
    m_rcIcon2 = layout.icon2;
    // Before the children exist there is nothing to place yet.
    if (!m_wndToolBar2.m_hWnd || SamePlaces(layout, m_layout)) return;
    m_layout = layout;
    MoveChild(m_wndToolBarMain, layout.toolbarMain);
    MoveChild(m_wndCombo1, layout.combo1);
    MoveChild(m_wndToolBar1, layout.toolbar1);
    MoveChild(m_wndCombo2, layout.combo2);
    MoveChild(m_wndToolBar2, layout.toolbar2);
}

BOOL CMainFrame::RefillCombo(CComboBox2& combo, const PathHistory& history)
{
    std::string text = combo.GetWindowText();
    std::vector<std::string> entries;
    history.Load(entries);
    combo.ResetContent();
    for (const std::string& entry : entries) combo.AddString(entry.c_str());
    combo.SetWindowText(text);
    return TRUE;
}

std::string CMainFrame::NormalizeDriveRoot(const std::string& text)
{
    if (text.size() == 2 && text[1] == ':' &&
        ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z')))
        return text + '\\';
    return text;
}

void CMainFrame::RepaintIconBox(int k)
{
    ::InvalidateRect(m_hWnd, &Slot(k).rcIcon, TRUE);
    UpdateWindow();
}

void CMainFrame::SetIconIndex(int k, int index)
{
    Slot(k).nIcon = index;
    RepaintIconBox(k);
}

void CMainFrame::ShowPathIcon(int k, const std::string& text)
{
    std::string path = NormalizeDriveRoot(text);
    if (IsExistingFile(path) || IsExistingFolder(path)) {
        int index = 0;
        GetSysIconIndex(path, index);
        SetIconIndex(k, index);
    } else if (Slot(k).nIcon != -1) {
        SetIconIndex(k, -1);
    }
}

void CMainFrame::UpdateIconFromEdit(int k)
{
    // A text the code page cannot hold names no path the program can test.
    std::string text;
    ShowPathIcon(k, Slot(k).combo.GetEditText(text) ? text : std::string());
}

void CMainFrame::UpdateIconFromSelection(int k)
{
    PathSlot slot = Slot(k);
    int selection = slot.combo.GetCurSel();
    if (selection == CB_ERR) {
        if (slot.nIcon != -1) SetIconIndex(k, -1);
        return;
    }
    ShowPathIcon(k, slot.combo.GetLBText(selection));
}

void CMainFrame::OnPaint()
{
    PaintDC dc(m_hWnd);
    for (int k = 1; k <= 2; ++k) {
        PathSlot slot = Slot(k);
        if (slot.nIcon == -1) continue;
        ::ImageList_Draw(SysImageList(), slot.nIcon, dc, slot.rcIcon.left + 1, slot.rcIcon.top + 1,
                         ILD_TRANSPARENT);
        Draw3dRect(dc, slot.rcIcon, RGB(128, 128, 128), RGB(255, 255, 255));
    }
}

void CMainFrame::OnChooseFile(int k)
{
    std::string path;
    if (AfxChooseFile(m_hWnd, AfxLoadFilter(IDS_ALL_FILES_FILTER), AfxLoadString(IDS_CHOOSE_FILE_TITLE),
                      OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, path))
        SetChosenPath(k, path);
}

void CMainFrame::SetChosenPath(int k, const std::string& path)
{
    Slot(k).combo.SetWindowText(path);
    int index = 0;
    GetSysIconIndex(path, index);
    SetIconIndex(k, index);
    // Ready for the next key in the box that took the path.
    FocusControl(Slot(k).combo);
}

void CMainFrame::OnChooseFolder(int k)
{
    const std::string title = AfxLoadString(IDS_CHOOSE_FOLDER_TITLE);
    BROWSEINFOA info = {};
    info.hwndOwner = m_hWnd;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_BROWSEINCLUDEFILES;
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&info);
    if (!pidl) return;

    std::string path;
    bool notInCodePage = false;
    BOOL ok = GetPathFromPidl(pidl, path, &notInCodePage);
    FreePidl(pidl);
    if (notInCodePage) AfxMessageBox(m_hWnd, IDS_PATH_NOT_IN_CODE_PAGE);
    if (ok) SetChosenPath(k, path);
}

LRESULT CMainFrame::OnClearHistory()
{
    m_history1.Clear();
    m_history2.Clear();
    m_wndCombo1.ResetContent();
    m_wndCombo2.ResetContent();
    return 0;
}

BOOL CMainFrame::OnCommand(UINT id, UINT code, HWND control)
{
    // Notifications of the two path boxes.
    for (int k = 1; k <= 2; ++k) {
        if (control && control == Slot(k).combo.m_hWnd) {
            if (code == CBN_EDITCHANGE) UpdateIconFromEdit(k);
            else if (code == CBN_SELCHANGE) UpdateIconFromSelection(k);
            return TRUE;
        }
    }

    switch (id) {
    case ID_APP_ABOUT_CMD:
        OnAppAbout();
        return TRUE;
    case ID_BAR_MINIMIZE:
        MinimizeBar();
        return TRUE;
    case ID_COMPARE:
    case IDOK: // Enter in the bar
        OnCompare();
        return TRUE;
    case ID_PATH1_FILE:
        OnChooseFile(1);
        return TRUE;
    case ID_PATH2_FILE:
        OnChooseFile(2);
        return TRUE;
    case ID_PATH1_FOLDER:
        OnChooseFolder(1);
        return TRUE;
    case ID_PATH2_FOLDER:
        OnChooseFolder(2);
        return TRUE;
    case ID_APP_SETTINGS:
        OnSettings();
        return TRUE;
    case ID_BAR_MAXIMIZE:
        MaximizeBar();
        return TRUE;
    default:
        return CFrameBarWnd::OnCommand(id, code, control);
    }
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PAIRMATE_CLEARHISTORY:
        return OnClearHistory();
    case WM_PAIRMATE_CHECKSETUP:
        return OnCheckSetup();
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    default:
        return CFrameBarWnd::WindowProc(msg, wParam, lParam);
    }
}
