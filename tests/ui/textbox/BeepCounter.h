// Counts system beeps instead of sounding them, for the lifetime of the object.
#pragma once

#include "platform/qt/SystemBeep.h"

#include <functional>

namespace ktv::test {

class BeepCounter {
public:
    BeepCounter()
    {
        m_previous = setBeepHandler([this] { ++count; });
    }
    ~BeepCounter() { setBeepHandler(m_previous); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;
    int count = 0;

private:
    std::function<void()> m_previous;
};

} // namespace ktv::test
