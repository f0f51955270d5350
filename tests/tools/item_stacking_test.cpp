#include "pack/editor/item_stacking.h"

#include <gtest/gtest.h>

namespace ambrevo::pack {
namespace {

constexpr auto kPicture = ItemKind::ImgBtn;
constexpr auto kButton = ItemKind::WinBtn;
constexpr auto kText = ItemKind::LblBtn;

TEST(StackingOrderTest, PutsPushButtonsInFrontAndLaterItemsAboveEarlierOnes) {
    struct Case {
        const char* name;
        std::vector<ItemKind> kinds;
        std::vector<int> backToFront;
    };
    const Case cases[] = {
        {"no items", {}, {}},
        {"one kind keeps file order", {kPicture, kText, kPicture}, {1, 2, 3}},
        {"a button first still lies on top", {kButton, kPicture, kText}, {2, 3, 1}},
        {"buttons among the rest", {kPicture, kButton, kText, kButton, kPicture}, {1, 3, 5, 2, 4}},
        {"only buttons", {kButton, kButton}, {1, 2}},
    };
    for (const Case& test : cases) {
        MenuDefinition menu;
        for (const ItemKind kind : test.kinds) {
            MenuItem item;
            item.kind = static_cast<std::int32_t>(kind);
            menu.items.push_back(item);
        }
        EXPECT_EQ(StackingOrder(menu), test.backToFront) << test.name;
    }
}

}  // namespace
}  // namespace ambrevo::pack
