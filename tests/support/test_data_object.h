// A small IDataObject for drop tests: it offers the blocks it was given (as
// global memory, or as a stream when asked to), can pretend to offer a
// format it then fails to deliver, and passes every other request on to an
// inner data object (such as the shell's own) when it has one.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

class TestDataObject : public IDataObject {
public:
    // Global: a block of exactly the bytes given. Shrunk: the same, cut down
    // from a larger block of non-zero bytes, so that a reader going past the
    // block's size finds more text instead of a NUL. Stream: a stream
    // although global memory was asked for. Fail: offered but not delivered.
    enum class Delivery { Global, Shrunk, Stream, Fail };

    explicit TestDataObject(IDataObject* inner = nullptr) : m_inner(inner)
    {
        if (m_inner) m_inner->AddRef();
    }
    virtual ~TestDataObject()
    {
        if (m_inner) m_inner->Release();
        for (IStream* stream : m_streams) stream->Release();
    }
    TestDataObject(const TestDataObject&) = delete;
    TestDataObject& operator=(const TestDataObject&) = delete;

    // Offers `bytes` exactly as given (no terminator added).
    void Offer(CLIPFORMAT format, const std::string& bytes, Delivery how = Delivery::Global)
    {
        m_entries.push_back({format, bytes, how});
    }
    void OfferText(const std::string& text) { Offer(CF_TEXT, std::string(text.c_str(), text.size() + 1)); }
    void OfferUnicodeText(const std::wstring& text)
    {
        Offer(CF_UNICODETEXT, std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t)));
    }

    // IUnknown: the object lives on the test's stack; counting is checked
    // by the test at the end (every reference given out must come back).
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--m_refs); }
    long Refs() const { return m_refs; }
    // References to the streams handed out that the reader still holds.
    long StreamRefsOut() const
    {
        long refs = 0;
        for (IStream* s : m_streams) refs += (s->AddRef(), static_cast<long>(s->Release())) - 1;
        return refs;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fmt, STGMEDIUM* medium) override
    {
        if (const Entry* e = Find(fmt)) {
            if (e->how == Delivery::Fail) return E_FAIL;
            const size_t slack = e->how == Delivery::Shrunk ? 8 : 0;
            HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, e->bytes.size() + slack);
            if (!mem) return E_OUTOFMEMORY;
            if (!e->bytes.empty() || slack) {
                auto* p = static_cast<char*>(::GlobalLock(mem));
                memset(p, '#', e->bytes.size() + slack);
                memcpy(p, e->bytes.data(), e->bytes.size());
                ::GlobalUnlock(mem);
            }
            if (slack) {
                HGLOBAL shrunk = ::GlobalReAlloc(mem, e->bytes.size(), 0);
                if (!shrunk) {
                    ::GlobalFree(mem);
                    return E_OUTOFMEMORY;
                }
                mem = shrunk;
            }
            *medium = {};
            medium->pUnkForRelease = nullptr;
            if (e->how == Delivery::Stream) {
                IStream* stream = nullptr;
                if (FAILED(::CreateStreamOnHGlobal(mem, TRUE, &stream))) {
                    ::GlobalFree(mem);
                    return E_FAIL;
                }
                medium->tymed = TYMED_ISTREAM;
                medium->pstm = stream;
                stream->AddRef();
                m_streams.push_back(stream);
            } else {
                medium->tymed = TYMED_HGLOBAL;
                medium->hGlobal = mem;
            }
            return S_OK;
        }
        return m_inner ? m_inner->GetData(fmt, medium) : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fmt) override
    {
        if (Find(fmt)) return S_OK;
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
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    struct Entry {
        CLIPFORMAT format;
        std::string bytes;
        Delivery how;
    };
    const Entry* Find(const FORMATETC* fmt) const
    {
        if (!fmt || fmt->dwAspect != DVASPECT_CONTENT) return nullptr;
        for (const Entry& e : m_entries) {
            if (e.format != fmt->cfFormat) continue;
            // A reader that asks only for global memory still learns that
            // the format exists; the medium then tells what it got.
            return &e;
        }
        return nullptr;
    }

    IDataObject* m_inner;
    std::vector<Entry> m_entries;
    std::vector<IStream*> m_streams; // one reference each, to count the reader's
    long m_refs = 1;
};

// The same object on the heap, for code that takes its own references: it
// deletes itself when the last one goes.
class HeapTestDataObject : public TestDataObject {
public:
    using TestDataObject::TestDataObject;
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = TestDataObject::Release();
        if (left == 0) delete this;
        return left;
    }
};
