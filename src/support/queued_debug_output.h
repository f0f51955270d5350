#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "services/debug_output.h"

namespace ambrevo {

// Passes each line to another channel from a thread of its own, in the order written, so
// that the writer never waits for the channel (a debugger channel may cost a system
// exception per line). Every line written is sent before the destructor returns. When the
// system gives no thread, lines are sent as they are written.
class QueuedDebugOutput : public DebugOutput {
public:
    explicit QueuedDebugOutput(DebugOutput& channel);
    ~QueuedDebugOutput() override;
    QueuedDebugOutput(const QueuedDebugOutput&) = delete;
    QueuedDebugOutput& operator=(const QueuedDebugOutput&) = delete;

    void Write(const std::string& text) override;

private:
    void StartSender();
    void Send();

    DebugOutput& channel_;
    std::mutex lock_;
    std::condition_variable queued_;  // lines to send, or stopping_
    std::deque<std::string> lines_;   // written, not yet taken by the sender
    bool senderWaiting_ = false;      // the sender sleeps until woken
    bool stopping_ = false;
    bool noThread_ = false;  // the system gave no thread: lines go straight to the channel
    std::thread sender_;     // started with the first line
};

}  // namespace ambrevo
