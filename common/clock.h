#pragma once

#include <QDateTime>

#include <functional>

namespace lexi {

// The current date and time wherever a program stamps one. Tests put a clock
// of their own in; an empty one restores the system's.
QDateTime now();
void setClock(std::function<QDateTime()> clock);

}  // namespace lexi
