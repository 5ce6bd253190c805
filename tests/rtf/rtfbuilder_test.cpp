// Both document builders against the same content built straight through
// QTextCursor, and against each other on the sample files. The fast one
// writes QTextDocument's trees itself: its trees are checked as Qt will go on
// editing them (documentTreeFault), and the documents are edited alike
// afterwards, where a damaged tree shows first.
#include "rtfbuilder.h"
#include "rtfdocument.h"
#include "rtfreader.h"

#include "referencetext.h"

#include "guitest.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>

#if KVX_RTF_FAST_BUILDER
#include <private/qfragmentmap_p.h>
#include <private/qtextdocument_p.h>
#endif

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kvx::rtf;

namespace {

// One paragraph: its block format, the separator's character format and runs.
struct Para {
    QTextBlockFormat block;
    QTextCharFormat separator;
    std::vector<std::pair<QString, QTextCharFormat>> runs;
};

// A document as a list of parts, each a paragraph or a table of paragraphs.
struct Part {
    Para para;
    int columns = 0;                          // a table when > 0
    std::vector<std::vector<Para>> cells;     // row by row
    std::vector<bool> padded;                 // cells given a property of their own
};

constexpr int kPaddedProperty = QTextFormat::UserProperty + 7;

QTextTableFormat tableFormat()
{
    QTextTableFormat tf;
    tf.setBorder(1);
    tf.setCellPadding(2);
    return tf;
}

// What the builder makes, built as the reader built documents before it.
void buildWithCursor(QTextDocument& doc, const std::vector<Part>& parts)
{
    QTextCursor c(&doc);
    bool used = false;
    for (const Part& part : parts) {
        if (part.columns == 0) {
            if (used)
                c.insertBlock(part.para.block, part.para.separator);
            else
                c.setBlockFormat(part.para.block);
            used = true;
            for (const auto& [text, format] : part.para.runs)
                c.insertText(text, format);
            continue;
        }
        const int rows = int(part.cells.size()) / part.columns;
        QTextTable* table = c.insertTable(rows, part.columns, tableFormat());
        for (size_t i = 0; i < part.cells.size(); ++i) {
            bool first = true;
            for (const Para& p : part.cells[i]) {
                if (first)
                    c.setBlockFormat(p.block);
                else
                    c.insertBlock(p.block);
                first = false;
                for (const auto& [text, format] : p.runs)
                    c.insertText(text, format);
            }
            if (part.padded[i]) {
                QTextTableCell cell = table->cellAt(int(i) / part.columns, int(i) % part.columns);
                QTextCharFormat f = cell.format();
                f.setProperty(kPaddedProperty, true);
                cell.setFormat(f);
            }
            if (i + 1 < part.cells.size())
                c.movePosition(QTextCursor::NextBlock);
        }
        c = table->lastCursorPosition();
        c.movePosition(QTextCursor::NextBlock);
        used = false;
    }
}

// The builders this build has: the public one always.
std::vector<BuilderKind> builders()
{
    if (fastBuilderBuilt())
        return {BuilderKind::Public, BuilderKind::Fast};
    return {BuilderKind::Public};
}

const char* name(BuilderKind kind)
{
    return kind == BuilderKind::Fast ? "fast builder" : "public builder";
}

// No fault to find in trees that Qt's own code made.
std::string treeFault(QTextDocument* doc, BuilderKind kind)
{
#if KVX_RTF_FAST_BUILDER
    if (kind == BuilderKind::Fast)
        return documentTreeFault(doc);
#endif
    (void)doc;
    (void)kind;
    return {};
}

void buildWithBuilder(QTextDocument& doc, const std::vector<Part>& parts, BuilderKind kind)
{
    const auto builder = makeDocumentBuilder(&doc, kind);
    DocumentBuilder& b = *builder;
    bool used = false;
    for (const Part& part : parts) {
        if (part.columns == 0) {
            if (used)
                b.appendBlock(b.blockFormat(part.para.block), b.charFormat(part.para.separator));
            else
                b.setBlockFormat(b.blockFormat(part.para.block));
            used = true;
            for (const auto& [text, format] : part.para.runs)
                b.appendText(text, b.charFormat(format));
            continue;
        }
        b.beginTable(part.columns, tableFormat());
        for (size_t i = 0; i < part.cells.size(); ++i) {
            bool first = true;
            for (const Para& p : part.cells[i]) {
                if (first)
                    b.setBlockFormat(b.blockFormat(p.block));
                else
                    b.appendBlock(b.blockFormat(p.block), b.formatBefore());
                first = false;
                for (const auto& [text, format] : p.runs)
                    b.appendText(text, b.charFormat(format));
            }
            if (part.padded[i]) {
                QTextCharFormat f;
                f.setProperty(kPaddedProperty, true);
                b.setCellFormat(f);
            }
            if (i + 1 < part.cells.size())
                b.nextCell();
        }
        b.endTable();
        used = false;
    }
    b.finish();
}

std::vector<Part> randomParts(quint32 seed, int count)
{
    QRandomGenerator rng(seed);
    std::vector<QTextCharFormat> chars(5);
    chars[1].setFontWeight(QFont::Bold);
    chars[2].setFontItalic(true);
    chars[2].setFontPointSize(14);
    chars[3].setForeground(QColor(200, 0, 0));
    chars[4].setAnchor(true);
    chars[4].setAnchorHref(QStringLiteral("https://example.org/"));
    std::vector<QTextBlockFormat> blocks(3);
    blocks[1].setAlignment(Qt::AlignHCenter);
    blocks[2].setLeftMargin(24);
    blocks[2].setTopMargin(6);
    QTextImageFormat image;
    image.setName(QStringLiteral("picture"));
    image.setWidth(20);
    image.setHeight(10);
    const QString words[] = {QStringLiteral("word"), QStringLiteral("synonym "), QStringLiteral("caf\u00E9 "),
                             QStringLiteral("\u2014"), QStringLiteral("a\tb"), QStringLiteral("line\u2028break")};
    auto para = [&] {
        Para p;
        p.block = blocks[rng.bounded(3)];
        p.separator = chars[rng.bounded(5)];
        const int runs = int(rng.bounded(5));  // empty paragraphs too
        for (int i = 0; i < runs; ++i) {
            if (rng.bounded(12) == 0) {
                QTextCharFormat f = chars[rng.bounded(4)];
                f.merge(image);
                p.runs.emplace_back(QString(QChar::ObjectReplacementCharacter), f);
            } else {
                p.runs.emplace_back(words[rng.bounded(6)], chars[rng.bounded(5)]);
            }
        }
        return p;
    };
    std::vector<Part> parts;
    for (int i = 0; i < count; ++i) {
        Part part;
        if (rng.bounded(6) == 0) {
            part.columns = 1 + int(rng.bounded(4));
            const int cells = part.columns * (1 + int(rng.bounded(3)));
            for (int k = 0; k < cells; ++k) {
                std::vector<Para> cell;
                const int paras = int(rng.bounded(4));  // no paragraph: a padded cell
                for (int j = 0; j < paras; ++j)
                    cell.push_back(para());
                part.padded.push_back(cell.empty());
                if (cell.empty())
                    cell.push_back(Para{});
                part.cells.push_back(std::move(cell));
            }
        } else {
            part.para = para();
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

QString properties(const QTextFormat& f)
{
    QString s;
    const auto props = f.properties();
    for (auto it = props.begin(); it != props.end(); ++it) {
        // The object index differs between two documents only by numbering.
        if (it.key() != QTextFormat::ObjectIndex)
            s += QString::number(it.key(), 16) + QLatin1Char('=') + it.value().toString() + QLatin1Char(';');
    }
    return s;
}

// Every block, fragment, table and cell with its format.
std::string describe(const QTextDocument& doc)
{
    QString out = QStringLiteral("length %1 blocks %2\n").arg(doc.characterCount()).arg(doc.blockCount());
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out += QStringLiteral("B%1 %2+%3 [%4] [%5]\n")
                   .arg(b.blockNumber())
                   .arg(b.position())
                   .arg(b.length())
                   .arg(properties(b.blockFormat()), properties(b.charFormat()));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            out += QStringLiteral("  %1+%2 [%3] %4\n")
                       .arg(f.position())
                       .arg(f.length())
                       .arg(properties(f.charFormat()), f.text());
        }
    }
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* t = qobject_cast<QTextTable*>(frame);
        if (!t) {
            out += QStringLiteral("frame\n");
            continue;
        }
        out += QStringLiteral("table %1-%2 %3x%4\n")
                   .arg(t->firstPosition())
                   .arg(t->lastPosition())
                   .arg(t->rows())
                   .arg(t->columns());
        for (int r = 0; r < t->rows(); ++r) {
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                out += QStringLiteral("  cell %1,%2 %3-%4 [%5]\n")
                           .arg(r)
                           .arg(c)
                           .arg(cell.firstPosition())
                           .arg(cell.lastPosition())
                           .arg(properties(cell.format()));
            }
        }
    }
    return out.toStdString();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

#if KVX_RTF_FAST_BUILDER
template <class Node>
const QFragmentMapData<Node>& treeData(const QFragmentMap<Node>& map)
{
    return reinterpret_cast<const QFragmentMapData<Node>&>(map);
}
#endif

} // namespace

TEST(DocumentBuilder, BothBuildWhatQTextCursorWouldBuild)
{
    for (quint32 seed = 1; seed <= 12; ++seed) {
        const std::vector<Part> parts = randomParts(seed, 20 + int(seed) * 15);
        QTextDocument expected;
        buildWithCursor(expected, parts);
        for (BuilderKind kind : builders()) {
            SCOPED_TRACE(name(kind));
            QTextDocument built;
            buildWithBuilder(built, parts, kind);
            // Runs of one format are one fragment, as Qt joins them: the
            // description lists every fragment.
            EXPECT_EQ(describe(built), describe(expected)) << "seed " << seed;
            EXPECT_EQ(treeFault(&built, kind), "") << "seed " << seed;
            EXPECT_EQ(built.toPlainText(), expected.toPlainText());
        }
    }
}

TEST(DocumentBuilder, TablesFirstLastAndOneAfterAnother)
{
    Part table;
    table.columns = 2;
    for (int i = 0; i < 4; ++i) {
        Para p;
        p.runs.emplace_back(QStringLiteral("cell %1").arg(i), QTextCharFormat());
        table.cells.push_back({p});
        table.padded.push_back(i == 3);
    }
    std::vector<Part> parts = {table, table};
    Part para;
    para.para.runs.emplace_back(QStringLiteral("between"), QTextCharFormat());
    parts.push_back(para);
    parts.push_back(table);
    QTextDocument expected;
    buildWithCursor(expected, parts);
    for (BuilderKind kind : builders()) {
        SCOPED_TRACE(name(kind));
        QTextDocument built;
        buildWithBuilder(built, parts, kind);
        EXPECT_EQ(describe(built), describe(expected));
        EXPECT_EQ(treeFault(&built, kind), "");
        EXPECT_EQ(built.rootFrame()->childFrames().size(), 3);
        QTextTable* last = qobject_cast<QTextTable*>(built.rootFrame()->childFrames().back());
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(last->cellAt(1, 0).firstCursorPosition().block().text(), QStringLiteral("cell 2"));
        EXPECT_TRUE(last->cellAt(1, 1).format().boolProperty(kPaddedProperty));
        EXPECT_FALSE(last->cellAt(1, 0).format().boolProperty(kPaddedProperty));
    }
}

// Qt's own insertions, removals, table edits and undo run on the built trees.
TEST(DocumentBuilder, DocumentStaysEditable)
{
    for (BuilderKind kind : builders()) {
        SCOPED_TRACE(name(kind));
        for (quint32 seed = 1; seed <= 6; ++seed) {
            const std::vector<Part> parts = randomParts(seed * 31, 60);
            QTextDocument expected, built;
            buildWithCursor(expected, parts);
            buildWithBuilder(built, parts, kind);
            ASSERT_EQ(describe(built), describe(expected));
            for (QTextDocument* doc : {&expected, &built}) {
                doc->setUndoRedoEnabled(false);  // the same empty history for both
                doc->setUndoRedoEnabled(true);
            }
            QRandomGenerator rng(seed);
            for (int step = 0; step < 150; ++step) {
                const int length = expected.characterCount() - 1;
                const int pos = int(rng.bounded(length + 1));
                const int end = std::min(length, pos + int(rng.bounded(40)));
                const int action = int(rng.bounded(6));
                for (QTextDocument* doc : {&expected, &built}) {
                    QTextCursor c(doc);
                    c.setPosition(pos);
                    switch (action) {
                    case 0: c.insertText(QStringLiteral("typed")); break;
                    case 1: c.insertBlock(); break;
                    case 2:
                        c.setPosition(end, QTextCursor::KeepAnchor);
                        c.removeSelectedText();
                        break;
                    case 3: {
                        QTextCharFormat bold;
                        bold.setFontWeight(QFont::Bold);
                        c.setPosition(end, QTextCursor::KeepAnchor);
                        c.mergeCharFormat(bold);
                        break;
                    }
                    case 4:
                        if (QTextTable* t = c.currentTable())
                            t->insertRows(t->cellAt(c).row(), 1);
                        else
                            c.insertTable(2, 2);
                        break;
                    case 5: doc->undo(); break;
                    }
                }
                ASSERT_EQ(describe(built), describe(expected)) << "seed " << seed << " step " << step;
            }
            EXPECT_EQ(treeFault(&built, kind), "") << "seed " << seed;
        }
    }
}

TEST(DocumentBuilder, ItsLayoutAndCursorsFollow)
{
    // Line breaks need text of real widths.
    if (!guitest::realFontAvailable())
        GTEST_SKIP() << "no real font installed (fonts-dejavu-core): every glyph is a box of one width";
    const std::vector<Part> parts = randomParts(5, 80);
    for (BuilderKind kind : builders()) {
        SCOPED_TRACE(name(kind));
        QTextDocument expected, built;
        for (QTextDocument* doc : {&expected, &built}) {
            doc->setPlainText(QStringLiteral("old text\nto be replaced"));
            doc->setTextWidth(300);
            doc->documentLayout();
        }
        QTextCursor expectedCursor(&expected), builtCursor(&built);
        expectedCursor.setPosition(5);
        builtCursor.setPosition(5);
        QSignalSpy blockCount(&built, &QTextDocument::blockCountChanged);
        QSignalSpy changed(&built, &QTextDocument::contentsChanged);
        expected.clear();
        buildWithCursor(expected, parts);
        buildWithBuilder(built, parts, kind);
        EXPECT_EQ(built.size(), expected.size());
        EXPECT_GT(built.size().height(), 100);
        EXPECT_EQ(built.pageCount(), expected.pageCount());
        EXPECT_EQ(builtCursor.position(), expectedCursor.position());
        ASSERT_FALSE(blockCount.isEmpty());
        EXPECT_EQ(blockCount.last().at(0).toInt(), expected.blockCount());
        EXPECT_GE(changed.count(), 1);
        for (QTextBlock b = built.begin(), e = expected.begin(); b.isValid() && e.isValid(); b = b.next(), e = e.next())
            ASSERT_EQ(b.layout()->lineCount(), e.layout()->lineCount()) << b.blockNumber();
    }
}

TEST(DocumentBuilder, TextCannotMakeStructure)
{
    for (BuilderKind kind : builders()) {
        SCOPED_TRACE(name(kind));
        QTextDocument doc;
        const auto b = makeDocumentBuilder(&doc, kind);
        b->appendText(QStringLiteral("one\u2029two\uFDD0three\uFDD1four\r\nfive"), b->charFormat(QTextCharFormat()));
        b->finish();
        EXPECT_EQ(doc.blockCount(), 1);
        EXPECT_EQ(doc.toPlainText(), QStringLiteral("one\uFFFDtwo\uFFFDthree\uFFFDfour\uFFFD\uFFFDfive"));
        EXPECT_EQ(treeFault(&doc, kind), "");
    }
}

TEST(DocumentBuilder, StopsAtItsLengthAndSaysSo)
{
    for (BuilderKind kind : builders()) {
        SCOPED_TRACE(name(kind));
        QTextDocument doc;
        const auto b = makeDocumentBuilder(&doc, kind, 12);
        const int plain = b->charFormat(QTextCharFormat());
        b->appendText(QStringLiteral("hello"), plain);
        b->appendBlock(b->currentBlockFormat(), plain);
        b->appendText(QStringLiteral("world"), plain);
        EXPECT_FALSE(b->truncated());
        b->appendText(QStringLiteral("and more"), plain);
        b->appendBlock(b->currentBlockFormat(), plain);
        b->appendText(QStringLiteral("!"), plain);
        b->finish();
        EXPECT_TRUE(b->truncated());
        EXPECT_EQ(doc.toPlainText(), QStringLiteral("hello\nworld\n"));  // the block mark fitted, "!" not
        EXPECT_EQ(treeFault(&doc, kind), "");
    }
}

TEST(DocumentBuilder, NothingAddedLeavesOneBlockOfItsFormat)
{
    for (BuilderKind kind : builders()) {
        SCOPED_TRACE(name(kind));
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("old"));
        const auto b = makeDocumentBuilder(&doc, kind);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        b->setBlockFormat(b->blockFormat(centred));
        b->finish();
        EXPECT_EQ(doc.characterCount(), 1);
        EXPECT_EQ(doc.begin().blockFormat().alignment(), Qt::AlignHCenter);
        EXPECT_FALSE(doc.isUndoAvailable());
    }
}

// Every sample file reads to the same document through either builder; the
// public one also gives LibreOffice's text, in builds without the fast one.
TEST(DocumentBuilder, SamplesReadAlikeThroughBoth)
{
    const QDir dir(QStringLiteral(LEXIVANE_RTF_SAMPLES));
    const QStringList files = dir.entryList({"*.rtf"}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 13);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QByteArray data = readFile(dir.filePath(file));
        QTextDocument reference;
        RtfReadOptions options;
        options.builder = BuilderKind::Public;
        ASSERT_TRUE(readRtf(data, &reference, options).ok);
        const QString expected = rtftest::referenceText(dir.filePath(QString(file).replace(".rtf", ".txt")));
        EXPECT_EQ(rtftest::sameBullets(plainText(reference)).toStdString(), rtftest::sameBullets(expected).toStdString());
        if (!fastBuilderBuilt())
            continue;
        QTextDocument fast;
        options.builder = BuilderKind::Fast;
        ASSERT_TRUE(readRtf(data, &fast, options).ok);
        EXPECT_EQ(describe(fast), describe(reference));
        EXPECT_EQ(treeFault(&fast, BuilderKind::Fast), "");
    }
}

TEST(DocumentBuilder, FastOneOnlyOnTheQtItWasBuiltFor)
{
    EXPECT_EQ(fastBuilderUsable(QT_VERSION_STR), fastBuilderBuilt());
    EXPECT_EQ(fastBuilderUsable(), fastBuilderBuilt());  // the tests run on the Qt they were built for
    const QString built = QStringLiteral(QT_VERSION_STR);
    const QString patch = QStringLiteral("%1.%2.%3").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR).arg(QT_VERSION_PATCH + 1);
    const QString minor = QStringLiteral("%1.%2.%3").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR + 1).arg(QT_VERSION_PATCH);
    for (const QString& other : {patch, minor, built + QStringLiteral(".1"), built.chopped(1), QString()})
        EXPECT_FALSE(fastBuilderUsable(other.toLatin1().constData())) << other.toStdString();
    EXPECT_FALSE(fastBuilderUsable(nullptr));

    QTextDocument doc;
    EXPECT_EQ(makeDocumentBuilder(&doc)->kind(), fastBuilderUsable() ? BuilderKind::Fast : BuilderKind::Public);
    EXPECT_EQ(makeDocumentBuilder(&doc, BuilderKind::Public)->kind(), BuilderKind::Public);
    // Asked for where it is not built, the fast builder is the public one.
    EXPECT_EQ(makeDocumentBuilder(&doc, BuilderKind::Fast)->kind(),
              fastBuilderBuilt() ? BuilderKind::Fast : BuilderKind::Public);
}

#if KVX_RTF_FAST_BUILDER
// Qt's insertions take text without block marks: the buffer holds the one
// paragraph mark a cleared document has and one of each table mark, however
// many the document holds.
TEST(DocumentBuilder, FastOneGivesQtNoBlockMarksToInsert)
{
    const std::vector<Part> parts = randomParts(7, 120);
    QTextDocument built;
    buildWithBuilder(built, parts, BuilderKind::Fast);
    ASSERT_FALSE(built.rootFrame()->childFrames().isEmpty());
    ASSERT_GT(built.blockCount(), 100);
    const QString buffer = QTextDocumentPrivate::get(&built)->buffer();
    EXPECT_EQ(buffer.count(QChar(QChar::ParagraphSeparator)), 1);
    EXPECT_EQ(buffer.count(QChar(QTextBeginningOfFrame)), 1);
    EXPECT_EQ(buffer.count(QChar(QTextEndOfFrame)), 1);
}

// Half a million runs: the trees stay balanced (a tree filled one node at a
// time is deeper on its right side).
TEST(DocumentBuilder, LongDocumentsKeepBalancedTrees)
{
    QTextDocument doc;
    const auto builder = makeDocumentBuilder(&doc, BuilderKind::Fast);
    DocumentBuilder& b = *builder;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    const int plain = b.charFormat(QTextCharFormat()), strong = b.charFormat(bold);
    const int block = b.blockFormat(QTextBlockFormat());
    for (int i = 0; i < 100000; ++i) {
        for (int r = 0; r < 5; ++r)
            b.appendText(QStringLiteral("run "), r % 2 ? strong : plain);
        b.appendBlock(block, plain);
    }
    b.finish();
    EXPECT_EQ(doc.blockCount(), 100001);
    EXPECT_EQ(documentTreeFault(&doc), "");
    const auto& data = treeData(QTextDocumentPrivate::get(&doc)->fragmentMap());
    int depth = 0;
    for (uint n = data.head->root; n; n = data.fragments[n].right)
        ++depth;
    EXPECT_LE(depth, 20);  // 600,001 fragments: 19 or 20 levels
    QTextCursor c(&doc);
    c.setPosition(doc.findBlockByNumber(50000).position() + 4);
    c.insertText(QStringLiteral("typed "));
    EXPECT_EQ(doc.findBlockByNumber(50000).text(), QStringLiteral("run typed run run run run "));
}
#endif
