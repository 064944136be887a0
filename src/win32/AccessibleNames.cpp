#include "win32/AccessibleNames.h"

// The annotation property ids are defined here, not taken from the import library, whose
// data imports MinGW links as plain symbols that read garbage.
#include <initguid.h>

#include <oleacc.h>

namespace drilbank {
namespace {

// The annotation service's class and interface, which the headers declare without a value.
constexpr CLSID annotationService = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID annotationInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};

} // namespace

AccessibleNames::~AccessibleNames() {
    clear();
    if (services_ != nullptr) {
        services_->Release();
    }
}

bool AccessibleNames::name(HWND control, const std::wstring& name) {
    if (!servicesTried_) {
        servicesTried_ = true;
        if (FAILED(CoCreateInstance(annotationService, nullptr, CLSCTX_INPROC_SERVER,
                                    annotationInterface, reinterpret_cast<void**>(&services_)))) {
            services_ = nullptr;
        }
    }
    if (services_ == nullptr ||
        FAILED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         PROPID_ACC_NAME, name.c_str()))) {
        return false;
    }
    named_.push_back(control);
    return true;
}

void AccessibleNames::clear() {
    MSAAPROPID property = PROPID_ACC_NAME;
    for (HWND control : named_) {
        services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  &property, 1);
    }
    named_.clear();
}

} // namespace drilbank
