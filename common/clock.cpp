#include "clock.h"

namespace lexi {

namespace {

std::function<QDateTime()>& clockInUse()
{
    static std::function<QDateTime()> clock;
    return clock;
}

}  // namespace

QDateTime now() { return clockInUse() ? clockInUse()() : QDateTime::currentDateTime(); }

void setClock(std::function<QDateTime()> clock) { clockInUse() = std::move(clock); }

}  // namespace lexi
