#pragma once

#include <Qt>

namespace lexi {

// A fixed-size window with a title and a close box, but no minimise or
// maximise button. Combine with Qt::Dialog or Qt::Window.
inline constexpr Qt::WindowFlags kFixedWindowHints = Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                                                     Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                                     Qt::WindowSystemMenuHint;

}  // namespace lexi
