#include "win32/AccessibleNames.h"

#include <commctrl.h>
#include <oleacc.h>

namespace drilbank {
namespace {

constexpr UINT_PTR subclassId = 0xACC;
// __uuidof, not the import library's IID_IAccessible: that one is a data import MinGW links
// as a plain symbol, which reads garbage.

// The accessibility libraries are loaded when a screen reader first asks, not at every start:
// most runs never need them, and loading them is a measurable part of the time to the first
// box. From the system's own folder only, never one a file beside the program could shadow.
struct AccessibilityCalls {
    decltype(&CreateStdAccessibleObject) createStandardObject = nullptr;
    decltype(&LresultFromObject) resultFromObject = nullptr;
    decltype(&SysAllocString) allocateString = nullptr;
};

template <class Call> Call systemCall(const wchar_t* library, const char* name) {
    HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Through an object pointer: a cast between unrelated function types draws a warning.
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const AccessibilityCalls& accessibilityCalls() {
    static const AccessibilityCalls calls{
        systemCall<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll",
                                                         "CreateStdAccessibleObject"),
        systemCall<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject"),
        systemCall<decltype(&SysAllocString)>(L"oleaut32.dll", "SysAllocString")};
    return calls;
}

// The system's accessible object for a control, with one thing changed: its own name.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* inner, const std::wstring& name) : inner_(inner), name_(name) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return inner_->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            inner_->Release();
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) {
            *name = accessibilityCalls().allocateString(name_.c_str());
            return *name != nullptr ? S_OK : E_OUTOFMEMORY;
        }
        return inner_->get_accName(child, name);
    }

    // Everything else as the system's object answers it.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return inner_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return inner_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return inner_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        return inner_->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return inner_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return inner_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return inner_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return inner_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return inner_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return inner_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return inner_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return inner_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return inner_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return inner_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return inner_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return inner_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return inner_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return inner_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return inner_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return inner_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return inner_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return inner_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return inner_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() = default;

    IAccessible* inner_;
    std::wstring name_;
    LONG references_ = 1;
};

// The system's accessible object for the control, with its own name, as the answer to a
// screen reader's request; false when the system cannot give one.
bool answeredNamed(HWND control, WPARAM wParam, const std::wstring& name, LRESULT& result) {
    const AccessibilityCalls& calls = accessibilityCalls();
    if (calls.createStandardObject == nullptr || calls.resultFromObject == nullptr ||
        calls.allocateString == nullptr) {
        return false;
    }
    IAccessible* system = nullptr;
    if (FAILED(calls.createStandardObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&system)))) {
        return false;
    }
    auto* named = new NamedAccessible(system, name);
    result = calls.resultFromObject(__uuidof(IAccessible), wParam, named);
    named->Release();
    return true;
}

LRESULT CALLBACK answerWithName(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
    const auto* name = reinterpret_cast<const std::wstring*>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        LRESULT result = 0;
        if (answeredNamed(control, wParam, *name, result)) {
            return result;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, &answerWithName, subclassId);
        delete name;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

void setAccessibleName(HWND control, const std::wstring& name) {
    auto* kept = new std::wstring(name);
    if (!SetWindowSubclass(control, &answerWithName, subclassId,
                           reinterpret_cast<DWORD_PTR>(kept))) {
        delete kept;
    }
}

} // namespace drilbank
