// An IAccessible for each named control that answers its name, role and value and hands every
// other question to the system's standard object for the same window.
#include "accessible.h"

#include "form1_window.h"

#include <string>

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
    ControlAccessible(const ControlAccessible&) = delete;
    ControlAccessible& operator=(const ControlAccessible&) = delete;

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
        return answer(windowText(window_) + (kForm1[id_].display ? L" MHz" : L""), value);
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
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argument);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return standard_->get_accHelp(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return standard_->get_accKeyboardShortcut(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
        return standard_->get_accDefaultAction(child, text);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

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
