#include "window/about_window.h"

#include <gtest/gtest.h>

#include "fakes/fake_dialogs.h"
#include "fakes/headless_widgetset.h"

namespace ambrevo {
namespace {

TEST(AboutWindowTest, EachOpenShowsOneMoreWindowThatClosesItself) {
    HeadlessWidgetset widgets;
    testing::FakeDialogs dialogs;
    ui::Application app(widgets, dialogs);
    widgets.Attach(app);
    const FileVersionInfo version{"Ambrevo", "1.2.3", "1.2.3", "Ambrevo menu player", {}};

    ui::Form& first = TfrmAboutCls::Open(app, version);
    TfrmAboutCls::Open(app, version);
    ASSERT_EQ(app.Forms().size(), 2u);

    const auto caption = [&](const char* name) {
        return static_cast<ui::Label*>(first.FindControl(name))->Caption();
    };
    EXPECT_TRUE(first.Visible());
    EXPECT_EQ(caption("lblProduct"), "Ambrevo");
    EXPECT_EQ(caption("lblFileVersion"), "Version 1.2.3");
    EXPECT_EQ(caption("lblDescription"), "Ambrevo menu player");
    const auto* icon = static_cast<ui::Picture*>(first.FindControl("imgIcon"));
    EXPECT_EQ(icon->Image(), widgets.ApplicationIconImage());
    EXPECT_EQ(icon->Bounds().width, 32);

    widgets.Click(*first.FindControl("btnOK"));
    EXPECT_EQ(app.Forms().size(), 1u);
    widgets.Dispatch([&] { app.Forms().front()->CloseRequested(); });
    EXPECT_TRUE(app.Forms().empty());
}

}  // namespace
}  // namespace ambrevo
