#include "pack/editor/edit_history.h"

#include <gtest/gtest.h>

#include <string>

namespace ambrevo::pack {
namespace {

EditStep StepOf(std::size_t bytes, char fill) {
    return {{"main.toml", std::string(bytes / 2, fill), std::string(bytes - bytes / 2, fill)}};
}

TEST(EditHistoryTest, ManyEditsKeepTheNewestStepsWithinBothBounds) {
    const struct {
        const char* name;
        HistoryBounds bounds;
        int edits;
        std::size_t stepBytes;
        std::size_t steps;    // kept afterwards
        std::size_t dropped;  // reported: older steps that went, never the newest
    } cases[] = {
        {"small edits, bound by count", {}, 10'000, 40, 200, 9'800},
        {"large texts, bound by bytes", {}, 1'000, std::size_t{1} << 20, 64, 936},
        {"each edit alone past the bytes", {.steps = 10, .bytes = 100}, 3, 101, 0, 0},
        {"fewer edits than the bounds", {}, 5, 40, 5, 0},
    };
    for (const auto& c : cases) {
        EditHistory history(c.bounds);
        std::size_t dropped = 0;
        for (int n = 0; n < c.edits; ++n) {
            dropped += history.Add(StepOf(c.stepBytes, static_cast<char>('a' + n % 26)));
            ASSERT_LE(history.Steps(), c.bounds.steps) << c.name;
            ASSERT_LE(history.Bytes(), c.bounds.bytes) << c.name;
        }
        EXPECT_EQ(history.Steps(), c.steps) << c.name;
        EXPECT_EQ(history.Bytes(), c.steps * c.stepBytes) << c.name;
        EXPECT_EQ(dropped, c.dropped) << c.name;
        // Undo goes back over the newest steps, newest first.
        for (std::size_t n = 0; n < c.steps; ++n) {
            const EditStep* next = history.Next(Replay::Undo);
            ASSERT_NE(next, nullptr) << c.name;
            EXPECT_EQ(next->front().after[0], static_cast<char>('a' + (c.edits - 1 - n) % 26))
                << c.name;
            history.Replayed(Replay::Undo);
        }
        EXPECT_EQ(history.Next(Replay::Undo), nullptr) << c.name;
        EXPECT_EQ(history.Steps(), c.steps) << c.name;
    }
}

TEST(EditHistoryTest, ANewEditDropsTheStepsToRedo) {
    EditHistory history;
    history.Add(StepOf(4, 'a'));
    history.Add(StepOf(4, 'b'));
    history.Replayed(Replay::Undo);
    ASSERT_NE(history.Next(Replay::Redo), nullptr);
    EXPECT_EQ(history.Next(Replay::Redo)->front().after, "bb");
    history.Replayed(Replay::Redo);
    history.Replayed(Replay::Undo);
    history.Add(StepOf(4, 'c'));
    EXPECT_EQ(history.Next(Replay::Redo), nullptr);
    EXPECT_EQ(history.Steps(), 2u);
    EXPECT_EQ(history.Bytes(), 8u);
    EXPECT_EQ(history.Next(Replay::Undo)->front().after, "cc");
}

}  // namespace
}  // namespace ambrevo::pack
