#include "support/queued_debug_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace ambrevo {
namespace {

// Records each line with the thread that sent it; the first line is held until the
// test releases the channel, as a slow debugger channel would hold it.
class HeldChannel : public DebugOutput {
public:
    void Write(const std::string& text) override {
        if (lines.empty()) released.wait_for(std::chrono::seconds(30));
        lines.push_back(text);
        senders.push_back(std::this_thread::get_id());
    }
    std::shared_future<void> released;
    std::vector<std::string> lines;
    std::vector<std::thread::id> senders;
};

TEST(QueuedDebugOutputTest, Write_ReturnsWhileTheChannelIsHeldAndEveryLineArrivesInOrder) {
    std::promise<void> release;
    HeldChannel channel;
    channel.released = release.get_future().share();
    std::vector<std::string> written;
    {
        QueuedDebugOutput queue(channel);
        for (int n = 1; n <= 1500; ++n) {
            written.push_back("**** Getting Image " + std::to_string(n) + " **** ");
            queue.Write(written.back());
        }
        release.set_value();
        queue.Write("**** last ****");  // after the release, still before the destructor
        written.push_back("**** last ****");
    }
    EXPECT_EQ(channel.lines, written);
    for (const std::thread::id sender : channel.senders) {
        EXPECT_NE(sender, std::this_thread::get_id());
    }
}

TEST(QueuedDebugOutputTest, Destroyed_WithNothingWritten_SendsNothing) {
    HeldChannel channel;
    { QueuedDebugOutput queue(channel); }
    EXPECT_TRUE(channel.lines.empty());
}

}  // namespace
}  // namespace ambrevo
