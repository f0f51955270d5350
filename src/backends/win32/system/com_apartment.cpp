#include "backends/win32/system/com_apartment.h"

#include "backends/win32/system/system_libraries.h"

namespace ambrevo::win32 {
namespace {

thread_local ComApartment* threadApartment = nullptr;

}  // namespace

ComApartment::ComApartment() { threadApartment = this; }

// Every successful initialisation, S_FALSE included, is balanced by one uninitialisation.
ComApartment::~ComApartment() {
    if (threadApartment == this) threadApartment = nullptr;
    if (entered_) ComLibrary().uninitialize();
}

bool ComApartment::Enter() {
    ComApartment* apartment = threadApartment;
    if (apartment == nullptr) return false;
    if (!apartment->tried_) {
        apartment->tried_ = true;
        try {
            apartment->entered_ = SUCCEEDED(ComLibrary().initialize(
                nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        } catch (...) {
            apartment->entered_ = false;  // no ole32: the shell is called without COM
        }
    }
    return apartment->entered_;
}

}  // namespace ambrevo::win32
