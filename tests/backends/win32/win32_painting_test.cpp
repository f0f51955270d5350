#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#include "backends/win32/widgetset_fixture.h"

namespace ambrevo::win32 {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

using PaintingTest = WidgetsetTest;

TEST_F(PaintingTest, PicturesShowTheirPixelsInZOrderAndOnlyWhileVisible) {
    ui::Form& form = ShowForm();
    ui::Picture& red = form.AddPicture("red");
    red.SetAutoSize(true);
    red.SetImage(Solid(40, 30, kRed));
    red.SetPosition(10, 10);
    // Bounds larger than the image: the rest of the control shows the form.
    ui::Picture& green = form.AddPicture("green");
    green.SetImage(Solid(40, 30, kGreen));
    green.SetBounds({30, 20, 80, 60});

    EXPECT_EQ(PixelAt(form, 12, 12), kRed);
    EXPECT_EQ(PixelAt(form, 35, 25), kGreen) << "created later, so on top";
    EXPECT_EQ(PixelAt(form, 100, 70), FormColor()) << "outside the image";
    red.BringToFront();
    EXPECT_EQ(PixelAt(form, 35, 25), kRed);
    red.SetVisible(false);
    EXPECT_EQ(PixelAt(form, 12, 12), FormColor());
    EXPECT_EQ(PixelAt(form, 35, 25), kGreen);
    green.SetPosition(120, 20);
    EXPECT_EQ(PixelAt(form, 35, 25), FormColor()) << "the old place is repainted";
    EXPECT_EQ(PixelAt(form, 125, 25), kGreen);
}

TEST_F(PaintingTest, ChangesMadeWhileTheFormIsHiddenShowWhenItComesBack) {
    ui::Form& form = ShowForm();
    ui::Picture& picture = form.AddPicture("picture");
    picture.SetAutoSize(true);
    picture.SetImage(Solid(40, 30, kRed));
    ASSERT_EQ(PixelAt(form, 5, 5), kRed);

    form.SetVisible(false);
    picture.SetImage(Solid(40, 30, kGreen));
    picture.SetPosition(100, 50);
    form.SetVisible(true);

    EXPECT_EQ(PixelAt(form, 5, 5), FormColor()) << "the old place";
    EXPECT_EQ(PixelAt(form, 105, 55), kGreen);
}

TEST_F(PaintingTest, TransparentLabelKeepsWhatLiesBelowAroundItsLetters) {
    ui::Form& form = ShowForm();
    ui::Picture& back = form.AddPicture("back");
    back.SetAutoSize(true);
    back.SetImage(Solid(200, 120, kBlue));
    ui::Font font = form.Font();
    font.color = 0x0000FF;  // a COLORREF: red
    font.size = 14;
    font.bold = true;
    ui::Label& clear = form.AddLabel("clear");
    clear.SetFont(font);
    clear.SetTransparent(true);
    clear.SetCaption("WM");
    clear.SetPosition(10, 10);
    ui::Label& opaque = form.AddLabel("opaque");
    opaque.SetFont(font);
    opaque.SetCaption("WM");
    opaque.SetPosition(10, 60);
    form.RedrawNow();

    const auto count = [&](const ui::Label& label, std::uint32_t color) {
        return CountColor(form, label.Bounds(), color);
    };
    ASSERT_GT(clear.Bounds().width, 10);
    EXPECT_GT(count(clear, kRed), 10) << "letters";
    EXPECT_GT(count(clear, kBlue), 10) << "the picture around them";
    EXPECT_EQ(count(clear, FormColor()), 0);
    EXPECT_GT(count(opaque, kRed), 10);
    EXPECT_GT(count(opaque, FormColor()), 10);
    EXPECT_EQ(count(opaque, kBlue), 0);
}

// Builds each Bitmap in the same place, as an allocator may reuse a freed Bitmap's memory.
alignas(Bitmap) unsigned char sameAddress[sizeof(Bitmap)];

std::shared_ptr<const Bitmap> SolidAtSameAddress(std::uint32_t rgb) {
    const Bitmap* bitmap = new (sameAddress) Bitmap{10, 10, Pixels(100, rgb)};
    return std::shared_ptr<const Bitmap>(bitmap, [](const Bitmap* gone) { gone->~Bitmap(); });
}

TEST_F(PaintingTest, EachBitmapBecomesOneDibReleasedWithTheBitmap) {
    ui::Form& form = ShowForm();
    auto first = Solid(10, 10, kRed);
    auto second = SolidAtSameAddress(kGreen);
    ui::Picture& a = form.AddPicture("a");
    ui::Picture& b = form.AddPicture("b");
    a.SetBounds({0, 0, 10, 10});
    b.SetBounds({20, 0, 10, 10});
    // Two controls sharing a bitmap, and states switched back and forth.
    for (int i = 0; i < 5; ++i) {
        a.SetImage(i % 2 ? first : second);
        b.SetImage(first);
        EXPECT_EQ(PixelAt(form, 5, 5), i % 2 ? kRed : kGreen);
    }
    EXPECT_EQ(widgets_.CachedBitmapCount(), 2u);

    a.SetImage(first);
    const Bitmap* freed = second.get();
    second.reset();
    // A new bitmap at the freed address shows its own pixels.
    auto third = SolidAtSameAddress(kBlue);
    ASSERT_EQ(third.get(), freed);
    b.SetImage(third);
    EXPECT_EQ(PixelAt(form, 25, 5), kBlue);
    EXPECT_EQ(widgets_.CachedBitmapCount(), 2u) << "the freed bitmap's DIB is released";
}

TEST_F(PaintingTest, GdiObjectsStayFewAfterAThousandControlsComeAndGo) {
    ui::Form& form = ShowForm();
    // Fonts, brushes and the caches' first entries are made once.
    ui::Label& warmUp = form.AddLabel("warmUp");
    warmUp.SetCaption("x");
    form.RedrawNow();
    form.DestroyControl(warmUp);
    form.RedrawNow();
    const long before = GdiObjectsInUse();

    for (int i = 0; i < 1000; ++i) {
        ui::Picture& picture = form.AddPicture("pic");
        picture.SetAutoSize(true);
        picture.SetImage(Solid(8, 8, static_cast<std::uint32_t>(i)));
        ui::Label& label = form.AddLabel("lbl");
        label.SetCaption("Item " + std::to_string(i));
        label.SetPosition(20, 20);
        form.RedrawNow();
        form.DestroyControl(picture);
        form.DestroyControl(label);
    }
    form.RedrawNow();

    EXPECT_LE(GdiObjectsInUse() - before, 2);
    EXPECT_EQ(widgets_.CachedBitmapCount(), 0u);
}

TEST_F(PaintingTest, ShapeCutsPixelsOutOfTheWindowAndNoneRestoresIt) {
    ui::Form& form = ShowForm(100, 50);
    form.SetShape(ui::Region{{0, 0, 100, 50}, {{0, 0, 10, 1}, {90, 2, 10, 1}}});

    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(Window(form), region.Get()), ERROR);
    EXPECT_FALSE(::PtInRegion(region.Get(), 5, 0));
    EXPECT_TRUE(::PtInRegion(region.Get(), 10, 0));
    EXPECT_FALSE(::PtInRegion(region.Get(), 95, 2));
    EXPECT_TRUE(::PtInRegion(region.Get(), 95, 3));
    EXPECT_TRUE(::PtInRegion(region.Get(), 50, 25));

    form.SetShape(std::nullopt);
    EXPECT_EQ(::GetWindowRgn(Window(form), region.Get()), ERROR) << "no region any more";
}

}  // namespace
}  // namespace ambrevo::win32
