// CMainFrame: the program's only top-level window, the bar with its
// controls. From left to right after the handle: the main toolbar (Exit,
// Minimise, About, Settings, Compare), then for each compare path an icon box,
// a history combo box and a two-button toolbar (browse for a file or folder).
#pragma once

#include "app/HotKey.h"
#include "bar/FrameBarWnd.h"
#include "framework/Controls.h"
#include "framework/Dpi.h"
#include "framework/ImageList.h"
#include "menus/MenuDrawer.h"
#include "pathinput/ComboBox2.h"
#include "settings/PathHistory.h"

#include <deque>
#include <string>
#include <vector>

// The main window's private messages.
constexpr UINT WM_PAIRMATE_CLEARHISTORY = WM_USER + 10; // clear both histories
constexpr UINT WM_PAIRMATE_CHECKSETUP = WM_USER + 11;   // look for a usable WinDiff

class CMainFrame : public CFrameBarWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    // The start-up work that nothing on the screen waits for, run once the
    // bar is shown (with OLE running), before the message loop: the toolbars'
    // images and tooltips, the context menus' images, the shell's taskbar
    // notifications, the two boxes as drop targets, and the shell's icon list.
    void CompleteStartup();

    // Reloads a combo box's list from its history, keeping the edit text.
    BOOL RefillCombo(CComboBox2& combo, const PathHistory& history);
    // Checks the WinDiff file name and both paths, starts WinDiff and
    // records both paths.
    void OnCompare();

    // Paths of a command line, applied by ApplyQueuedPaths in order: two
    // fill both boxes and compare; one goes into box 600, slides the bar out
    // and waits in box 601 for the second, which, when it comes as the next
    // single path before any comparison has started, compares both.
    void QueuePaths(const std::vector<std::wstring>& paths);
    // Applies what is queued, once the start-up check is done; runs from
    // the program's own message loop, never inside a dialog's.
    void ApplyQueuedPaths();

    // Layout rule of OnSize: the child rectangles for a work area W pixels
    // wide, a handle L pixels wide and a client cy pixels high, at `dpi`
    // (every other length is written for 96 DPI and scaled).
    struct Layout {
        RECT toolbarMain, icon1, combo1, toolbar1, icon2, combo2, toolbar2;
    };
    static Layout ComputeLayout(int workAreaWidth, int handleWidth, int cy, UINT dpi = kDefaultDpi);
    static bool SamePlaces(const Layout& a, const Layout& b);

    // "C:" names the drive root "C:\"; any other text is returned unchanged.
    static std::string NormalizeDriveRoot(const std::string& text);

    CMenuDrawer m_menuDrawer;
    CToolBarCtrl m_wndToolBarMain;
    CImageList m_imlToolBarMain;
    CToolBarCtrl m_wndToolBar1;
    CImageList m_imlToolBar1;
    CToolBarCtrl m_wndToolBar2;
    CImageList m_imlToolBar2;
    CComboBox2 m_wndCombo1;
    CComboBox2 m_wndCombo2;
    RECT m_rcIcon1 = {};
    RECT m_rcIcon2 = {};
    int m_nIcon1 = -1;
    int m_nIcon2 = -1;
    HIMAGELIST m_hSysImageList = nullptr; // taken when first needed (SysImageList)
    HIMAGELIST m_hSysImageListLarge = nullptr; // the shell's large icons (shared), when a box needs them
    PathHistory m_history1;
    PathHistory m_history2;
    std::string m_strWinDiffPath;
    // The stored "Arguments" of the comparison program (empty: none, or one
    // that is not used); see ProgramArguments.h.
    std::string m_strArguments;
    BOOL m_bAutoMinimize = TRUE;
    // The hot key as stored (0: none), and as registered: a stored key the
    // system did not give at start-up is tried again by Settings' OK.
    WORD m_wHotKey = 0;
    CHotKey m_hotKey;

private:
    std::deque<std::vector<std::wstring>> m_queuedPaths;
    bool m_bSetupChecked = false;     // OnCheckSetup has let the program go on
    bool m_bAwaitingSecondPath = false; // box 600 holds the first of two paths
    void ApplyPaths(const std::vector<std::wstring>& paths);
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    // A path put into box k as a drop puts it, with its icon.
    void SetPathText(int k, const std::string& path);

    // The places last given to the children (set before they are created):
    // the bar is sized several times while it starts, mostly with the same
    // places.
    Layout m_layout = {};

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    // A new DPI: the toolbars and path boxes rescaled, then the strip
    // refitted and laid out again (the menu drawer follows by itself);
    // texts, lists, icons, focus and the minimised or slid-out state stay.
    BOOL OnDpiChanged(UINT dpi) override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;

private:
    // One compare slot: its combo box, icon box and history.
    struct PathSlot {
        CComboBox2& combo;
        RECT& rcIcon;
        int& nIcon;
        PathHistory& history;
    };
    PathSlot Slot(int k);

    void CreateToolbar(CToolBarCtrl& toolbar, UINT id, const RECT& rc, const int (*buttons)[2], int count);
    // The size of a toolbar's buttons and images at the bar's DPI.
    void SizeToolbar(CToolBarCtrl& toolbar);
    // Gives a toolbar its images (bitmap 132 as drawn for the bar's DPI,
    // list growing by `grow`) and its buttons' tooltips, shown even while
    // the bar is inactive, with margins of 2 pixels at 96 DPI.
    void FinishToolbar(CToolBarCtrl& toolbar, CImageList& images, int grow);
    void FinishToolbars();
    // The shell's small-icon system image list.
    HIMAGELIST SysImageList();
    // The shell's icons for the icon boxes at `dpi`, and their size: its
    // small icons, or its large ones where those are the closer to the
    // size a box shows (on a display scaled above the system's).
    HIMAGELIST PathIcons(UINT dpi, int& size);
    // Places the children for a client `cy` pixels high.
    void PlaceChildren(int cy);
    void OnPaint();
    LRESULT OnClearHistory();
    void UpdateIconFromEdit(int k);
    void UpdateIconFromSelection(int k);
    void ShowPathIcon(int k, const std::string& text);
    void SetIconIndex(int k, int index);
    void RepaintIconBox(int k);
    void OnChooseFile(int k);
    // A path chosen in a file or folder chooser: into box k, with its icon.
    void SetChosenPath(int k, const std::string& path);
    void OnChooseFolder(int k);
    void OnContextMenu(HWND window, POINT pt);
    void OnAppAbout();
    void OnSettings();
    LRESULT OnCheckSetup();
    // The hot key pressed: the bar out, in front, with the keyboard in path
    // 1; again, while it is out and in front: back. An open dialog of the
    // program comes to the front instead.
    void OnHotKey(int id);
    // Registers the stored hot key, quietly: while the keyboard layout
    // types a character with it (or another program holds it), it stays
    // unregistered until a later call.
    void UpdateHotKey();
    // Names for screen readers: the path boxes, the toolbar buttons.
    void NameControls();
    void OnDestroy() override;
};
