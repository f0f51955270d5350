#pragma once

#include <functional>
#include <memory>
#include <string>

namespace ambrevo::ui {

class Application;
class TimerPeer;

// An interval timer ticking on the user-interface thread.
class Timer {
public:
    Timer(Application& application, std::string name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& Name() const { return name_; }
    int Interval() const { return interval_; }
    // 0 stops the timer. A different interval (re)starts it, counting from now; the
    // interval it already has changes nothing, so the count goes on.
    void SetInterval(int milliseconds);

    std::function<void(Timer&)> onTick;

    // Fired by the widgetset.
    void Tick();

private:
    std::string name_;
    int interval_ = 0;
    std::unique_ptr<TimerPeer> peer_;
};

}  // namespace ambrevo::ui
