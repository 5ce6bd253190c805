#pragma once

// Root may read and write any file, so a check that a refused read or write is
// reported cannot run as root. Such checks skip with this reason; the suite's
// run as an ordinary user makes them.

#include <unistd.h>

namespace lexitest {

inline constexpr char kRootSkip[] = "run as root, whom file permissions do not stop";

inline bool permissionsBind() { return ::geteuid() != 0; }

}  // namespace lexitest
