#include "framework/DropTarget.h"

CDropTargetOwner::CDropTargetOwner() : m_xDropTarget(this) {}

HRESULT CDropTargetOwner::ExternalQueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(&m_xDropTarget);
        ExternalAddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}
