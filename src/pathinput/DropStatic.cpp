#include "pathinput/DropStatic.h"

CDropStatic::~CDropStatic()
{
    // OLE must not keep a pointer into an object that is going away.
    RegisterDropTarget(FALSE);
}

BOOL CDropStatic::RegisterDropTarget(BOOL doRegister)
{
    if (!m_hWnd) return FALSE;
    if (doRegister) {
        if (!m_bDropTargetRegistered) {
            ::RegisterDragDrop(m_hWnd, GetDropTarget());
            m_bDropTargetRegistered = TRUE;
        }
    } else if (m_bDropTargetRegistered) {
        ::RevokeDragDrop(m_hWnd);
        m_bDropTargetRegistered = FALSE;
    }
    return TRUE;
}

HRESULT CDropStatic::OnDragEnter(IDataObject*, DWORD, POINTL, DWORD*)
{
    return E_NOTIMPL;
}

HRESULT CDropStatic::OnDragOver(DWORD, POINTL, DWORD*)
{
    return E_NOTIMPL;
}

HRESULT CDropStatic::OnDragLeave()
{
    return E_NOTIMPL;
}

HRESULT CDropStatic::OnDrop(IDataObject*, DWORD, POINTL, DWORD*)
{
    return E_NOTIMPL;
}

void CDropStatic::OnDestroy()
{
    RegisterDropTarget(FALSE);
}

LRESULT CDropStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) OnDestroy();
    return CStatic::WindowProc(msg, wParam, lParam);
}
