// An IAccessible for each named control that answers its name, role and value and hands every
// other question to the system's standard object for the same window.
#include "accessible.h"

#include "form1_window.h"
#include "screen_reader.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

namespace kestrova {
namespace {

std::wstring windowText(HWND window) {
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
}

std::wstring controlText(HWND sibling, Control control) {
    return windowText(GetDlgItem(GetParent(sibling), kFirstControlId + static_cast<int>(control)));
}

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// One COM object with one identity: every interface it hands out leads back to it, and any
// question a client asks through IDispatch is answered as through IAccessible.
class ControlAccessible final : public IAccessible, public IOleWindow {
public:
    ControlAccessible(HWND window, Control id, IAccessible* standard)
        : window_(window), id_(id), standard_(standard) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
        } else if (iid == IID_IOleWindow) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            return E_NOINTERFACE; // children are reached through get_accChild
        }
        AddRef();
        return S_OK;
    }
    // IUnknown, shared by both interfaces.
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            standard_->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IOleWindow, through the IAccessible's own IUnknown.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (window == nullptr) {
            return E_POINTER;
        }
        *window = IsWindow(window_) ? window_ : nullptr;
        return *window != nullptr ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch: IAccessible's type information, calling this object's own methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** type) override {
        if (type == nullptr) {
            return E_POINTER;
        }
        *type = nullptr;
        return index != 0 ? DISP_E_BADINDEX : accessibleTypeInfo(type);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        return withTypeInfo(
            [&](ITypeInfo* type) { return DispGetIDsOfNames(type, names, count, ids); });
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* wrongArgument) override {
        if (iid != IID_NULL) { // reserved: anything else is a client's mistake
            return DISP_E_UNKNOWNINTERFACE;
        }
        return withTypeInfo([&](ITypeInfo* type) {
            return DispInvoke(static_cast<IAccessible*>(this), type, member, flags, parameters,
                              result, exception, wrongArgument);
        });
    }

    // What this control says of itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (name == nullptr) {
            return E_POINTER;
        }
        if (!isSelf(child) || kForm1[id_].accessibleName.empty()) {
            return standard_->get_accName(child, name); // a heading or unit: its text
        }
        return answer(toWide(kForm1[id_].accessibleName), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (value == nullptr) {
            return E_POINTER;
        }
        if (!isSelf(child) || kForm1[id_].accessibleName.empty()) {
            return standard_->get_accValue(child, value);
        }
        if (id_ == Control::HScroll1) {
            return answer(toWide(tuningAnnouncement(toUtf8(controlText(window_, Control::Label1)),
                                                    toUtf8(controlText(window_, Control::Label2)))),
                          value);
        }
        return answer(toWide(heardValue(id_, toUtf8(windowText(window_)))), value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) {
            return E_POINTER;
        }
        if (!isSelf(child)) {
            return standard_->get_accRole(child, role);
        }
        if (!IsWindow(window_)) {
            return E_FAIL;
        }
        role->vt = VT_I4;
        constexpr LONG kRoles[] = {ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_SCROLLBAR,
                                   ROLE_SYSTEM_COMBOBOX, ROLE_SYSTEM_GRAPHIC}; // by kind
        role->lVal = kRoles[static_cast<int>(kForm1[id_].kind)];
        return S_OK;
    }

    // Everything else as the system answers it.
#define KESTROVA_PASS(method, parameters, arguments)                                               \
    HRESULT STDMETHODCALLTYPE method parameters override {                                         \
        return standard_->method arguments;                                                        \
    }
    KESTROVA_PASS(get_accParent, (IDispatch * *p), (p))
    KESTROVA_PASS(get_accChildCount, (long* n), (n))
    KESTROVA_PASS(get_accChild, (VARIANT c, IDispatch** p), (c, p))
    KESTROVA_PASS(get_accDescription, (VARIANT c, BSTR* s), (c, s))
    KESTROVA_PASS(get_accState, (VARIANT c, VARIANT* v), (c, v))
    KESTROVA_PASS(get_accHelp, (VARIANT c, BSTR* s), (c, s))
    KESTROVA_PASS(get_accHelpTopic, (BSTR * s, VARIANT c, long* n), (s, c, n))
    KESTROVA_PASS(get_accKeyboardShortcut, (VARIANT c, BSTR* s), (c, s))
    KESTROVA_PASS(get_accFocus, (VARIANT * v), (v))
    KESTROVA_PASS(get_accSelection, (VARIANT * v), (v))
    KESTROVA_PASS(get_accDefaultAction, (VARIANT c, BSTR* s), (c, s))
    KESTROVA_PASS(accSelect, (long f, VARIANT c), (f, c))
    KESTROVA_PASS(accLocation, (long* x, long* y, long* w, long* h, VARIANT c), (x, y, w, h, c))
    KESTROVA_PASS(accNavigate, (long d, VARIANT c, VARIANT* v), (d, c, v))
    KESTROVA_PASS(accHitTest, (long x, long y, VARIANT* v), (x, y, v))
    KESTROVA_PASS(accDoDefaultAction, (VARIANT c), (c))
    KESTROVA_PASS(put_accName, (VARIANT c, BSTR s), (c, s))
    KESTROVA_PASS(put_accValue, (VARIANT c, BSTR s), (c, s))
#undef KESTROVA_PASS

private:
    static HRESULT accessibleTypeInfo(ITypeInfo** type) {
        ITypeLib* library = nullptr;
        HRESULT status = LoadRegTypeLib(LIBID_Accessibility, 1, 1, LOCALE_NEUTRAL, &library);
        if (SUCCEEDED(status)) {
            status = library->GetTypeInfoOfGuid(IID_IAccessible, type);
            library->Release();
        }
        return status;
    }
    template <typename Use> static HRESULT withTypeInfo(Use use) {
        ITypeInfo* type = nullptr;
        HRESULT status = accessibleTypeInfo(&type);
        if (SUCCEEDED(status)) {
            status = use(type);
            type->Release();
        }
        return status;
    }

    // A window that has gone answers nothing: the handle may not be asked about.
    HRESULT answer(const std::wstring& text, BSTR* out) const {
        *out = nullptr;
        if (!IsWindow(window_)) {
            return E_FAIL;
        }
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HWND window_;
    Control id_;
    IAccessible* standard_;
    LONG references_ = 1;
};

LRESULT CALLBACK answerScreenReaders(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR id) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                                reinterpret_cast<void**>(&standard)))) {
            auto* accessible =
                new (std::nothrow) ControlAccessible(window, static_cast<Control>(id), standard);
            if (accessible == nullptr) { // out of memory: the system's object answers
                standard->Release();
                return DefSubclassProc(window, message, wParam, lParam);
            }
            const LRESULT result =
                LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(accessible));
            accessible->Release();
            return result;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, answerScreenReaders, 0);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void describeForScreenReaders(HWND control, Control id) {
    SetWindowSubclass(control, answerScreenReaders, 0, static_cast<DWORD_PTR>(id));
}

} // namespace kestrova
