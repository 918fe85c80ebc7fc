// CDialog: a dialog box from a dialog template resource.
//
// DoModal runs its own modal loop with the framework's message pump, so
// PreTranslateMessage of the dialog and of its controls runs for every message
// (the system's DialogBox loop would bypass it). The dialog window is attached
// to the object before its first message, so WM_INITDIALOG reaches
// OnInitDialog, which runs the data exchange into the controls.
//
// Every dialog takes the program's look (framework/Look.h) for all of its
// controls: their colours (WM_CTLCOLOR*), the system's dark parts once
// OnInitDialog has run, and its separator lines (black frames and
// rectangles) and group boxes, which the dark look draws in its own colours.
#pragma once

#include "framework/Wnd.h"

#include <memory>
#include <string>
#include <vector>

class CDialog;

// One data-exchange pass: from the members into the controls, or back.
struct CDataExchange {
    CDialog* m_pDlg;
    BOOL m_bSaveAndValidate; // TRUE: controls -> members
};

// Subclasses control `id` as `control` (once: later passes leave it alone).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// A check box and a BOOL (any non-zero value checks the box).
void DDX_Check(CDataExchange* dx, int id, BOOL& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Shows the dialog modally; returns the value given to EndDialog, or -1
    // when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Ends the modal loop with a result.
    void EndDialog(int result);

    // Runs the data exchange; FALSE when it failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK();
    virtual void OnCancel();
    // WM_COMMAND not taken by a control's reflection; TRUE when handled.
    virtual BOOL OnCommand(UINT id, UINT code, HWND control);

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The window that owns the dialog while it runs (the parent given to the
    // constructor, else the application's main window).
    HWND GetOwnerWindow() const;

protected:
    UINT m_nTemplateId;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The look for the controls made from the template.
    void ApplyLook();
    // The controls that draw themselves in the look: separator lines, group boxes.
    std::vector<std::unique_ptr<CWnd>> m_lookControls;
    bool m_bInModal = false;
    bool m_bEndModal = false;
    int m_nModalResult = -1;
};
