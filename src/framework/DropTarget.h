// A window object that is also an OLE drop target.
//
// The object exposes IDropTarget through a nested interface object
// (m_xDropTarget). Its IUnknown delegates to the owner's reference count, and
// its four methods forward unchanged to the owner's virtual OnDrag... and
// OnDrop. The window object is owned by its C++ owner, not by COM: the count
// only tracks outstanding references and never deletes anything.
#pragma once

#include <windows.h>
#include <ole2.h>

// The effect a drop target answers, chosen from the effects the source
// offers (OLE refuses any answer outside them): `preferred` when offered,
// else `fallback` when offered, else none.
inline DWORD ChooseDropEffect(DWORD offered, DWORD preferred, DWORD fallback)
{
    if (offered & preferred) return preferred;
    if (offered & fallback) return fallback;
    return DROPEFFECT_NONE;
}

class CDropTargetOwner {
public:
    CDropTargetOwner();
    virtual ~CDropTargetOwner() = default;

    virtual HRESULT OnDragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT OnDragOver(DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT OnDragLeave() = 0;
    virtual HRESULT OnDrop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;

    // The interface to hand to RegisterDragDrop.
    IDropTarget* GetDropTarget() { return &m_xDropTarget; }

    ULONG ExternalAddRef() { return static_cast<ULONG>(++m_dwRef); }
    ULONG ExternalRelease() { return static_cast<ULONG>(m_dwRef > 0 ? --m_dwRef : 0); }
    HRESULT ExternalQueryInterface(REFIID iid, void** out);
    long GetRefCount() const { return m_dwRef; }

protected:
    // The nested interface object.
    class XDropTarget : public IDropTarget {
    public:
        explicit XDropTarget(CDropTargetOwner* owner) : m_pOwner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
        { return m_pOwner->ExternalQueryInterface(iid, out); }
        ULONG STDMETHODCALLTYPE AddRef() override { return m_pOwner->ExternalAddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_pOwner->ExternalRelease(); }
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override
        { return m_pOwner->OnDragEnter(data, keyState, pt, effect); }
        HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override
        { return m_pOwner->OnDragOver(keyState, pt, effect); }
        HRESULT STDMETHODCALLTYPE DragLeave() override { return m_pOwner->OnDragLeave(); }
        HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override
        { return m_pOwner->OnDrop(data, keyState, pt, effect); }

    private:
        CDropTargetOwner* m_pOwner;
    };

    XDropTarget m_xDropTarget;

private:
    long m_dwRef = 1;
};
