#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct IAccPropServices;

namespace drilbank {

// The names screen readers announce for the form's controls, where a control's own caption
// does not say it (a text box beside its label, a picture area) or says it broken over lines.
// Given to the system's accessibility services as an annotation of the control's own object,
// so that every other thing a screen reader or UI Automation asks is answered by the system.
class AccessibleNames {
public:
    AccessibleNames() = default;
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    // False when the system has no annotation service (Wine has none).
    bool name(HWND control, const std::wstring& name);
    // Takes every name back, before the controls go.
    void clear();
    bool given() const { return !named_.empty(); }

private:
    IAccPropServices* services_ = nullptr;
    bool servicesTried_ = false;
    std::vector<HWND> named_;
};

} // namespace drilbank
