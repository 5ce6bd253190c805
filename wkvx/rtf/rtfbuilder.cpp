#include "rtfbuilder.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QTextTableFormat>

// The document's own structures: the text buffer, its fragment and block
// trees and the frames' fragment numbers (Qt 6.4's layout, see README.md).
#include <private/qfragmentmap_p.h>
#include <private/qobject_p.h>
#include <private/qtextdocument_p.h>
#include <private/qtextobject_p.h>
#include <private/qtexttable_p.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <new>
#include <string>
#include <type_traits>

namespace kvx::rtf {

namespace {

bool isSeparator(char16_t c)
{
    return (c == QChar::ParagraphSeparator) | (c == 0xFDD0) | (c == 0xFDD1);
}

// QFragmentMap holds only its QFragmentMapData: the two share an address.
template <class Node>
QFragmentMapData<Node>& treeData(QFragmentMap<Node>& map)
{
    static_assert(std::is_standard_layout_v<QFragmentMap<Node>>);
    static_assert(sizeof(QFragmentMap<Node>) == sizeof(QFragmentMapData<Node>));
    return reinterpret_cast<QFragmentMapData<Node>&>(map);
}

// Room for count nodes, made before the document is touched so that running
// out of memory leaves it whole. Qt's own growth goes on from there.
template <class Node>
void reserveNodes(QFragmentMapData<Node>& data, uint count)
{
    const uint wanted = std::max(count + 1, data.head->allocated);
    if (wanted == data.head->allocated)
        return;
    void* grown = std::realloc(data.fragments, size_t(wanted) * sizeof(Node));
    if (!grown)
        throw std::bad_alloc();
    data.fragments = static_cast<Node*>(grown);
    data.head->allocated = wanted;
}

// Replaces the nodes of a tree with count new ones, node i (from 1) being
// the i-th in document order and size(i) its length. The tree is balanced
// by halving; its deepest level is red when it is not the root, which keeps
// every path's number of black nodes equal, so Qt can go on editing it.
template <class Node, class Size>
void buildTree(QFragmentMapData<Node>& data, uint count, Size size)
{
    Q_ASSERT(data.head->allocated > count);
    int deepest = 0;
    while ((uint(2) << deepest) - 1 < count)
        ++deepest;
    constexpr int fields = Node::size_array_max;
    // Returns the subtree's root and its length.
    auto build = [&](auto& self, uint lo, uint hi, uint parent, int depth, quint32& total) -> uint {
        if (lo > hi) {
            total = 0;
            return 0;
        }
        const uint mid = lo + (hi - lo) / 2;
        Node& n = data.fragments[mid];
        quint32 left = 0, right = 0;
        n.parent = parent;
        n.left = self(self, lo, mid - 1, mid, depth + 1, left);
        n.right = self(self, mid + 1, hi, mid, depth + 1, right);
        n.color = depth == deepest && depth > 0 ? 0 : 1;  // red : black
        n.size_array[0] = size(mid);
        n.size_left_array[0] = left;
        for (int f = 1; f < fields; ++f) {
            n.size_array[f] = 1;
            n.size_left_array[f] = mid - lo;
        }
        total = left + n.size_array[0] + right;
        return mid;
    };
    quint32 total = 0;
    const uint root = build(build, 1, count, 0, 0, total);
    data.head->root = root;
    data.head->node_count = count;
    // The nodes after the last are free, as a fresh tree marks them.
    data.head->freelist = count + 1;
    if (count + 1 < data.head->allocated)
        data.fragments[count + 1].right = 0;
}


// Checks a tree as Qt's own code expects it: the first fault found, if any.
template <class Node>
std::string treeFault(QFragmentMap<Node>& map)
{
    const QFragmentMapData<Node>& d = treeData(map);
    constexpr int fields = Node::size_array_max;
    constexpr quint32 red = 0, black = 1;
    std::string error;
    uint nodes = 0;
    auto fault = [&](const std::string& what) {
        if (error.empty())
            error = what;
    };
    // Returns the black height; sum gets the subtree's sizes.
    auto check = [&](auto& self, uint n, uint parent, int depth, std::array<quint64, 3>& sum) -> int {
        sum = {};
        if (!n)
            return 1;
        if (n >= d.head->allocated || depth > 64 || nodes > d.head->node_count) {
            fault("node " + std::to_string(n) + " outside the tree");
            return 1;
        }
        const Node& x = d.fragments[n];
        ++nodes;
        if (x.parent != parent)
            fault("parent link of node " + std::to_string(n));
        if (x.color == red && ((x.left && d.fragments[x.left].color == red) || (x.right && d.fragments[x.right].color == red)))
            fault("red node " + std::to_string(n) + " with a red child");
        std::array<quint64, 3> left, right;
        const int lh = self(self, x.left, n, depth + 1, left);
        const int rh = self(self, x.right, n, depth + 1, right);
        if (lh != rh)
            fault("unequal black heights under node " + std::to_string(n));
        for (int f = 0; f < fields; ++f) {
            if (x.size_left_array[f] != left[f])
                fault("size of the left side of node " + std::to_string(n));
            sum[f] = left[f] + x.size_array[f] + right[f];
        }
        return lh + (x.color == black ? 1 : 0);
    };
    std::array<quint64, 3> total;
    const uint root = d.head->root;
    if (root && d.fragments[root].color != black)
        fault("red root");
    check(check, root, 0, 0, total);
    if (nodes != d.head->node_count)
        fault("node count");
    return error;
}
} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument* doc, qsizetype maxLength)
    : doc_(doc), maxLength_(std::min(maxLength, kMaxLength))
{
    doc_->clear();
    blockFormat_ = blockFormat(QTextBlockFormat());
}

DocumentBuilder::~DocumentBuilder()
{
    finish();
}

int DocumentBuilder::charFormat(const QTextCharFormat& format)
{
    return QTextDocumentPrivate::get(doc_)->formatCollection()->indexForFormat(format);
}

int DocumentBuilder::blockFormat(const QTextBlockFormat& format)
{
    return QTextDocumentPrivate::get(doc_)->formatCollection()->indexForFormat(format);
}

QTextBlockFormat DocumentBuilder::blockFormatAt(int index) const
{
    return QTextDocumentPrivate::get(doc_)->formatCollection()->blockFormat(index);
}

void DocumentBuilder::appendText(QStringView text, int charFormat)
{
    if (text.isEmpty() || finished_)
        return;
    if (text_.size() + text.size() > maxLength_) {
        truncated_ = true;
        return;
    }
    const qsizetype start = text_.size();
    text_.append(text);
    // One pass without branches finds whether anything needs replacing.
    bool separators = false;
    for (const QChar c : text)
        separators |= isSeparator(c.unicode());
    if (separators) {
        for (QChar* c = text_.data() + start, *end = text_.data() + text_.size(); c != end; ++c) {
            if (isSeparator(c->unicode()))
                *c = QChar(QChar::ReplacementCharacter);
        }
    }
    const int length = int(text.size());
    if (lastIsText_ && fragments_.back().format == charFormat)
        fragments_.back().length += length;
    else
        fragments_.push_back(Fragment{length, charFormat});
    lastIsText_ = true;
    blockLength_ += length;
}

int DocumentBuilder::endBlock(QChar separator, int charFormat, int nextBlockFormat)
{
    text_.append(separator);
    fragments_.push_back(Fragment{1, charFormat});
    blocks_.push_back(Block{blockLength_ + 1, blockFormat_});
    blockLength_ = 0;
    blockFormat_ = nextBlockFormat;
    lastIsText_ = false;
    return int(fragments_.size());  // fragment numbers start at 1
}

void DocumentBuilder::appendBlock(int blockFormat, int charFormat)
{
    if (finished_)
        return;
    if (text_.size() >= maxLength_) {
        truncated_ = true;
        return;
    }
    endBlock(QChar(QChar::ParagraphSeparator), charFormat, blockFormat);
}

int DocumentBuilder::formatBefore()
{
    if (fragments_.empty())
        return charFormat(QTextCharFormat());
    const int last = fragments_.back().format;
    QTextCharFormat f = QTextDocumentPrivate::get(doc_)->formatCollection()->charFormat(last);
    if (!f.hasProperty(QTextFormat::ObjectIndex) && !f.hasProperty(QTextFormat::ObjectType))
        return last;
    f.clearProperty(QTextFormat::ObjectIndex);
    f.clearProperty(QTextFormat::ObjectType);
    return charFormat(f);
}

QTextTable* DocumentBuilder::beginTable(int columns, const QTextTableFormat& format)
{
    if (finished_ || tableOpen_ || columns < 1)
        return nullptr;
    if (text_.size() >= maxLength_) {
        truncated_ = true;
        return nullptr;
    }
    QTextTableFormat f = format;
    f.setColumns(columns);
    QTextDocumentPrivate* priv = QTextDocumentPrivate::get(doc_);
    auto* table = qobject_cast<QTextTable*>(priv->createObject(f));
    if (!table)
        return nullptr;
    // The markers of cells and of the table's end, as QTextCursor makes them.
    QTextCharFormat cell;
    cell.setObjectIndex(table->objectIndex());
    cell.setObjectType(QTextFormat::TableCellObject);
    Table t;
    t.table = table;
    t.cellFormat = charFormat(cell);
    t.cellBlockFormat = blockFormat(QTextBlockFormat());
    t.cells.push_back(endBlock(QTextBeginningOfFrame, t.cellFormat, t.cellBlockFormat));
    tables_.push_back(std::move(t));
    tableOpen_ = true;
    return table;
}

void DocumentBuilder::nextCell()
{
    if (!tableOpen_)
        return;
    Table& t = tables_.back();
    t.cells.push_back(endBlock(QTextBeginningOfFrame, t.cellFormat, t.cellBlockFormat));
}

void DocumentBuilder::setCellFormat(const QTextCharFormat& properties)
{
    if (!tableOpen_)
        return;
    Table& t = tables_.back();
    const QTextFormatCollection* formats = QTextDocumentPrivate::get(doc_)->formatCollection();
    QTextCharFormat f = formats->charFormat(t.cellFormat);
    const auto props = properties.properties();
    for (auto it = props.begin(); it != props.end(); ++it) {
        if (it.key() != QTextFormat::ObjectIndex && it.key() != QTextFormat::ObjectType)
            f.setProperty(it.key(), it.value());
    }
    fragments_[size_t(t.cells.back()) - 1].format = charFormat(f);
}

void DocumentBuilder::endTable()
{
    if (!tableOpen_)
        return;
    Table& t = tables_.back();
    t.end = endBlock(QTextEndOfFrame, t.cellFormat, t.cellBlockFormat);
    tableOpen_ = false;
}

void DocumentBuilder::finish()
{
    if (finished_)
        return;
    endTable();
    finished_ = true;
    const bool undo = doc_->isUndoRedoEnabled();
    doc_->setUndoRedoEnabled(false);
    if (text_.isEmpty()) {
        QTextCursor(doc_).setBlockFormat(
            QTextDocumentPrivate::get(doc_)->formatCollection()->blockFormat(blockFormat_));
    } else {
        writeDocument();
    }
    doc_->setUndoRedoEnabled(undo);
    text_ = QString();
    fragments_ = {};
    blocks_ = {};
    tables_ = {};
}

void DocumentBuilder::writeDocument()
{
    QTextDocumentPrivate* priv = QTextDocumentPrivate::get(doc_);
    // The cleared document is one empty block: its separator stays the
    // document's last character.
    auto& fragmentMap = priv->fragmentMap();
    auto& blockMap = priv->blockMap();
    auto& fragments = treeData(fragmentMap);
    auto& blocks = treeData(blockMap);
    blocks_.push_back(Block{blockLength_ + 1, blockFormat_});
    const uint fragmentCount = uint(fragments_.size()) + 1;
    const uint blockCount = uint(blocks_.size());
    reserveNodes(fragments, fragmentCount);
    reserveNodes(blocks, blockCount);
    priv->beginEditBlock();
    const int finalFormat = fragmentMap.fragment(uint(fragmentMap.firstNode()))->format;
    for (uint b = uint(blockMap.firstNode()); b; b = blockMap.next(b))
        blockMap.fragment(b)->free();

    // One insertion puts the whole text in the buffer, behind the final
    // separator, and tells the document and its cursors what changed; the
    // trees are then written anew over it.
    priv->insert(0, text_, charFormat(QTextCharFormat()));

    buildTree(fragments, fragmentCount, [&](uint i) {
        return i < fragmentCount ? uint(fragments_[i - 1].length) : 1u;
    });
    int stringPosition = 1;
    for (uint i = 1; i < fragmentCount; ++i) {
        QTextFragmentData& f = fragments.fragments[i];
        f.stringPosition = stringPosition;
        f.format = fragments_[i - 1].format;
        stringPosition += fragments_[i - 1].length;
    }
    fragments.fragments[fragmentCount].stringPosition = 0;
    fragments.fragments[fragmentCount].format = finalFormat;

    buildTree(blocks, blockCount, [&](uint i) { return uint(blocks_[i - 1].length); });
    const int revision = doc_->revision();
    for (uint i = 1; i <= blockCount; ++i) {
        QTextBlockData& b = blocks.fragments[i];
        b.initialize();
        b.format = blocks_[i - 1].format;
        b.revision = revision;
    }

    // Tables are frames of the root frame, found by their markers.
    QTextFrame* root = priv->rootFrame();
    auto* rootData = static_cast<QTextFramePrivate*>(QObjectPrivate::get(root));
    for (const Table& t : tables_) {
        auto* d = static_cast<QTextTablePrivate*>(QObjectPrivate::get(t.table));
        d->fragment_start = uint(t.cells.front());
        d->fragment_end = uint(t.end);
        d->cells = QList<int>(t.cells.begin(), t.cells.end());
        d->dirty = true;
        d->parentFrame = root;
        rootData->childFrames.append(t.table);
    }
    priv->endEditBlock();
}

std::string documentTreeFault(QTextDocument* doc)
{
    QTextDocumentPrivate* priv = QTextDocumentPrivate::get(doc);
    std::string error = treeFault(priv->fragmentMap());
    if (error.empty())
        error = treeFault(priv->blockMap());
    if (error.empty() && priv->fragmentMap().length() != priv->blockMap().length())
        error = "fragments and blocks differ in length";
    if (!error.empty())
        return error;
    // Block separators stand alone: Qt finds blocks' ends by them.
    const QString text = priv->buffer();
    for (auto it = priv->begin(); it != priv->end(); ++it) {
        if (it.size() == 1)
            continue;
        for (int i = 0; i < int(it.size()); ++i) {
            if (isSeparator(text.at(it->stringPosition + i).unicode()))
                return "separator inside a fragment";
        }
    }
    return {};
}

} // namespace kvx::rtf
