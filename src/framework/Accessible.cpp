#include "framework/Accessible.h"

#include "framework/CodePage.h"
#include "framework/FrameWnd.h"
#include "framework/Handles.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>
#include <string>

namespace {

// The accessibility functions, looked up once, the first time a screen
// reader asks (the program imports nothing of oleacc or oleaut32).
struct AccessibilityLibrary {
    using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    using SysAllocStringLenFn = BSTR(WINAPI*)(const OLECHAR*, UINT);
    using LoadRegTypeLibFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, ITypeLib**);

    bool Usable() const { return lresultFromObject && createStdAccessibleObject && sysAllocStringLen; }

    // The description of IAccessible that IDispatch callers are answered
    // from (oleacc's type library), or null.
    ComPtr<ITypeInfo> AccessibleTypeInfo() const
    {
        // LIBID_Accessibility, version 1.1.
        static const GUID kLibrary = {0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
        ComPtr<ITypeLib> library;
        ComPtr<ITypeInfo> info;
        if (loadRegTypeLib && SUCCEEDED(loadRegTypeLib(kLibrary, 1, 1, 0, library.Receive())) && library)
            library->GetTypeInfoOfGuid(__uuidof(IAccessible), info.Receive());
        return info;
    }

    static AccessibilityLibrary& Get()
    {
        static AccessibilityLibrary library;
        return library;
    }

    SystemLibrary oleacc{"oleacc.dll"};
    SystemLibrary oleaut32{"oleaut32.dll"};
    LresultFromObjectFn lresultFromObject = oleacc.Function<LresultFromObjectFn>("LresultFromObject");
    CreateStdAccessibleObjectFn createStdAccessibleObject =
        oleacc.Function<CreateStdAccessibleObjectFn>("CreateStdAccessibleObject");
    SysAllocStringLenFn sysAllocStringLen = oleaut32.Function<SysAllocStringLenFn>("SysAllocStringLen");
    LoadRegTypeLibFn loadRegTypeLib = oleaut32.Function<LoadRegTypeLibFn>("LoadRegTypeLib");
};

enum class Kind { Named, Link, Toolbar };

// What a window says about itself, kept with the window (a window property)
// from the call that names it until its last message.
struct Description {
    Kind kind = Kind::Named;
    std::wstring name;
    long role = 0;
    WNDPROC previous = nullptr;
    // A Unicode window stays one: its procedure is replaced and called
    // through the UTF-16 functions.
    bool unicode = false;
};

const char kDescriptionProp[] = "Pairmate.Accessible";

// A click reaches `hwnd`: it and every window it sits in are enabled.
bool TakesInput(HWND hwnd)
{
    if (!::IsWindow(hwnd)) return false;
    for (HWND window = hwnd; window && window != ::GetDesktopWindow(); window = ::GetAncestor(window, GA_PARENT))
        if (!::IsWindowEnabled(window)) return false;
    return true;
}

HRESULT ReturnText(const std::wstring& text, BSTR* out)
{
    if (!out) return E_POINTER;
    *out = AccessibilityLibrary::Get().sysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnLong(long value, VARIANT* out)
{
    if (!out) return E_POINTER;
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

// The system's standard object of a window with the name and role answered
// here; a toolbar's buttons are its children, one per button (child id =
// button index + 1, as the system's own toolbar object counts them).
//
// It is one object of its own: it answers only for the interfaces it
// implements. Handing a client the standard object's other interfaces (its
// service provider, say) would let it read the standard object instead, and
// UI Automation then reads no names.
class AccessibleObject final : public IAccessible, public IOleWindow {
public:
    AccessibleObject(HWND hwnd, const Description& description, IAccessible* standard)
        : m_hwnd(hwnd), m_kind(description.kind), m_name(description.name), m_role(description.role),
          m_standard(standard)
    {
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (iid == IID_IOleWindow)
            *out = static_cast<IOleWindow*>(this);
        else
            *out = nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

    // IDispatch: calls by DISPID reach this object's own IAccessible
    // methods, through the interface's type description.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count) return E_POINTER;
        *count = AccessibilityLibrary::Get().AccessibleTypeInfo() ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        ComPtr<ITypeInfo> info = AccessibilityLibrary::Get().AccessibleTypeInfo();
        if (!info) return E_NOTIMPL;
        *out = info.Detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        ComPtr<ITypeInfo> info = AccessibilityLibrary::Get().AccessibleTypeInfo();
        return info ? info->GetIDsOfNames(names, count, ids) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* arg) override
    {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        ComPtr<ITypeInfo> info = AccessibilityLibrary::Get().AccessibleTypeInfo();
        if (!info) return E_NOTIMPL;
        return info->Invoke(static_cast<IAccessible*>(this), id, flags, params, result, excep, arg);
    }

    // IOleWindow: the window the object speaks for.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override
    {
        if (!out) return E_POINTER;
        *out = m_hwnd;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        if (m_kind != Kind::Toolbar) return m_standard->get_accChildCount(count);
        if (!count) return E_POINTER;
        *count = ButtonCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        if (!IsButton(child)) return m_standard->get_accChild(child, out);
        if (!out) return E_POINTER;
        *out = nullptr;
        return S_FALSE; // a button is an element of the toolbar, not an object of its own
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        TBBUTTON button = {};
        if (Button(child, button)) return ReturnText(ToWide(CFrameWnd::GetCommandTip(button.idCommand)), name);
        if (!IsSelf(child) || m_kind == Kind::Toolbar) return m_standard->get_accName(child, name);
        if (!::IsWindow(m_hwnd)) return E_FAIL;
        return ReturnText(m_kind == Kind::Link ? WindowText() : m_name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        if (IsButton(child)) return NoText(value);
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        if (IsButton(child)) return NoText(text);
        return m_standard->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (IsButton(child)) return ReturnLong(ROLE_SYSTEM_PUSHBUTTON, role);
        if (IsSelf(child) && m_role) return ReturnLong(m_role, role);
        return m_standard->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        TBBUTTON button = {};
        if (!Button(child, button)) return m_standard->get_accState(child, state);
        long bits = (button.fsState & TBSTATE_ENABLED) ? 0 : STATE_SYSTEM_UNAVAILABLE;
        if (button.fsState & TBSTATE_PRESSED) bits |= STATE_SYSTEM_PRESSED;
        if (button.fsState & TBSTATE_HIDDEN) bits |= STATE_SYSTEM_INVISIBLE;
        return ReturnLong(bits, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        if (IsButton(child)) return NoText(help);
        return m_standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        if (IsButton(child)) return NoText(file);
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override
    {
        if (IsButton(child)) return NoText(keys);
        return m_standard->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return m_standard->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return m_standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (IsButton(child)) return NoText(action);
        return m_standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return m_standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* cx, LONG* cy, VARIANT child) override
    {
        if (!IsButton(child)) return m_standard->accLocation(x, y, cx, cy, child);
        if (!x || !y || !cx || !cy) return E_POINTER;
        RECT rc = {};
        if (!::SendMessageA(m_hwnd, TB_GETITEMRECT, static_cast<WPARAM>(child.lVal - 1),
                            reinterpret_cast<LPARAM>(&rc)))
            return E_FAIL;
        ::MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        *x = rc.left;
        *y = rc.top;
        *cx = rc.right - rc.left;
        *cy = rc.bottom - rc.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override
    {
        if (m_kind != Kind::Toolbar || !::IsWindow(m_hwnd)) return m_standard->accHitTest(x, y, child);
        if (!child) return E_POINTER;
        POINT pt = {x, y};
        ::ScreenToClient(m_hwnd, &pt);
        const int index = static_cast<int>(::SendMessageA(m_hwnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
        if (index >= 0 && index < ButtonCount()) return ReturnLong(index + 1, child);
        return m_standard->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        // Only what a click could do now: nothing while a modal dialog
        // keeps the window (or a window it sits in) disabled.
        if (!TakesInput(m_hwnd)) return E_FAIL;
        TBBUTTON button = {};
        if (Button(child, button)) {
            if (!(button.fsState & TBSTATE_ENABLED)) return E_FAIL;
            // As a click on the button: its command to the toolbar's owner.
            ::PostMessageA(::GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
                           reinterpret_cast<LPARAM>(m_hwnd));
            return S_OK;
        }
        if (m_kind == Kind::Link && IsSelf(child) && ::IsWindow(m_hwnd)) {
            ::PostMessageA(::GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hwnd), STN_CLICKED),
                           reinterpret_cast<LPARAM>(m_hwnd));
            return S_OK;
        }
        return m_standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return m_standard->put_accValue(child, value);
    }

private:
    ~AccessibleObject() { m_standard->Release(); }

    static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
    static HRESULT NoText(BSTR* out)
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        return S_FALSE;
    }
    int ButtonCount() const
    {
        return ::IsWindow(m_hwnd) ? static_cast<int>(::SendMessageA(m_hwnd, TB_BUTTONCOUNT, 0, 0)) : 0;
    }
    bool IsButton(const VARIANT& child) const
    {
        return m_kind == Kind::Toolbar && child.vt == VT_I4 && child.lVal > 0 && child.lVal <= ButtonCount();
    }
    bool Button(const VARIANT& child, TBBUTTON& button) const
    {
        return IsButton(child) && ::SendMessageA(m_hwnd, TB_GETBUTTON, static_cast<WPARAM>(child.lVal - 1),
                                                 reinterpret_cast<LPARAM>(&button));
    }
    std::wstring WindowText() const
    {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(m_hwnd)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(m_hwnd, &text[0], static_cast<int>(text.size()))));
        return text;
    }

    LONG m_refs = 1;
    HWND m_hwnd;
    Kind m_kind;
    std::wstring m_name;
    long m_role;
    IAccessible* m_standard; // owned reference
};

// The object for WM_GETOBJECT, or 0 when none can be made (the window then
// answers as it always did).
LRESULT AnswerGetObject(HWND hwnd, const Description& description, WPARAM wParam)
{
    AccessibilityLibrary& library = AccessibilityLibrary::Get();
    if (!library.Usable()) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(library.createStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    auto* object = new (std::nothrow) AccessibleObject(hwnd, description, standard);
    if (!object) {
        standard->Release();
        return 0;
    }
    const LRESULT result = library.lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
    object->Release();
    return result;
}

// Puts `proc` in place of the window's procedure (only while that is
// `expected`, when one is given); returns the procedure it replaced.
WNDPROC SetWindowProc(HWND hwnd, bool unicode, WNDPROC proc, WNDPROC expected = nullptr)
{
    const LONG_PTR now = unicode ? ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) : ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    if (expected && reinterpret_cast<WNDPROC>(now) != expected) return nullptr;
    const LONG_PTR value = reinterpret_cast<LONG_PTR>(proc);
    return reinterpret_cast<WNDPROC>(unicode ? ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, value)
                                             : ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, value));
}

LRESULT CALLBACK DescribedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* description = static_cast<Description*>(::GetPropA(hwnd, kDescriptionProp));
    if (!description) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    const WNDPROC previous = description->previous;
    const bool unicode = description->unicode;
    if (msg == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (LRESULT result = AnswerGetObject(hwnd, *description, wParam)) return result;
    } else if (msg == WM_NCDESTROY) {
        // The last message: the window's procedure as it was, and nothing
        // of the description left.
        SetWindowProc(hwnd, unicode, previous, DescribedWindowProc);
        ::RemovePropA(hwnd, kDescriptionProp);
        delete description;
    }
    return unicode ? ::CallWindowProcW(previous, hwnd, msg, wParam, lParam)
                   : ::CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

void Describe(HWND hwnd, Kind kind, const std::wstring& name, long role)
{
    if (!::IsWindow(hwnd)) return;
    auto* description = static_cast<Description*>(::GetPropA(hwnd, kDescriptionProp));
    if (!description) {
        description = new (std::nothrow) Description;
        if (!description) return;
        if (!::SetPropA(hwnd, kDescriptionProp, description)) {
            delete description;
            return;
        }
        description->unicode = ::IsWindowUnicode(hwnd) != FALSE;
        description->previous = SetWindowProc(hwnd, description->unicode, DescribedWindowProc);
        if (!description->previous) {
            ::RemovePropA(hwnd, kDescriptionProp);
            delete description;
            return;
        }
    }
    description->kind = kind;
    description->name = name;
    description->role = role;
}

} // namespace

void AfxSetAccessibleName(HWND hwnd, const std::wstring& name, long role)
{
    Describe(hwnd, Kind::Named, name, role);
}

void AfxSetAccessibleLink(HWND hwnd)
{
    Describe(hwnd, Kind::Link, std::wstring(), ROLE_SYSTEM_LINK);
}

void AfxSetAccessibleToolbar(HWND hwnd)
{
    Describe(hwnd, Kind::Toolbar, std::wstring(), ROLE_SYSTEM_TOOLBAR);
}
