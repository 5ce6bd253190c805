#pragma once

// The programs' clock stopped at one moment for as long as this lives.

#include "clock.h"

#include <QDateTime>

namespace lexitest {

class FixedClock {
public:
    explicit FixedClock(const QDateTime& at) { lexi::setClock([at] { return at; }); }
    ~FixedClock() { lexi::setClock({}); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};

}  // namespace lexitest
