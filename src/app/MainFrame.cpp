#include "app/MainFrame.h"

#include "framework/Dpi.h"
#include "framework/FileChooser.h"
#include "framework/Gdi.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "framework/Look.h"
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
// The toolbar pictures are 16 by 15 pixels at 96 DPI, in buttons of 23 by 22
// (the common controls' size for them: the picture and 7 pixels).
constexpr SIZE kToolbarImage = {16, 15};
constexpr SIZE kToolbarButton = {23, 22};

// {image, command} of each button, left to right.
constexpr int kMainButtons[][2] = {
    {2, ID_APP_EXIT_CMD}, {3, ID_BAR_MINIMIZE}, {4, ID_APP_ABOUT_CMD}, {6, ID_APP_SETTINGS}, {5, ID_COMPARE},
};
constexpr int kPath1Buttons[][2] = {{0, ID_PATH1_FILE}, {1, ID_PATH1_FOLDER}};
constexpr int kPath2Buttons[][2] = {{0, ID_PATH2_FILE}, {1, ID_PATH2_FOLDER}};

// The shell's small-icon (SHGFI_SMALLICON) or large-icon (SHGFI_LARGEICON)
// system image list, asked for through the drive root of the Windows folder.
HIMAGELIST GetSystemImageList(UINT size)
{
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    windows[3] = '\0'; // keep "C:\"
    SHFILEINFOA info = {};
    return reinterpret_cast<HIMAGELIST>(::SHGetFileInfoA(windows, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | size));
}

int IconWidth(HIMAGELIST icons)
{
    int cx = 0, cy = 0;
    return icons && ::ImageList_GetIconSize(icons, &cx, &cy) ? cx : 0;
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
    m_wHotKey = LoadHotKeySetting();
    m_strArguments = LoadArgumentsSetting();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CompleteStartup()
{
    // The toolbars are off screen while the bar is minimised, and nothing
    // paints them before the message loop runs; their tips show only under
    // the pointer. The context menus' images are needed when a menu opens.
    FinishToolbars();
    m_menuDrawer.LoadToolbar(IDR_MENU_TOOLBAR);

    RegisterAppBar();
    // A key another program holds is skipped quietly (Settings tries again).
    UpdateHotKey();
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
    if (!m_hSysImageList) m_hSysImageList = GetSystemImageList(SHGFI_SMALLICON);
    return m_hSysImageList;
}

HIMAGELIST CMainFrame::PathIcons(UINT dpi, int& size)
{
    // The shell's small icons are 16 pixels at 96 DPI and grow with the
    // system's DPI (the large ones are twice as large).
    const int box = AfxScale(16, dpi);
    HIMAGELIST small = SysImageList();
    size = IconWidth(small);
    if (size >= box) return small;
    if (!m_hSysImageListLarge) m_hSysImageListLarge = GetSystemImageList(SHGFI_LARGEICON);
    const int large = IconWidth(m_hSysImageListLarge);
    if (large > box || large <= size) return small;
    size = large;
    return m_hSysImageListLarge;
}

CMainFrame::PathSlot CMainFrame::Slot(int k)
{
    if (k == 1) return {m_wndCombo1, m_rcIcon1, m_nIcon1, m_history1};
    return {m_wndCombo2, m_rcIcon2, m_nIcon2, m_history2};
}

void CMainFrame::FinishToolbars()
{
    FinishToolbar(m_wndToolBarMain, m_imlToolBarMain, 7);
    FinishToolbar(m_wndToolBar1, m_imlToolBar1, 8);
    FinishToolbar(m_wndToolBar2, m_imlToolBar2, 8);
}

void CMainFrame::FinishToolbar(CToolBarCtrl& toolbar, CImageList& images, int grow)
{
    const UINT dpi = GetDpi();
    const ScaledBitmap picture = AfxFindScaledBitmap(IDB_TOOLBAR, dpi);
    images.LoadBitmap(AfxGetResourceHandle(), picture.id, AfxScale(kToolbarImage.cx, picture.dpi), grow,
                      kToolbarMask);
    toolbar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.GetSafeHandle()));
    // Making and restyling the tooltip windows (top-level windows) takes a
    // while; nothing needs them before the pointer rests on a button.
    if (HWND tips = reinterpret_cast<HWND>(toolbar.SendMessage(TB_GETTOOLTIPS))) {
        ::SetWindowLongPtrA(tips, GWL_STYLE, ::GetWindowLongPtrA(tips, GWL_STYLE) | TTS_ALWAYSTIP);
        const int m = AfxScale(2, dpi);
        RECT margin = {m, m, m, m};
        ::SendMessageA(tips, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    }
}

void CMainFrame::SizeToolbar(CToolBarCtrl& toolbar)
{
    // A picture drawn for a smaller scaling shows centred in the button.
    const UINT dpi = GetDpi();
    const ScaledBitmap picture = AfxFindScaledBitmap(IDB_TOOLBAR, dpi);
    toolbar.SendMessage(TB_SETBITMAPSIZE, 0,
                        MAKELPARAM(AfxScale(kToolbarImage.cx, picture.dpi), AfxScale(kToolbarImage.cy, picture.dpi)));
    toolbar.SendMessage(TB_SETBUTTONSIZE, 0,
                        MAKELPARAM(AfxScale(kToolbarButton.cx, dpi), AfxScale(kToolbarButton.cy, dpi)));
}

void CMainFrame::CreateToolbar(CToolBarCtrl& toolbar, UINT id, const RECT& rc, const int (*buttons)[2], int count)
{
    toolbar.Create(kToolbarStyle, rc, this, id);
    toolbar.SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SizeToolbar(toolbar);
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
    m_layout = ComputeLayout(work.right - work.left, m_sizeHandle.cx, m_sizeHandle.cy, GetDpi());
    CreateToolbar(m_wndToolBarMain, IDC_TOOLBAR_MAIN, m_layout.toolbarMain, kMainButtons, 5);
    CreateToolbar(m_wndToolBar1, IDC_TOOLBAR_PATH1, m_layout.toolbar1, kPath1Buttons, 2);
    CreateToolbar(m_wndToolBar2, IDC_TOOLBAR_PATH2, m_layout.toolbar2, kPath2Buttons, 2);

    m_wndCombo1.Create(kComboStyle, m_layout.combo1, this, IDC_PATH1);
    m_wndCombo1.SendMessage(CB_LIMITTEXT, kComboTextLimit);
    m_wndCombo2.Create(kComboStyle, m_layout.combo2, this, IDC_PATH2);
    m_wndCombo2.SendMessage(CB_LIMITTEXT, kComboTextLimit);

    NameControls();

    RefillCombo(m_wndCombo1, m_history1);
    RefillCombo(m_wndCombo2, m_history2);

    UpdateIconFromEdit(1);
    UpdateIconFromEdit(2);

    // Checked once the bar is on screen and the message loop runs.
    PostMessage(WM_PAIRMATE_CHECKSETUP);
    return 0;
}

CMainFrame::Layout CMainFrame::ComputeLayout(int workAreaWidth, int handleWidth, int cy, UINT dpi)
{
    auto s = [dpi](int length) { return AfxScale(length, dpi); };
    const int L = handleWidth;
    const int w = (workAreaWidth - s(320)) / 2;
    const int t = (cy - s(17)) / 2;
    Layout layout;
    layout.toolbarMain = MakeRect(L + s(5), s(4), s(125), s(22));
    layout.icon1 = MakeRect(L + s(132), t + s(1), s(17), s(17));
    layout.combo1 = MakeRect(L + s(158), s(4), w, s(100));
    layout.toolbar1 = MakeRect(L + w + s(160), s(4), s(50), s(22));
    layout.icon2 = MakeRect(L + w + s(222), t + s(1), s(17), s(17));
    layout.combo2 = MakeRect(L + w + s(248), s(4), w, s(100));
    layout.toolbar2 = MakeRect(L + 2 * w + s(250), s(4), s(50), s(22));
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
    PlaceChildren(cy);
}

void CMainFrame::PlaceChildren(int cy)
{
    RECT work = GetWorkArea();
    Layout layout = ComputeLayout(work.right - work.left, m_sizeHandle.cx, cy, GetDpi());
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
    const UINT dpi = GetDpi();
    int size = 0;
    HIMAGELIST icons = PathIcons(dpi, size);
    // A 16-pixel icon at 96 DPI, one pixel inside the box's frame; smaller
    // icons centred on that place. The shell's icons are larger than that
    // where the bar's DPI lies below the system's (a scaling lowered while
    // the program runs, a display of lower scaling): they are drawn shrunk
    // to the box's size, whole.
    const int box = AfxScale(16, dpi);
    const bool shrink = size > box;
    const int inset = AfxScale(1, dpi) + (shrink ? 0 : (box - size) / 2);
    for (int k = 1; k <= 2; ++k) {
        PathSlot slot = Slot(k);
        if (slot.nIcon == -1) continue;
        {
            SavedDC saved(dc);
            ::IntersectClipRect(dc, slot.rcIcon.left, slot.rcIcon.top, slot.rcIcon.right, slot.rcIcon.bottom);
            const int x = slot.rcIcon.left + inset, y = slot.rcIcon.top + inset;
            if (shrink) {
                // Pixels taken whole (the mask's as the colours'), as the
                // icon was drawn: no colours mixed into its transparent edge.
                ::SetStretchBltMode(dc, COLORONCOLOR);
                UniqueIcon icon(::ImageList_GetIcon(icons, slot.nIcon, ILD_TRANSPARENT));
                ::DrawIconEx(dc, x, y, icon.Get(), box, box, 0, nullptr, DI_NORMAL);
            } else {
                ::ImageList_Draw(icons, slot.nIcon, dc, x, y, ILD_TRANSPARENT);
            }
        }
        Draw3dRect(dc, slot.rcIcon, AfxLookColor(LookColor::BoxShadow), AfxLookColor(LookColor::BoxLight));
    }
}

BOOL CMainFrame::OnDpiChanged(UINT dpi)
{
    SizeToolbar(m_wndToolBarMain);
    SizeToolbar(m_wndToolBar1);
    SizeToolbar(m_wndToolBar2);
    // Pictures and tips come once start-up is complete.
    if (m_imlToolBarMain.GetSafeHandle()) FinishToolbars();
    m_wndCombo1.ScaleFont();
    m_wndCombo2.ScaleFont();
    CFrameBarWnd::OnDpiChanged(dpi);
    // Laid out again also when the strip kept its size.
    PlaceChildren(GetClientRect().bottom);
    return TRUE;
}

void CMainFrame::OnChooseFile(int k)
{
    std::string path;
    bool notInCodePage = false;
    if (AfxChooseFile(m_hWnd, AfxLoadFilter(IDS_ALL_FILES_FILTER), AfxLoadString(IDS_CHOOSE_FILE_TITLE),
                      OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, path, &notInCodePage))
        SetChosenPath(k, path);
    else if (notInCodePage)
        AfxMessageBox(m_hWnd, IDS_PATH_NOT_IN_CODE_PAGE);
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
    // The icons go with the texts.
    for (int k = 1; k <= 2; ++k)
        if (Slot(k).nIcon != -1) SetIconIndex(k, -1);
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
    case WM_HOTKEY:
        OnHotKey(static_cast<int>(wParam));
        return 0;
    case WM_INPUTLANGCHANGE:
        UpdateHotKey(); // the key may type a character now, or no longer
        return CFrameBarWnd::WindowProc(msg, wParam, lParam);
    default:
        return CFrameBarWnd::WindowProc(msg, wParam, lParam);
    }
}
