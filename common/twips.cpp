#include "twips.h"

#include <QWidget>

namespace lexi {

QSize frameExtra(const QWidget* window)
{
    const QSize outer = window->frameGeometry().size();
    const QSize inner = window->geometry().size();
    const QSize extra = outer - inner;
    if (window->isVisible() && extra.width() > 0 && extra.height() > 0)
        return extra;
    return QSize(twips(kDefaultFrameWidthTwips), twips(kDefaultFrameHeightTwips));
}

}  // namespace lexi
