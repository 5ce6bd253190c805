#include "rtfbuilderimpl.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QTextTableFormat>

// The fast builder: the document's own structures, the text buffer, its
// fragment and block trees and the frames' fragment numbers, written whole
// (README.md says why). Built only where CMake verified Qt's private API, and
// used only when the running Qt is the one built against.
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
    return (c == QChar::ParagraphSeparator) | (c == QTextBeginningOfFrame) | (c == QTextEndOfFrame);
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

class FastBuilder final : public DocumentBuilder {
public:
    FastBuilder(QTextDocument* doc, qsizetype maxLength) : DocumentBuilder(doc, maxLength) { start(); }

    BuilderKind kind() const override { return BuilderKind::Fast; }
    int charFormat(const QTextCharFormat& format) override { return formats()->indexForFormat(format); }
    int blockFormat(const QTextBlockFormat& format) override { return formats()->indexForFormat(format); }
    QTextBlockFormat blockFormatAt(int index) const override { return formats()->blockFormat(index); }

protected:
    QTextCharFormat charFormatAt(int index) const override { return formats()->charFormat(index); }
    void write() override;

private:
    QTextFormatCollection* formats() const { return QTextDocumentPrivate::get(doc_)->formatCollection(); }
    void writeTables();
};

void FastBuilder::write()
{
    QTextDocumentPrivate* priv = QTextDocumentPrivate::get(doc_);
    // The cleared document is one empty block: its separator stays the
    // document's last character.
    auto& fragmentMap = priv->fragmentMap();
    auto& blockMap = priv->blockMap();
    auto& fragments = treeData(fragmentMap);
    auto& blocks = treeData(blockMap);
    const uint fragmentCount = uint(fragments_.size()) + 1;
    const uint blockCount = uint(blocks_.size());
    // A few more for the table marks inserted below.
    reserveNodes(fragments, fragmentCount + 4);
    reserveNodes(blocks, blockCount + 4);
    priv->beginEditBlock();
    const int finalFormat = fragmentMap.fragment(uint(fragmentMap.firstNode()))->format;

    // One insertion puts all the text in the buffer, behind the final
    // separator, and tells the document and its cursors what changed; the
    // trees are then written anew over it. Qt's insertions take no block
    // marks in their text, so the text holds a stand-in for each: a
    // paragraph mark's fragment is the final separator's character (at 0),
    // and a table's marks share two characters that two insertions, removed
    // again at once, leave in the buffer.
    int frameMarks[2] = {0, 0};
    if (!tables_.empty()) {
        const int plainBlock = blockFormat(QTextBlockFormat());
        frameMarks[0] = int(priv->buffer().size());
        priv->insertBlock(QTextBeginningOfFrame, 0, plainBlock, defaultCharFormat_, QTextUndoCommand::KeepCursor);
        frameMarks[1] = int(priv->buffer().size());
        priv->insertBlock(QTextEndOfFrame, 0, plainBlock, defaultCharFormat_, QTextUndoCommand::KeepCursor);
        priv->remove(0, 2, QTextUndoCommand::KeepCursor);
    }
    const int textStart = int(priv->buffer().size());
    priv->insert(0, text_, defaultCharFormat_);
    for (uint b = uint(blockMap.firstNode()); b; b = blockMap.next(b))
        blockMap.fragment(b)->free();

    buildTree(fragments, fragmentCount, [&](uint i) {
        return i < fragmentCount ? uint(fragments_[i - 1].length) : 1u;
    });
    int stringPosition = textStart;
    for (uint i = 1; i < fragmentCount; ++i) {
        QTextFragmentData& f = fragments.fragments[i];
        const Fragment& g = fragments_[i - 1];
        f.format = g.format;
        if (g.separator == 0)
            f.stringPosition = stringPosition;
        else if (g.separator == QChar::ParagraphSeparator)
            f.stringPosition = 0;
        else
            f.stringPosition = frameMarks[g.separator == kTableEndMark ? 1 : 0];
        stringPosition += g.length;
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
    writeTables();
    priv->endEditBlock();
}

// Tables are frames of the root frame, found by their markers, which carry
// the table's object.
void FastBuilder::writeTables()
{
    QTextDocumentPrivate* priv = QTextDocumentPrivate::get(doc_);
    auto& fragments = treeData(priv->fragmentMap());
    QTextFrame* root = priv->rootFrame();
    auto* rootData = static_cast<QTextFramePrivate*>(QObjectPrivate::get(root));
    for (const Table& t : tables_) {
        auto* table = qobject_cast<QTextTable*>(priv->createObject(t.format));
        if (!table)
            continue;
        QTextCharFormat marker;
        marker.setObjectIndex(table->objectIndex());
        marker.setObjectType(QTextFormat::TableCellObject);
        const int plainMarker = charFormat(marker);
        auto markerFormat = [&](int own) {
            if (own == defaultCharFormat_)
                return plainMarker;
            QTextCharFormat f = formats()->charFormat(own);
            f.setObjectIndex(table->objectIndex());
            f.setObjectType(QTextFormat::TableCellObject);
            return charFormat(f);
        };
        // Fragment numbers start at 1.
        QList<int> cells;
        cells.reserve(qsizetype(t.cells.size()));
        for (int n : t.cells) {
            QTextFragmentData& f = fragments.fragments[n + 1];
            f.format = markerFormat(f.format);
            cells.append(n + 1);
        }
        fragments.fragments[t.end + 1].format = plainMarker;
        auto* d = static_cast<QTextTablePrivate*>(QObjectPrivate::get(table));
        d->fragment_start = uint(cells.front());
        d->fragment_end = uint(t.end + 1);
        d->cells = std::move(cells);
        d->dirty = true;
        d->parentFrame = root;
        rootData->childFrames.append(table);
    }
}

} // namespace

std::unique_ptr<DocumentBuilder> makeFastBuilder(QTextDocument* doc, qsizetype maxLength)
{
    return std::make_unique<FastBuilder>(doc, maxLength);
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
