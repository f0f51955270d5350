#include "actions/search_window.h"

#include <gtest/gtest.h>

#include "fakes/fake_dialogs.h"
#include "fakes/headless_widgetset.h"

namespace ambrevo {
namespace {

TEST(SearchWindowTest, CancelDisablesItselfOnceAndTheWindowGoesWithItsObject) {
    HeadlessWidgetset widgets;
    testing::FakeDialogs dialogs;
    ui::Application app(widgets, dialogs);
    widgets.Attach(app);
    bool cancelled = false;
    auto window = std::make_unique<TfrmSearchCls>(app, cancelled);
    ui::Form& form = window->Form();
    auto& folder = static_cast<ui::Label&>(*form.FindControl("lblDir"));
    auto& cancel = static_cast<ui::Button&>(*form.FindControl("Command1"));

    EXPECT_EQ(form.Style(), ui::FormStyle::ToolWindow);
    EXPECT_EQ(form.Caption(), " Target not found... searching:");
    EXPECT_EQ(form.Bounds(), (ui::Rect{180, 173, 466, 58}));
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Font(), ui::Font{});
    window->ShowFolder("D:\\a rather long folder name\\");
    EXPECT_EQ(folder.Bounds(), (ui::Rect{8, 8, 450, 13}));
    EXPECT_EQ(cancel.Bounds(), (ui::Rect{357, 27, 101, 26}));
    EXPECT_TRUE(cancel.Focused());

    widgets.Click(cancel);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(cancel.Enabled());
    EXPECT_EQ(cancel.Caption(), "Wait...");
    cancelled = false;
    widgets.Click(cancel);
    EXPECT_FALSE(cancelled);

    window.reset();
    EXPECT_TRUE(app.Forms().empty());
}

}  // namespace
}  // namespace ambrevo
