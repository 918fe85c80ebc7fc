// CDropStatic: a static control that can be an OLE drop target.
//
// The IDropTarget is the nested interface object of CDropTargetOwner; its
// four methods arrive in the virtual OnDrag.../OnDrop below, which refuse
// everything (E_NOTIMPL) until a derived class says otherwise. The owner
// registers the control once its window exists; the control revokes the
// registration itself when its window is destroyed.
#pragma once

#include "framework/Controls.h"
#include "framework/DropTarget.h"

class CDropStatic : public CStatic, public CDropTargetOwner {
public:
    CDropStatic() = default;
    ~CDropStatic() override;

    // TRUE registers the window with OLE (once), FALSE revokes it. FALSE
    // when the object has no window.
    BOOL RegisterDropTarget(BOOL doRegister);
    BOOL IsDropTargetRegistered() const { return m_bDropTargetRegistered; }

    HRESULT OnDragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT OnDragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT OnDragLeave() override;
    HRESULT OnDrop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void OnDestroy();

private:
    BOOL m_bDropTargetRegistered = FALSE;
};
