#pragma once

#include <QString>
#include <QTextFormat>

class QTextDocument;

namespace kvx::rtf {

// Marks that the RTF reader leaves on a document. They let the plain-text view
// and the writer tell the reader's structure from the user's text.
enum Property : int {
    // Character property (bool): the text is a list item's marker ("1.", "•")
    // followed by its tab, read from \listtext or \pntext.
    ListLabelProperty = QTextFormat::UserProperty + 0x4B00,
    // Block property (int): list level, 0 for the first level; set only on
    // paragraphs that belong to a list.
    ListLevelProperty,
    // Block property (bool): an empty block that exists only because a
    // QTextDocument needs a block before or after a table.
    FillerBlockProperty,
    // Table cell property (bool): a cell that pads a row shorter than the
    // table's widest row; it did not exist in the file.
    PaddingCellProperty,
    // Image format properties (QByteArray) of a picture Qt cannot show (a
    // metafile, ...): its \pict keywords such as "\wmetafile8\picw40" and
    // its data, so that the writer gives it back unchanged. The document
    // shows a placeholder box of the picture's size.
    PictureHeaderProperty,
    PictureDataProperty,
    // Root frame properties (int, twips): the page the file asks for, from
    // \margl, \margr, \margt, \margb, \paperw and \paperh; set only for
    // those the file gives.
    PageMarginLeftProperty,
    PageMarginRightProperty,
    PageMarginTopProperty,
    PageMarginBottomProperty,
    PaperWidthProperty,
    PaperHeightProperty,
};

// The document as plain text, the way word processors export it: every
// paragraph and every table cell on its own line (each line ends in '\n'),
// line breaks as '\n', list markers indented four spaces per level and
// followed by one space (an empty marker counts as two spaces).
QString plainText(const QTextDocument& doc);

} // namespace kvx::rtf
