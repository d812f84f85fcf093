// A timer on a form: ticks every interval milliseconds on the form's thread
// while Enabled. An interval of 0 does not tick.
#pragma once

#include <functional>

#include "form.h"

class Timer {
public:
    Timer(Form& owner, std::function<void()> onTick);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetInterval(unsigned milliseconds);
    void SetEnabled(bool enabled);
    bool enabled() const { return enabled_; }

private:
    friend class Form;
    friend void LoadForm(Form&);
    void Apply();
    void Tick() { onTick_(); }

    Form& owner_;
    std::function<void()> onTick_;
    unsigned interval_ = 0;
    bool enabled_ = false;
};
