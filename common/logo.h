#pragma once

#include <QIcon>
#include <QPixmap>

namespace lexi {

// The product's picture, drawn rather than stored so it is sharp at any size.
QPixmap logoPixmap(int size);
QIcon appIcon();

}  // namespace lexi
