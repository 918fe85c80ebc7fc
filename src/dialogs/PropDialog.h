// CPropDialog: a dialog whose controls each show a tooltip, with texts from
// a table. The tooltip gets the mouse messages through PreTranslateMessage
// (the framework's modal loop runs it), so the controls are not subclassed.
#pragma once

#include "framework/Controls.h"
#include "framework/Dialog.h"

#include <cstddef>

// One row of a tooltip table: a control id and the id of its text in the
// string table.
struct ToolTipRow {
    UINT id;
    UINT textId;
};

class CPropDialog : public CDialog {
public:
    CPropDialog(UINT templateId, CWnd* parent);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Registers `control` as a tool of the dialog's tooltip with `text`.
    BOOL AddTool(HWND control, const char* text);
    // AddTool for each row, in order, with the dialog item of the row's id
    // and the row's text.
    BOOL AddTools(const ToolTipRow* rows, size_t count);

    HWND GetToolTipWindow() const { return m_tooltip.m_hWnd; }

protected:
    CToolTipCtrl m_tooltip;
};
