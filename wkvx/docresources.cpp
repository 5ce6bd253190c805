#include "docresources.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

namespace wkvx {

void copyImageResources(const QTextDocument& from, QTextDocument* to)
{
    for (QTextBlock b = from.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QUrl name(f.toImageFormat().name());
            const QVariant image = from.resource(QTextDocument::ImageResource, name);
            if (image.isValid())
                to->addResource(QTextDocument::ImageResource, name, image);
        }
    }
}

}  // namespace wkvx
