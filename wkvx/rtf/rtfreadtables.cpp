#include "rtfreaderstate.h"

#include "rtfdocument.h"

#include <QTextTableFormat>

#include <algorithm>

namespace kvx::rtf::detail {

// A cell holds kMaxCellParagraphs paragraphs at most. Nested tables are
// read into their outer cell, and Qt lays a table cell out whole, so a file
// of thousands of nesting levels would take minutes to show: past the bound
// the table ends, and the rest of its text is read as paragraphs until a
// paragraph outside any table.
void Reader::addToCell(Para&& para)
{
    if (cell_.size() < kMaxCellParagraphs) {
        cell_.push_back(std::move(para));
        return;
    }
    warn(QStringLiteral("A table cell of more than %1 paragraphs was read as paragraphs.").arg(kMaxCellParagraphs));
    tableOverflow_ = true;
    flushTable();
    emitPara(std::move(para));
}

void Reader::endCell()
{
    flushBytes();
    addToCell(takeParagraph());
    if (tableOverflow_)
        return;
    row_.push_back(std::move(cell_));
    cell_.clear();
    tableOpen_ = true;
}

// A cell or row still open goes with the table's rows.
void Reader::keepOpenCellAndRow()
{
    if (!cell_.empty()) {
        row_.push_back(std::move(cell_));
        cell_.clear();
    }
    if (!row_.empty()) {
        rows_.push_back(std::move(row_));
        row_.clear();
    }
}

void Reader::endRow()
{
    flushBytes();
    if (paraHasContent())
        endCell();
    keepOpenCellAndRow();
}

void Reader::flushTable()
{
    tableOpen_ = false;
    rowDefined_ = false;
    keepOpenCellAndRow();
    std::vector<Row> rows = std::move(rows_);
    rows_.clear();
    if (rows.empty())
        return;
    int columns = 1;
    for (Row& row : rows) {
        if (int(row.size()) > kMaxColumns) {
            Cell& last = row[kMaxColumns - 1];
            for (size_t i = kMaxColumns; i < row.size(); ++i)
                for (Para& para : row[i])
                    last.push_back(std::move(para));
            row.resize(kMaxColumns);
        }
        columns = std::max(columns, int(row.size()));
    }
    const long long cells = (long long)rows.size() * columns;
    if (tableCells_ + cells > std::max(kMinTableCells, inputSize_ / kBytesPerTableCell)) {
        warn(QStringLiteral("Tables too large to lay out were read as paragraphs."));
        for (Row& row : rows)
            for (Cell& cell : row)
                for (Para& para : cell)
                    emitPara(std::move(para));
        return;
    }
    tableCells_ += cells;

    if (!blockUsed_) {
        // QTextDocument keeps a block before every table.
        QTextBlockFormat filler = builder_->blockFormatAt(builder_->currentBlockFormat());
        filler.setProperty(FillerBlockProperty, true);
        builder_->setBlockFormat(builder_->blockFormat(filler));
    }
    QTextTableFormat tf;
    tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    tf.setBorder(1);
    tf.setCellPadding(2);
    tf.setCellSpacing(0);
    builder_->beginTable(columns, tf);
    QTextCharFormat padding;
    padding.setProperty(PaddingCellProperty, true);
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c < int(rows[r].size())) {
                bool first = true;
                for (Para& para : rows[r][c]) {
                    prepareLabel(para);
                    if (first) {
                        builder_->setBlockFormat(blockFormatIndex(para.props));
                    } else {
                        // A cell's later paragraphs carry on the format of the text before.
                        builder_->appendBlock(blockFormatIndex(para.props), builder_->formatBefore());
                    }
                    insertRuns(para);
                    first = false;
                }
            } else {
                builder_->setCellFormat(padding);
            }
            if (r + 1 < int(rows.size()) || c + 1 < columns)
                builder_->nextCell();
        }
    }
    builder_->endTable();
    blockUsed_ = false;
}

void Reader::tableKeyword(Kw kw, int param)
{
    if (tableOverflow_ && kw != Kw::Intbl && kw != Kw::Itap) {
        // Past the bound cells are paragraphs and rows nothing.
        if (kw == Kw::Cell || kw == Kw::NestCell)
            endParagraph();
        return;
    }
    switch (kw) {
    case Kw::Cell:
        // A cell mark with no table around it at all is ignored, as
        // LibreOffice does; a row definition or \intbl is enough of a table.
        if (tableOpen_ || rowDefined_ || st_.pa.intbl)
            endCell();
        break;
    case Kw::Trowd:
        rowDefined_ = true;
        break;
    case Kw::NestCell:
        st_.pa.intbl = true;
        endParagraph();
        break;
    case Kw::Row: endRow(); break;
    case Kw::NestRow: break;
    case Kw::Intbl: st_.pa.intbl = true; break;
    case Kw::Itap: st_.pa.intbl = param > 0; break;
    default: break;
    }
}

} // namespace kvx::rtf::detail
