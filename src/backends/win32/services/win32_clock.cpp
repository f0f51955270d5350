#include "backends/win32/services/win32_clock.h"

#include <windows.h>

#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {
namespace {

// Calls a GetTimeFormatW-like function twice: for the size, then for the text.
template <typename Format>
std::string FormatNow(Format format) {
    const int size = format(nullptr, 0);
    if (size <= 0) return {};
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    const int written = format(text.data(), size);
    text.resize(written > 0 ? static_cast<std::size_t>(written - 1) : 0);  // no terminator
    return Narrow(text);
}

}  // namespace

Date Win32Clock::Today() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

std::string Win32Clock::LongTimeText() {
    return FormatNow([](wchar_t* buffer, int size) {
        return ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, size);
    });
}

std::string Win32Clock::ShortDateText() {
    return FormatNow([](wchar_t* buffer, int size) {
        return ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer,
                                size);
    });
}

std::uint32_t Win32Clock::Seed() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::uint32_t time =
        (static_cast<std::uint32_t>(now.wHour) * 3600u + now.wMinute * 60u + now.wSecond) * 1000u +
        now.wMilliseconds;
    // The tick count differs between runs started within the same millisecond of the day.
    return ::GetTickCount() ^ (time * 2654435761u);
}

}  // namespace ambrevo::win32
