#include "pack/editor/edit_history.h"

#include <gtest/gtest.h>

#include <string>

namespace ambrevo::pack {
namespace {

EditStep StepOf(std::size_t bytes, char fill, const char* file = "main.toml") {
    return {{{file, std::string(bytes / 2, fill), std::string(bytes - bytes / 2, fill)}}, ""};
}

// Undoes (or redoes) the step that comes next.
void ReplayNext(EditHistory& history, Replay replay) {
    history.Replayed(replay, *history.Next(replay));
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
            EXPECT_EQ(next->changes.front().after[0],
                      static_cast<char>('a' + (c.edits - 1 - n) % 26))
                << c.name;
            ReplayNext(history, Replay::Undo);
        }
        EXPECT_EQ(history.Next(Replay::Undo), nullptr) << c.name;
        EXPECT_EQ(history.Steps(), c.steps) << c.name;
    }
}

TEST(EditHistoryTest, ANewEditDropsTheStepsToRedo) {
    EditHistory history;
    history.Add(StepOf(4, 'a'));
    history.Add(StepOf(4, 'b'));
    ReplayNext(history, Replay::Undo);
    ASSERT_NE(history.Next(Replay::Redo), nullptr);
    EXPECT_EQ(history.Next(Replay::Redo)->changes.front().after, "bb");
    ReplayNext(history, Replay::Redo);
    ReplayNext(history, Replay::Undo);
    history.Add(StepOf(4, 'c'));
    EXPECT_EQ(history.Next(Replay::Redo), nullptr);
    EXPECT_EQ(history.Steps(), 2u);
    EXPECT_EQ(history.Bytes(), 8u);
    EXPECT_EQ(history.Next(Replay::Undo)->changes.front().after, "cc");
}

// Undo and redo of one file take the newest step touching it, leaving the others in order.
TEST(EditHistoryTest, OneFilesStepsAreTakenNewestFirst) {
    EditHistory history;
    history.Add(StepOf(4, 'a', "main.toml"));
    history.Add(StepOf(4, 'b', "help.toml"));
    history.Add(StepOf(4, 'c', "main.toml"));
    history.Add(StepOf(4, 'd', "help.toml"));
    const struct {
        Replay replay;
        const char* file;
        const char* after;  // of the step taken; none when there is none to take
        const char* undo;   // the firsts of the undo steps' texts afterwards, oldest first
    } cases[] = {
        {Replay::Undo, "main.toml", "cc", "abd"},   {Replay::Undo, "main.toml", "aa", "bd"},
        {Replay::Undo, "main.toml", nullptr, "bd"}, {Replay::Redo, "help.toml", nullptr, "bd"},
        {Replay::Redo, "main.toml", "aa", "bda"},   {Replay::Undo, "help.toml", "dd", "ba"},
        {Replay::Redo, "menu.toml", nullptr, "ba"},
    };
    for (const auto& c : cases) {
        const EditStep* next = history.Next(c.replay, std::filesystem::path(c.file));
        if (!c.after) {
            EXPECT_EQ(next, nullptr) << c.file;
        } else {
            ASSERT_NE(next, nullptr) << c.file;
            EXPECT_EQ(next->changes.front().after, c.after) << c.file;
            history.Replayed(c.replay, *next);
        }
        std::string undo;
        for (const EditStep& step : history.Listed(Replay::Undo)) {
            undo += step.changes.front().after[0];
        }
        EXPECT_EQ(undo, c.undo) << c.file << " " << (c.after ? c.after : "none");
    }
}

}  // namespace
}  // namespace ambrevo::pack
