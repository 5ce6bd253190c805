#pragma once

#include <QByteArray>
#include <QColor>
#include <QMetaType>
#include <QString>
#include <QTextFormat>

#include <utility>
#include <vector>

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
    // Block property (int): the paragraph's style (\sN) in the kept style sheet.
    StyleProperty,
    // Block properties of every paragraph after a section break: the
    // break's number in reading order (int) and the section's own
    // properties, headers and footers as read after \sect (QByteArray).
    SectionIdProperty,
    SectionProperty,
    // Character properties of a footnote's or endnote's mark: the note's
    // group as read (QByteArray), its number in reading order (int), the
    // mark's text as read (QString; text typed after the mark takes its
    // format but is no mark) and whether the mark is the note's automatic
    // number (bool) rather than a character of the file's own.
    NoteProperty,
    NoteIdProperty,
    NoteAnchorProperty,
    NoteAutoProperty,
};

// What an RTF file holds that the document does not show, as read, so that
// saving gives it back: the font and colour tables with their numbers (the
// kept parts refer to them), the style sheet, the information group, the
// document's page and footnote settings and the first section's properties
// with its headers and footers. Empty for a document that was not read from RTF.
struct KeptParts {
    QByteArray fontTable;   // the whole {\fonttbl ...} group
    std::vector<std::pair<int, QString>> fonts;  // number and family of its fonts
    int defaultFont = 0;    // \deff
    int codePage = 1252;    // \ansicpg: of the kept parts' bytes
    std::vector<int> nonAnsiFonts;  // fonts whose bytes are not Windows-1252
    std::vector<int> symbolFonts;   // of those, fonts whose bytes are symbols, ASCII too
    // Fonts of the symbol character set, whose list markers show symbols
    // whatever the font's name and code page.
    std::vector<int> symbolCharsetFonts;
    QByteArray colorTable;  // the whole {\colortbl ...} group
    std::vector<QColor> colors;  // its entries; invalid for "auto"
    QByteArray styleSheet;
    QByteArray info;
    QByteArray documentFormat;  // \paperw, \margl, ..., {\*\ftnsep ...}
    QByteArray firstSection;    // \sectd ..., {\header ...}, {\footer ...}
    int notes = 0;     // notes kept on their marks (NoteIdProperty 0..notes-1)
    int unkeptNotes = 0;  // of those, notes whose group was damaged: their marks are text
    int sections = 0;  // section breaks kept on paragraphs (SectionIdProperty 0..sections-1)

    bool isEmpty() const
    {
        return fontTable.isEmpty() && colorTable.isEmpty() && styleSheet.isEmpty() && info.isEmpty()
            && documentFormat.isEmpty() && firstSection.isEmpty() && notes == 0 && sections == 0;
    }
};

// The parts kept with doc by the reader (kept as a property of the document
// object, which clear() leaves alone: the reader sets it on every read).
KeptParts keptParts(const QTextDocument& doc);
void setKeptParts(QTextDocument& doc, const KeptParts& parts);

// The document as plain text, the way word processors export it: every
// paragraph and every table cell on its own line (each line ends in '\n'),
// line breaks as '\n', list markers indented four spaces per level and
// followed by one space (an empty marker counts as two spaces).
QString plainText(const QTextDocument& doc);

} // namespace kvx::rtf

Q_DECLARE_METATYPE(kvx::rtf::KeptParts)
