#include "support/drop_data.h"

#include <shlobj.h>

#include <cstring>

namespace {

std::wstring Wide(const std::string& text)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

class TextObject : public IDataObject {
public:
    TextObject(std::string bytes, IDataObject* inner) : m_bytes(std::move(bytes))
    {
        if (inner) {
            inner->AddRef();
            m_inner.Attach(inner);
        }
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_ref); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        long n = --m_ref;
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fmt, STGMEDIUM* medium) override
    {
        if (!fmt || !medium) return E_INVALIDARG;
        if (fmt->cfFormat == CF_TEXT) {
            if (!(fmt->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
            HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, m_bytes.empty() ? 1 : m_bytes.size());
            if (!mem) return E_OUTOFMEMORY;
            void* p = ::GlobalLock(mem);
            if (!m_bytes.empty()) std::memcpy(p, m_bytes.data(), m_bytes.size());
            else *static_cast<char*>(p) = '\0';
            ::GlobalUnlock(mem);
            medium->tymed = TYMED_HGLOBAL;
            medium->hGlobal = mem;
            medium->pUnkForRelease = nullptr;
            return S_OK;
        }
        return m_inner ? m_inner->GetData(fmt, medium) : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fmt) override
    {
        if (!fmt) return E_INVALIDARG;
        if (fmt->cfFormat == CF_TEXT) return (fmt->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
        return m_inner ? m_inner->QueryGetData(fmt) : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    virtual ~TextObject() = default;
    long m_ref = 1;
    std::string m_bytes;
    ComPtr<IDataObject> m_inner;
};

} // namespace

ComPtr<IDataObject> ShellDataObject(const std::vector<std::string>& paths)
{
    ComPtr<IDataObject> result;
    if (paths.empty()) return result;
    std::string folder = paths[0].substr(0, paths[0].find_last_of('\\'));
    if (folder.size() == 2) folder += '\\'; // a drive root

    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Receive()))) return result;
    LPITEMIDLIST folderPidl = nullptr;
    std::wstring wideFolder = Wide(folder);
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &wideFolder[0], nullptr, &folderPidl, nullptr)))
        return result;
    ComPtr<IShellFolder> parent;
    HRESULT hr = desktop->BindToObject(folderPidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(parent.Receive()));
    ::CoTaskMemFree(folderPidl);
    if (FAILED(hr)) return result;

    std::vector<LPITEMIDLIST> items;
    for (const std::string& path : paths) {
        std::wstring name = Wide(path.substr(path.find_last_of('\\') + 1));
        LPITEMIDLIST item = nullptr;
        if (SUCCEEDED(parent->ParseDisplayName(nullptr, nullptr, &name[0], nullptr, &item, nullptr)))
            items.push_back(item);
    }
    if (items.size() == paths.size()) {
        parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), const_cast<LPCITEMIDLIST*>(
                                  reinterpret_cast<LPITEMIDLIST*>(items.data())),
                              IID_IDataObject, nullptr, reinterpret_cast<void**>(result.Receive()));
    }
    for (LPITEMIDLIST item : items) ::CoTaskMemFree(item);
    return result;
}

ComPtr<IDataObject> TextDataObject(const std::string& bytes, IDataObject* inner)
{
    ComPtr<IDataObject> result;
    result.Attach(new TextObject(bytes, inner));
    return result;
}
