// The window-level fields of a menu, applied as they are read, and the finishing of the
// window once the whole menu is in: clock texts, background, placement and shape.

#include <algorithm>
#include <limits>

#include "window/marquee.h"
#include "window/menu_window.h"
#include "window/text_style.h"
#include "window/window_placement.h"
#include "window/window_shape.h"

namespace ambrevo {
namespace {

// Menu values are untrusted: an offset added to a position must not overflow.
int SaturatingAdd(int a, int b) {
    const long long sum = static_cast<long long>(a) + b;
    return static_cast<int>(std::clamp<long long>(sum, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

template <typename Change>
void ChangeFont(ui::TextControl& control, const Change& change) {
    ui::Font font = control.Font();
    change(font);
    control.SetFont(font);
}

void SetFontColor(ui::TextControl& control, ColorRef color) {
    ChangeFont(control, [&](ui::Font& font) { font.color = color; });
}

}  // namespace

void TfrmMenuCls::ApplyWindowField(WindowField field) {
    ui::Label& description = *parts_.description;
    ui::Label& shadow = *parts_.descriptionShadow;
    switch (field) {
        case WindowField::Title:
            form_.SetCaption(def_.title);
            app_.SetTitle(def_.title);
            marqueeText_ = ambrevo::MarqueeText(def_.title);
            break;
        case WindowField::DefaultDescription:
            description.SetCaption(def_.defaultDescription);
            shadow.SetCaption(def_.defaultDescription);
            break;
        case WindowField::DescriptionFontName:
            ApplyDescriptionFont([&](ui::Font& font) { font.face = def_.descriptionFont.name; });
            break;
        case WindowField::DescriptionFontSize:
            ApplyDescriptionFont([&](ui::Font& font) { font.size = def_.descriptionFont.size; });
            break;
        case WindowField::DescriptionFontStyle:
            ApplyDescriptionFont(
                [&](ui::Font& font) { ApplyStyle(font, def_.descriptionFont.style); });
            break;
        case WindowField::DescriptionColor:
            SetFontColor(description, def_.descriptionColor);
            break;
        case WindowField::DescriptionBounds: {
            const Bounds& b = def_.descriptionBounds;
            description.SetBounds({b.left, b.top, b.width, b.height});
            description.SetVisible(true);
            break;
        }
        case WindowField::DescriptionAlignment:
            if (const auto alignment = AlignmentOf(def_.descriptionAlignment)) {
                description.SetAlignment(*alignment);
            }
            shadow.SetAlignment(description.Alignment());
            break;
        case WindowField::ShowTime:
            parts_.time->SetVisible(def_.showTime);
            break;
        case WindowField::ShowDate:
            parts_.date->SetVisible(def_.showDate);
            break;
        case WindowField::ClockColor:
            SetFontColor(*parts_.time, def_.clockColor);
            SetFontColor(*parts_.date, def_.clockColor);
            break;
        case WindowField::TimePosition:
            parts_.time->SetPosition(def_.timePosition.left, def_.timePosition.top);
            break;
        case WindowField::DatePosition:
            parts_.date->SetPosition(def_.datePosition.left, def_.datePosition.top);
            break;
        case WindowField::DescriptionPicturePosition:
            parts_.descriptionPicture->SetPosition(def_.descriptionPicturePosition.left,
                                                   def_.descriptionPicturePosition.top);
            break;
        case WindowField::TimeFontName:
            ChangeFont(*parts_.time, [&](ui::Font& font) { font.face = def_.timeFont.name; });
            break;
        case WindowField::TimeFontSize:
            ChangeFont(*parts_.time, [&](ui::Font& font) { font.size = def_.timeFont.size; });
            break;
        case WindowField::TimeFontStyle:
            ChangeFont(*parts_.time,
                       [&](ui::Font& font) { ApplyStyle(font, def_.timeFont.style); });
            break;
        case WindowField::DateFontName:
            ChangeFont(*parts_.date, [&](ui::Font& font) { font.face = def_.dateFont.name; });
            break;
        case WindowField::DateFontSize:
            ChangeFont(*parts_.date, [&](ui::Font& font) { font.size = def_.dateFont.size; });
            break;
        case WindowField::DateFontStyle:
            ChangeFont(*parts_.date,
                       [&](ui::Font& font) { ApplyStyle(font, def_.dateFont.style); });
            break;
        case WindowField::ShadowOffset: {
            const int offset = def_.shadowOffset;
            const ui::Rect& b = description.Bounds();
            shadow.SetBounds(
                {SaturatingAdd(b.left, offset), SaturatingAdd(b.top, offset), b.width, b.height});
            shadow.SetVisible(offset >= 1);
            break;
        }
        case WindowField::ShadowColor:
            SetFontColor(shadow, def_.shadowColor);
            break;
        case WindowField::Placement:
        case WindowField::InitialItem:
        case WindowField::ShapeColor:
        case WindowField::AnimationInterval:
        case WindowField::ScrollTitle:
        case WindowField::WindowShape:
        case WindowField::ExpiryYear:
        case WindowField::ExpiryMonth:
        case WindowField::ExpiryDay:
        case WindowField::ExpiryMessage:
            break;  // kept in the definition for the finishing, the timers and the notice
    }
}

// The shadow takes the description's face, size and style, but keeps its own colour.
void TfrmMenuCls::ApplyDescriptionFont(const std::function<void(ui::Font&)>& change) {
    ChangeFont(*parts_.description, change);
    ui::Font shadowFont = parts_.description->Font();
    shadowFont.color = parts_.descriptionShadow->Font().color;
    parts_.descriptionShadow->SetFont(shadowFont);
}

void TfrmMenuCls::ShowClockTexts() {
    parts_.time->SetCaption(services_.clock.LongTimeText());
    parts_.date->SetCaption(services_.clock.ShortDateText());
}

void TfrmMenuCls::FinishWindow() {
    ShowClockTexts();
    ShowPicture(*parts_.background, 0, static_cast<int>(PictureSet::Normal), 0);
    const ui::Rect& background = parts_.background->Bounds();
    form_.SetBounds(
        PlaceWindow(def_.placement, app_.ScreenSize(), {background.width, background.height}));
    ApplyWindowShape();
}

// Once a menu has been shaped, every later menu gets a region, its plain rectangle when
// it has no (usable) shape; until then the window stays a plain window.
void TfrmMenuCls::ApplyWindowShape() {
    std::optional<ui::Region> region;
    if (def_.shapeColor != -1) region = BuildShapeRegion(def_.windowShape);
    if (!region) {
        if (!regionApplied_) return;
        const ui::Rect& background = parts_.background->Bounds();
        region = ui::Region{{0, 0, background.width, background.height}, {}};
    }
    form_.SetShape(std::move(region));
    regionApplied_ = true;
}

}  // namespace ambrevo
