#include "rtfreaderstate.h"

#include <algorithm>

namespace kvx::rtf::detail {

void Reader::commitFontName()
{
    if (fontEntry_ >= 0) {
        FontEntry& f = fonts_[fontEntry_];
        QString name;
        decoder_.decode(f.codePage > 0 ? f.codePage : docCodePage_,
                        QByteArrayView(fontNameBytes_.data(), qsizetype(fontNameBytes_.size())), name);
        f.name = name.trimmed();
        formatCache_.clear();
        indexCache_.clear();
    }
    fontNameBytes_.clear();
}

void Reader::setFont(int index)
{
    st_.ch.font = index;
    refreshCodePage();
}

int Reader::fontCodePage(int font) const
{
    auto it = fonts_.find(font);
    const int cp = it != fonts_.end() ? it->second.codePage : 0;
    return cp != 0 ? cp : docCodePage_;
}

SymbolFont Reader::symbolFont(int font) const
{
    auto it = fonts_.find(font);
    if (it == fonts_.end())
        return SymbolFont::None;
    return symbolFontKind(it->second.name, it->second.symbolCharset);
}

void Reader::refreshCodePage()
{
    // A byte is decoded in the font of its kind of text where the file
    // names one (\loch, \hich, \dbch), else in the run's font.
    const int font = st_.runFonts[st_.runType];
    st_.codePage = fontCodePage(font >= 0 ? font : st_.ch.font);
}


// The font and colour tables, the document's code page, and the fonts that
// decode the bytes after \loch, \hich and \dbch.
void Reader::documentTableKeyword(const KwInfo& info, int param)
{
    switch (info.kw) {
    case Kw::FontTbl:
        // Only the first table can be kept: a later one (damage, or a
        // document pasted into another) may only add fonts.
        if (st_.dest == Dest::FontTable)
            break;  // damage inside the table: still the same table
        st_.dest = Dest::FontTable;
        fontEntry_ = -1;
        if (++fontTables_ == 1)
            startCapture(kept_.fontTable, "fonttbl");
        break;
    case Kw::ColorTbl:
        if (st_.dest == Dest::ColorTable)
            break;
        st_.dest = Dest::ColorTable;
        // As with fonts, a later table only adds colours.
        if (++colorTables_ == 1)
            startCapture(kept_.colorTable, "colortbl");
        colorEntry_ = 0;
        red_ = green_ = blue_ = -1;
        break;
    case Kw::F:
        if (st_.dest == Dest::FontTable) {
            // Text read in a font was decoded by its first definition; a
            // later table that redefines it would make the saved file read
            // otherwise.
            auto it = fonts_.find(param);
            if (it == fonts_.end())
                fonts_.emplace(param, FontEntry{.name = {}, .codePage = 0, .symbolCharset = false, .table = fontTables_});
            fontEntry_ = it == fonts_.end() || it->second.table == fontTables_ ? param : -1;
            fontNameBytes_.clear();
        } else if (st_.dest == Dest::ListLevel) {
            level_.font = param;
        } else {
            st_.runFonts[st_.runType] = param;
            setFont(param);
        }
        break;
    case Kw::Af:
        if (st_.dest != Dest::FontTable && st_.dest != Dest::ListLevel) {
            st_.runFonts[st_.runType] = param;
            refreshCodePage();
        }
        break;
    case Kw::Loch:
    case Kw::Hich:
    case Kw::Dbch:
        st_.runType = info.kw == Kw::Loch ? 0 : info.kw == Kw::Hich ? 1 : 2;
        refreshCodePage();
        break;
    case Kw::FCharset:
        if (st_.dest == Dest::FontTable && fontEntry_ >= 0) {
            // ANSI means Windows-1252 whatever the document's code page;
            // only a font without a character set follows the document.
            const int cp = param == 0 ? 1252 : codePageForCharset(param);
            FontEntry& f = fonts_[fontEntry_];
            if (param == 2)
                f.symbolCharset = true;
            if (f.codePage == 0 && (cp == CodePageDecoder::kSymbol || decoder_.isSupported(cp)))
                f.codePage = cp;
        }
        break;
    case Kw::Cpg:
        if (st_.dest == Dest::FontTable && fontEntry_ >= 0 && param > 0 && decoder_.isSupported(param))
            fonts_[fontEntry_].codePage = param;
        break;
    case Kw::Deff:
        defaultFont_ = param;
        kept_.defaultFont = param;
        if (st_.ch.font < 0)
            setFont(param);
        break;
    case Kw::DocCharset:
        docCodePage_ = info.value;
        refreshCodePage();
        break;
    case Kw::AnsiCpg:
        if (param > 0 && decoder_.isSupported(param))
            docCodePage_ = param;
        else
            warn(QStringLiteral("Code page %1 is not supported; Windows-1252 was used.").arg(param));
        refreshCodePage();
        break;
    case Kw::S:
        if (st_.dest == Dest::Body)
            st_.pa.style = std::clamp(param, 0, 32767);
        break;
    case Kw::Red: red_ = param; break;
    case Kw::Green: green_ = param; break;
    case Kw::Blue: blue_ = param; break;
    default: break;
    }
}

// A colour table entry ends at each ';'.
void Reader::colorTableText(QStringView text)
{
    for (QChar c : text) {
        if (c != QLatin1Char(';'))
            continue;
        if (colorEntry_++ < colors_.size()) {
            // defined by an earlier table
        } else if (red_ < 0 && green_ < 0 && blue_ < 0) {
            colors_.emplace_back();  // "auto"
        } else {
            colors_.emplace_back(std::clamp(red_, 0, 255), std::clamp(green_, 0, 255), std::clamp(blue_, 0, 255));
        }
        if (colorTables_ == 1)
            firstTableColors_ = colors_.size();
        red_ = green_ = blue_ = -1;
        formatCache_.clear();
        indexCache_.clear();
    }
}

} // namespace kvx::rtf::detail
