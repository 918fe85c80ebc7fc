// CComboBox2: the drop-down combo box in which the user types or picks a
// compare path.
//
// On top of a standard drop-down combo box (CBS_DROPDOWN, unsorted list) it
//   * completes the edit text from the list while the user types, selecting
//     the completed tail so that the next key replaces it (Backspace and
//     Delete disarm completion until the next other key);
//   * accepts OLE drops of one shell item (its file-system path) or of plain
//     text: the text becomes the edit text and the parent receives
//     WM_COMMAND(id, CBN_EDITCHANGE) as after a user edit;
//   * uses its own 12-pixel font (at 96 DPI; scaled for its display),
//     "ＭＳ Ｐゴシック" in Japanese.
//
// The owner creates it with CComboBox::Create and fills its list; the combo
// never looks at where the strings come from.
#pragma once

#include "framework/Controls.h"
#include "framework/DropTarget.h"
#include "framework/Gdi.h"

#include <string>
#include <vector>

// The registered message "CComboBox2-Message01" that a combo box posts to
// itself to apply a dropped text once the OLE drag loop has returned:
// wParam = a text block from AllocPostedText (the receiver frees it),
// lParam = 0.
extern UINT g_nComboBox2Msg;

class CComboBox2 : public CComboBox, public CDropTargetOwner {
public:
    CComboBox2();
    ~CComboBox2() override;

    // Registers the window as an OLE drop target (TRUE) or revokes it
    // (FALSE). FALSE when the object has no window.
    BOOL RegisterDropTarget(BOOL bRegister);
    // Gives the box its font at the DPI of its display (again after the DPI
    // changed); the box takes the height the font needs.
    void ScaleFont();

    // The four drop-target operations (reached through m_xDropTarget).
    HRESULT OnDragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT OnDragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT OnDragLeave() override;
    HRESULT OnDrop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    // The text a drop would give: one shell item's path, else plain text.
    virtual BOOL GetDropText(IDataObject* data, std::string& text);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnEditUpdate();
    LRESULT OnDropText(WPARAM wParam, LPARAM lParam);

    Font m_font;
    BOOL m_bDropTargetRegistered = FALSE;
    BOOL m_bCanDrop = FALSE;
    BOOL m_bAutoComplete = FALSE;

private:
    void SetEditSel(DWORD start, DWORD end) const;

    // Set while completion changes the text, so that a notification caused
    // by the change itself does not complete again.
    bool m_bInEditUpdate = false;
    // Dropped texts posted to this window and not yet applied.
    std::vector<char*> m_pendingDrops;
    // Drops refused for a path the code page cannot hold, posted (as a null
    // text) to tell the user once the drop has returned.
    int m_nPendingRefusals = 0;
};
