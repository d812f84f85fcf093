#include "timer.h"

#include <algorithm>

Timer::Timer(Form& owner, std::function<void()> onTick) : owner_(owner), onTick_(std::move(onTick)) {
    owner_.timers_.push_back(this);
}

Timer::~Timer() {
    if (owner_.window_) KillTimer(owner_.window_, reinterpret_cast<UINT_PTR>(this));
    owner_.timers_.erase(std::remove(owner_.timers_.begin(), owner_.timers_.end(), this), owner_.timers_.end());
}

void Timer::SetInterval(unsigned milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void Timer::Apply() {
    if (!owner_.window_) return;
    UINT_PTR id = reinterpret_cast<UINT_PTR>(this);
    if (enabled_ && interval_ > 0)
        SetTimer(owner_.window_, id, interval_, nullptr);
    else
        KillTimer(owner_.window_, id);
}
