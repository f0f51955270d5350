#include "backends/web/widgetset/web_widgetset.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "backends/web/bridge/web_host.h"
#include "backends/web/widgetset/web_form.h"
#include "ui/timer.h"

namespace ambrevo::web {
namespace {

// The longest the core runs without letting the browser paint and queue input.
constexpr double kMostMillisecondsWithoutYield = 16;
// Sleeps in the idle message loop are this short at most, so input is answered at once.
constexpr int kIdleSleepMilliseconds = 10;

// The picture's pixels as a canvas takes them, the bytes red, green, blue and 255 (words
// 0xFFBBGGRR in the player's little-endian memory). Converted here rather than in the page,
// where the loop over a background's pixels ran slower than the player's compiled code.
std::unique_ptr<std::uint32_t[]> CanvasPixels(const Bitmap& bitmap) {
    const std::size_t count = bitmap.pixels.size();
    std::unique_ptr<std::uint32_t[]> rgba(new std::uint32_t[count]);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t pixel = bitmap.pixels[i];
        rgba[i] = 0xFF000000u | (pixel & 0xFFu) << 16 | (pixel & 0xFF00u) | (pixel >> 16 & 0xFFu);
    }
    return rgba;
}

}  // namespace

int FontStyleBits(const ui::Font& font) {
    return (font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0);
}

WebWidgetset::WebWidgetset() = default;
WebWidgetset::~WebWidgetset() {
    for (const auto& [bitmap, upload] : uploads_) ambrevo_host_bitmap_release(upload.id);
}

int WebWidgetset::BitmapId(const std::shared_ptr<const Bitmap>& bitmap) {
    auto found = uploads_.find(bitmap.get());
    // An address may come back for a new picture once the old one is gone.
    if (found != uploads_.end() && found->second.bitmap.lock() == bitmap) return found->second.id;
    if (found != uploads_.end()) {
        ambrevo_host_bitmap_release(found->second.id);
        uploads_.erase(found);
    }
    const int id = nextBitmapId_++;
    ambrevo_host_bitmap_upload(id, CanvasPixels(*bitmap).get(), bitmap->width, bitmap->height);
    uploads_[bitmap.get()] = {bitmap, id};
    return id;
}

void WebWidgetset::ReleaseUnusedBitmaps() {
    std::erase_if(uploads_, [](const auto& entry) {
        if (!entry.second.bitmap.expired()) return false;
        ambrevo_host_bitmap_release(entry.second.id);
        return true;
    });
}

int WebWidgetset::Register(WebForm& form) {
    forms_.push_back(&form);
    return nextFormId_++;
}

void WebWidgetset::Unregister(WebForm& form) { std::erase(forms_, &form); }

std::unique_ptr<ui::FormPeer> WebWidgetset::CreateFormPeer(ui::Form& form) {
    return std::make_unique<WebForm>(*this, form);
}

std::unique_ptr<ui::TimerPeer> WebWidgetset::CreateTimerPeer(ui::Timer& timer) {
    return timers_.CreatePeer(timer);
}

void WebWidgetset::DeliverEvents() {
    int event[6] = {};
    while (ambrevo_host_next_event(event)) {
        const auto form = std::find_if(forms_.begin(), forms_.end(),
                                       [&](const WebForm* f) { return f->Id() == event[1]; });
        if (form == forms_.end()) continue;
        (*form)->Deliver(static_cast<EventKind>(event[0]), event[2], event[3], event[4], event[5]);
    }
}

void WebWidgetset::FireDueTimers() {
    for (ui::Timer* timer : timers_.TakeDue()) {
        // A tick may stop or destroy a later timer of this round.
        if (timers_.Running(*timer)) application_->Dispatch([&] { timer->Tick(); });
    }
}

void WebWidgetset::Pump() {
    DeliverEvents();
    FireDueTimers();
    for (WebForm* form : std::vector<WebForm*>(forms_)) {
        if (std::find(forms_.begin(), forms_.end(), form) != forms_.end()) form->PaintIfDirty();
    }
    ReleaseUnusedBitmaps();
    if (afterPump) afterPump();
}

void WebWidgetset::ProcessMessages() {
    Pump();
    if (ambrevo_host_now() - lastYield_ >= kMostMillisecondsWithoutYield) {
        YieldToBrowser(0);
        lastYield_ = ambrevo_host_now();
        Pump();
    }
}

void WebWidgetset::RunMessageLoop() {
    while (!quit_) {
        Pump();
        if (whenIdle && !quit_) whenIdle();
        if (quit_) break;
        YieldToBrowser(MillisecondsToNextTimer(kIdleSleepMilliseconds));
        lastYield_ = ambrevo_host_now();
    }
}

int WebWidgetset::MillisecondsToNextTimer(int limit) const {
    return static_cast<int>(timers_.TimeToNext(limit));
}

void WebWidgetset::SetApplicationTitle(const std::string& title) {
    ambrevo_host_set_title(title.data(), title.size());
}

ui::Size WebWidgetset::ScreenSize() {
    int size[2] = {};
    ambrevo_host_screen_size(size);
    return {size[0], size[1]};
}

ui::Size WebWidgetset::MeasureText(const ui::Font& font, const std::string& text, int maxWidth) {
    int measured[2] = {};
    ambrevo_host_measure_text(text.data(), text.size(), font.face.c_str(), font.size,
                              FontStyleBits(font), maxWidth, measured);
    return {measured[0], measured[1]};
}

}  // namespace ambrevo::web
