// Configure-time check that the fast builder compiles and links against the
// Qt found: a document with a table, built through it. CMake only builds it.
#include "rtfbuilderimpl.h"

#include <QTextDocument>
#include <QTextTableFormat>

int main()
{
    QTextDocument doc;
    auto builder = kvx::rtf::makeFastBuilder(&doc, kvx::rtf::DocumentBuilder::kMaxLength);
    builder->appendText(u"word", builder->charFormat(QTextCharFormat()));
    builder->beginTable(1, QTextTableFormat());
    builder->endTable();
    builder->finish();
    return kvx::rtf::documentTreeFault(&doc).empty() ? 0 : 1;
}
