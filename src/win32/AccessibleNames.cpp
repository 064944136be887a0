#include "win32/AccessibleNames.h"

#include <initguid.h>
// initguid.h first: this file holds the definitions of the identifiers oleacc.h declares.
#include <oleacc.h>

namespace drilbank {

void setAccessibleName(HWND control, const std::wstring& name) {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return;
    }
    services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_NAME, name.c_str());
    services->Release();
}

} // namespace drilbank
