#include <windows.h>
// After <windows.h>, which it needs.
#include <gtest/gtest.h>
#include <objbase.h>

#include "backends/win32/entry/error_mode.h"
#include "backends/win32/system/com_apartment.h"

namespace ambrevo::win32 {
namespace {

TEST(ProcessSettingsTest, CriticalErrorsFailQuietlyAndEarlierModesStay) {
    const UINT original = ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
    ReportCriticalErrorsAsFailures();
    const UINT set = ::SetErrorMode(original);
    EXPECT_EQ(set, static_cast<UINT>(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS |
                                     SEM_NOOPENFILEERRORBOX));
}

TEST(ProcessSettingsTest, TheApartmentIsEnteredOnFirstNeedAndIsSingleThreadedUntilItEnds) {
    EXPECT_FALSE(ComApartment::Enter()) << "no apartment object: nothing to enter";
    {
        const ComApartment apartment;
        // Not entered yet: the thread may still choose its kind.
        const HRESULT chosen = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ASSERT_EQ(chosen, S_OK);
        ::CoUninitialize();

        ASSERT_TRUE(ComApartment::Enter());
        ASSERT_TRUE(ComApartment::Enter()) << "a second need enters nothing more";
        // A thread's apartment kind cannot change while it is initialised.
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    }
    // Uninitialised as often as initialised: the thread is free to choose again.
    const HRESULT again = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(again, S_OK);
    if (SUCCEEDED(again)) ::CoUninitialize();
}

}  // namespace
}  // namespace ambrevo::win32
