#include "support/queued_debug_output.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace ambrevo {
namespace {

// How long the sender waits for more lines before it sleeps until woken.
constexpr std::chrono::milliseconds kDoze{20};

}  // namespace

QueuedDebugOutput::QueuedDebugOutput(DebugOutput& channel) : channel_(channel) {}

QueuedDebugOutput::~QueuedDebugOutput() {
    {
        const std::lock_guard hold(lock_);
        stopping_ = true;
    }
    queued_.notify_one();
    if (sender_.joinable()) sender_.join();  // the sender leaves once the queue is empty
}

void QueuedDebugOutput::Write(const std::string& text) {
    std::unique_lock hold(lock_);
    if (!sender_.joinable() && !noThread_) StartSender();
    if (noThread_) {
        hold.unlock();
        channel_.Write(text);
        return;
    }
    lines_.push_back(text);
    // Waking the sender costs a system call: only a sleeping sender is woken; a busy or
    // dozing one takes the new line on its next round.
    const bool wake = senderWaiting_;
    hold.unlock();
    if (wake) queued_.notify_one();
}

void QueuedDebugOutput::StartSender() {
    try {
        sender_ = std::thread(&QueuedDebugOutput::Send, this);
    } catch (const std::system_error&) {
        noThread_ = true;
    }
}

// Takes all lines queued at once and sends them outside the lock, so writers never wait
// for the channel. Lines come in bursts (a menu load writes one per picture): after a round
// the sender dozes a little, unmarked, before it sleeps, so that the writer need not wake it
// (a system call) line by line.
void QueuedDebugOutput::Send() {
    const auto due = [this] { return stopping_ || !lines_.empty(); };
    std::unique_lock hold(lock_);
    for (;;) {
        if (!queued_.wait_for(hold, kDoze, due)) {
            senderWaiting_ = true;
            queued_.wait(hold, due);
            senderWaiting_ = false;
        }
        if (lines_.empty()) return;  // stopping, with everything sent
        const std::deque<std::string> taken = std::exchange(lines_, {});
        hold.unlock();
        for (const std::string& line : taken) channel_.Write(line);
        hold.lock();
    }
}

}  // namespace ambrevo
