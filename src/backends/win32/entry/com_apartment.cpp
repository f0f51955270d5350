#include "backends/win32/entry/com_apartment.h"

#include <objbase.h>

namespace ambrevo::win32 {

ComApartment::ComApartment()
    : initialised_(
          SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
}

// Every successful initialisation, S_FALSE included, is balanced by one uninitialisation.
ComApartment::~ComApartment() {
    if (initialised_) ::CoUninitialize();
}

}  // namespace ambrevo::win32
