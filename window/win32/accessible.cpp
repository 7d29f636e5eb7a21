// An IAccessible for each named control that answers its name, role and value and hands every
// other question to the system's standard object for the same window.
#include "accessible.h"

#include "form1_window.h"
#include "screen_reader.h"

#include <commctrl.h>
#include <oleacc.h>

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

class ControlAccessible final : public IAccessible {
public:
    ControlAccessible(HWND window, Control id, IAccessible* standard)
        : window_(window), id_(id), standard_(standard) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return standard_->QueryInterface(iid, object); // IOleWindow, IEnumVARIANT
    }
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

    // What this control says of itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child) || kForm1[id_].accessibleName.empty()) {
            return standard_->get_accName(child, name); // a heading or unit: its text
        }
        return answer(toWide(kForm1[id_].accessibleName), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
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
    KESTROVA_PASS(GetTypeInfoCount, (UINT * n), (n))
    KESTROVA_PASS(GetTypeInfo, (UINT i, LCID l, ITypeInfo** t), (i, l, t))
    KESTROVA_PASS(GetIDsOfNames, (REFIID r, LPOLESTR* s, UINT n, LCID l, DISPID* d),
                  (r, s, n, l, d))
    KESTROVA_PASS(Invoke,
                  (DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                   UINT* a),
                  (d, r, l, f, p, v, e, a))
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
            auto* accessible = new ControlAccessible(window, static_cast<Control>(id), standard);
            const LRESULT result = LresultFromObject(IID_IAccessible, wParam, accessible);
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
