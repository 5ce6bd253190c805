#pragma once

// The pictures of a document, in order: what the codec's picture tests compare.

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

#include <vector>

namespace rtftest {

inline std::vector<QTextImageFormat> images(const QTextDocument& doc)
{
    std::vector<QTextImageFormat> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                out.push_back(it.fragment().charFormat().toImageFormat());
        }
    }
    return out;
}

}  // namespace rtftest
