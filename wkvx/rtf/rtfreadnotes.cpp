#include "rtfreaderstate.h"

namespace kvx::rtf::detail {

void Reader::noteKeyword(Kw kw)
{
    if (kw != Kw::Footnote)
        return;
    // The note's number stands where the note is; \chftn in the text
    // before it is the same number and not shown twice (LibreOffice
    // reads notes so). Endnotes (\ftnalt) count in roman numerals.
    if (st_.dest == Dest::Body) {
        if (lex_.nextIs("\\ftnalt"))
            emitText(formatListNumber(++endnoteCount_, 2));
        else
            emitText(QString::number(++footnoteCount_));
    }
    st_.dest = Dest::Skip;
    skipGroupRest();
}

} // namespace kvx::rtf::detail
