#include "backends/web/services/web_clock.h"

#include <emscripten.h>

#include <cstdlib>

#include "backends/web/bridge/web_host.h"

namespace ambrevo::web {
namespace {

// A text the page allocated, taken over and freed.
std::string TakeText(char* text) {
    if (!text) return {};
    std::string taken(text);
    std::free(text);
    return taken;
}

}  // namespace

Date WebClock::Today() {
    int date[3] = {};
    ambrevo_host_today(date);
    return {date[0], date[1], date[2]};
}

std::string WebClock::LongTimeText() { return TakeText(ambrevo_host_time_text()); }
std::string WebClock::ShortDateText() { return TakeText(ambrevo_host_date_text()); }

std::uint32_t WebClock::Seed() {
    return static_cast<std::uint32_t>(emscripten_get_now() * 1000.0) ^
           static_cast<std::uint32_t>(emscripten_random() * 4294967295.0);
}

}  // namespace ambrevo::web
