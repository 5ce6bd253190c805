#include "rtfreaderstate.h"

#include "rtfdocument.h"

#include <QStringDecoder>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>

namespace kvx::rtf::detail {

namespace {

Concern concernOf(Kw kw)
{
    switch (kw) {
    case Kw::FontTbl: case Kw::ColorTbl: case Kw::F: case Kw::FCharset: case Kw::Cpg: case Kw::Deff:
    case Kw::DocCharset: case Kw::AnsiCpg: case Kw::Red: case Kw::Green: case Kw::Blue:
    case Kw::Loch: case Kw::Hich: case Kw::Dbch: case Kw::Af:
        return Concern::DocumentTables;
    case Kw::Ls: case Kw::Ilvl: case Kw::Pn: case Kw::PnLvl: case Kw::PnType: case Kw::PnStart: case Kw::PnFont:
    case Kw::PnText: case Kw::ListText: case Kw::ListTable: case Kw::List: case Kw::ListLevel: case Kw::LevelText:
    case Kw::LevelNumbers: case Kw::LevelNfc: case Kw::LevelStartAt: case Kw::LevelFollow: case Kw::LevelLegal:
    case Kw::LevelNoRestart: case Kw::ListId: case Kw::ListSimple: case Kw::OverrideTable: case Kw::ListOverride:
    case Kw::LfoLevel:
        return Concern::Lists;
    case Kw::Cell: case Kw::Row: case Kw::Trowd: case Kw::NestCell: case Kw::NestRow: case Kw::Intbl: case Kw::Itap:
        return Concern::Tables;
    case Kw::Field: case Kw::FldInst: case Kw::FldRslt:
        return Concern::Fields;
    case Kw::Footnote: case Kw::Sect: case Kw::StyleSheet: case Kw::Info: case Kw::HeaderFooter: case Kw::DocGroup:
    case Kw::SectGroup: case Kw::DocFormat: case Kw::SectFormat: case Kw::Chftn:
        return Concern::Notes;
    case Kw::S:
        return Concern::DocumentTables;
    case Kw::Pict: case Kw::ShpPict: case Kw::PictKind: case Kw::PicW: case Kw::PicH: case Kw::PicWGoal:
    case Kw::PicHGoal: case Kw::PicScaleX: case Kw::PicScaleY:
        return Concern::Pictures;
    default:
        return Concern::Core;
    }
}

} // namespace

const std::unordered_map<std::string_view, KwInfo>& keywordTable()
{
    static const std::unordered_map<std::string_view, KwInfo> table = [] {
        std::unordered_map<std::string_view, KwInfo> t;
        const std::pair<const char*, Kw> words[] = {
            {"rtf", Kw::Rtf}, {"fonttbl", Kw::FontTbl}, {"colortbl", Kw::ColorTbl}, {"f", Kw::F},
            {"fcharset", Kw::FCharset}, {"cpg", Kw::Cpg}, {"deff", Kw::Deff}, {"ansicpg", Kw::AnsiCpg},
            {"red", Kw::Red}, {"green", Kw::Green}, {"blue", Kw::Blue}, {"uc", Kw::Uc}, {"u", Kw::U},
            {"cs", Kw::Rtf}, {"ds", Kw::Rtf}, {"ts", Kw::Rtf},  // styles: nothing to do, but known
            {"bin", Kw::Bin}, {"par", Kw::Par}, {"line", Kw::Line}, {"tab", Kw::Tab}, {"sect", Kw::Sect}, {"column", Kw::Column},
            {"page", Kw::Page}, {"cell", Kw::Cell}, {"row", Kw::Row}, {"nestcell", Kw::NestCell},
            {"nestrow", Kw::NestRow}, {"trowd", Kw::Trowd}, {"intbl", Kw::Intbl}, {"itap", Kw::Itap}, {"pard", Kw::Pard},
            {"plain", Kw::Plain}, {"b", Kw::B}, {"i", Kw::I}, {"ul", Kw::Ul}, {"ulnone", Kw::UlNone},
            {"uld", Kw::Ul}, {"uldb", Kw::Ul}, {"ulw", Kw::Ul}, {"ulwave", Kw::Ul}, {"ulth", Kw::Ul},
            {"uldash", Kw::Ul}, {"uldashd", Kw::Ul}, {"uldashdd", Kw::Ul}, {"ulhair", Kw::Ul},
            {"ulthd", Kw::Ul}, {"ulthdash", Kw::Ul}, {"ulldash", Kw::Ul}, {"ulthldash", Kw::Ul},
            {"ulthdashd", Kw::Ul}, {"ulthdashdd", Kw::Ul}, {"ulhwave", Kw::Ul}, {"ululdbwave", Kw::Ul},
            {"strike", Kw::Strike}, {"striked", Kw::Strike}, {"fs", Kw::Fs}, {"cf", Kw::Cf},
            {"cb", Kw::Cb}, {"chcbpat", Kw::Cb}, {"highlight", Kw::Highlight}, {"super", Kw::Super},
            {"sub", Kw::Sub}, {"nosupersub", Kw::NoSuperSub}, {"ql", Kw::Ql}, {"qr", Kw::Qr},
            {"qc", Kw::Qc}, {"qj", Kw::Qj}, {"qd", Kw::Qj}, {"li", Kw::Li}, {"lin", Kw::Li},
            {"ri", Kw::Ri}, {"rin", Kw::Ri}, {"fi", Kw::Fi}, {"sb", Kw::Sb}, {"sa", Kw::Sa},
            {"ls", Kw::Ls}, {"ilvl", Kw::Ilvl}, {"pn", Kw::Pn}, {"pnlvl", Kw::PnLvl},
            {"pnf", Kw::PnFont}, {"pnstart", Kw::PnStart},
            {"listtext", Kw::ListText}, {"pntext", Kw::ListText}, {"field", Kw::Field},
            {"fldinst", Kw::FldInst}, {"fldrslt", Kw::FldRslt}, {"ud", Kw::Ud},
            {"footnote", Kw::Footnote}, {"generator", Kw::Generator},
            {"loch", Kw::Loch}, {"hich", Kw::Hich}, {"dbch", Kw::Dbch}, {"af", Kw::Af},
            {"listtable", Kw::ListTable}, {"list", Kw::List}, {"listlevel", Kw::ListLevel},
            {"leveltext", Kw::LevelText}, {"levelnumbers", Kw::LevelNumbers}, {"levelnfc", Kw::LevelNfc},
            {"levelnfcn", Kw::LevelNfc}, {"levelstartat", Kw::LevelStartAt}, {"levelfollow", Kw::LevelFollow},
            {"levellegal", Kw::LevelLegal}, {"levelnorestart", Kw::LevelNoRestart}, {"listid", Kw::ListId},
            {"listsimple", Kw::ListSimple}, {"listoverridetable", Kw::OverrideTable},
            {"listoverride", Kw::ListOverride}, {"lfolevel", Kw::LfoLevel}, {"pict", Kw::Pict}, {"shppict", Kw::ShpPict},
            {"picw", Kw::PicW}, {"pich", Kw::PicH}, {"picwgoal", Kw::PicWGoal}, {"pichgoal", Kw::PicHGoal},
            {"picscalex", Kw::PicScaleX}, {"picscaley", Kw::PicScaleY},
        };
        for (const auto& [name, kw] : words)
            t.emplace(name, KwInfo{kw, 0, concernOf(kw)});
        const std::pair<const char*, Kw> kept[] = {
            {"stylesheet", Kw::StyleSheet}, {"info", Kw::Info}, {"s", Kw::S}, {"chftn", Kw::Chftn},
            {"header", Kw::HeaderFooter}, {"headerl", Kw::HeaderFooter}, {"headerr", Kw::HeaderFooter},
            {"headerf", Kw::HeaderFooter}, {"footer", Kw::HeaderFooter}, {"footerl", Kw::HeaderFooter},
            {"footerr", Kw::HeaderFooter}, {"footerf", Kw::HeaderFooter}, {"pnseclvl", Kw::SectGroup},
            {"ftnsep", Kw::DocGroup}, {"ftnsepc", Kw::DocGroup}, {"ftncn", Kw::DocGroup}, {"aftnsep", Kw::DocGroup},
            {"aftnsepc", Kw::DocGroup}, {"aftncn", Kw::DocGroup}, {"pgdsctbl", Kw::DocGroup},
        };
        for (const auto& [name, kw] : kept)
            t.emplace(name, KwInfo{kw, 0, concernOf(kw)});
        // The document's page, margins, footnote and view settings, and a
        // section's: kept as read, not interpreted.
        const char* documentFormat[] = {
            "paperw", "paperh", "psz", "margl", "margr", "margt", "margb", "facingp", "gutter", "ogutter",
            "rtlgutter", "gutterprl", "margmirror", "landscape", "pgnstart", "widowctrl", "twoonone", "bookfold",
            "bookfoldrev", "bookfoldsheets", "deftab", "hyphhotz", "hyphconsec", "hyphcaps", "hyphauto",
            "linestart", "fracwidth", "makebackup", "defformat", "psover", "doctemp", "deflang", "deflangfe",
            "adeflang", "doctype", "horzdoc", "vertdoc", "jcompress", "jexpand", "lnongrid", "fet",
            "endnotes", "enddoc", "ftntj", "ftnbj", "ftnstart", "ftnrstpg", "ftnrestart", "ftnrstcont",
            "ftnnar", "ftnnalc", "ftnnauc", "ftnnrlc", "ftnnruc", "ftnnchi", "aendnotes", "aenddoc", "aftntj",
            "aftnbj", "aftnstart", "aftnrstcont", "aftnrestart", "aftnnar", "aftnnalc", "aftnnauc", "aftnnrlc",
            "aftnnruc", "aftnnchi", "formprot", "allprot", "formshade", "formdisp", "revprot", "revisions",
            "revbar", "revprop", "annotprot", "readprot", "viewscale", "viewzk", "viewbksp", "dghspace",
            "dgvspace", "dghorigin", "dgvorigin", "dghshow", "dgvshow", "dgsnap", "dgmargin", "noxlattoyen",
            "expshrtn", "noultrlspc", "dntblnsbdb", "nospaceforul", "htmautsp", "nolnhtadjtbl", "lytexcttp",
            "lytprtmet", "splytwnine", "ftnlytwnine", "useltbaln", "alntblind", "lytcalctblwd", "lyttblrtgr",
            "lnbrkrule", "nojkernpunct", "asianbrkrule", "snaptogridincell", "allowfieldendsel", "wrppunct",
            "nobrkwrptbl", "newtblstyruls", "nogrowautofit", "trackmoves", "trackformatting",
            "donotembedsysfont", "relyonvml", "donotembedlingdata", "grfdocevents", "validatexml",
            "showplaceholdtext", "ignoremixedcontent", "saveinvalidxml", "showxmlerrors", "themelang",
            "themelangfe", "themelangcs", "stylelock", "stylelockenforced", "stylelockqfset", "stylelocktheme",
            "stylesortmethod", "autofmtoverride", "rempersonalinfo", "remdttm", "notabind", "wraptrsp",
            "prcolbl", "noextrasprl", "nocolbal", "cvmme", "sprstsp", "sprsspbf", "otblrul", "transmf",
            "swpbdr", "brkfrm", "sprslnsp", "subfontbysize", "truncatefontheight", "truncex", "bdbfhdr",
            "msmcap", "nolead", "oldlinewrap", "sprsbsp", "sprstsm", "wpjst", "wpsp", "wptab", "oldas",
            "bdrrlswsix", "ApplyBrkRules", "linkstyles", "hwelev", "usexform", "ilfomacatclnup",
        };
        for (const char* name : documentFormat)
            t.emplace(name, KwInfo{Kw::DocFormat, 0, Concern::Notes});
        const char* sectionFormat[] = {
            "sectd", "sbknone", "sbkcol", "sbkpage", "sbkeven", "sbkodd", "cols", "colsx", "colno", "colsr",
            "colw", "linebetcol", "sftntj", "sftnbj", "sftnstart", "sftnrstpg", "sftnrestart", "sftnrstcont",
            "sftnnar", "sftnnalc", "sftnnauc", "sftnnrlc", "sftnnruc", "sftnnchi", "saftnstart",
            "saftnrestart", "saftnrstcont", "saftnnar", "saftnnalc", "saftnnauc", "saftnnrlc", "saftnnruc",
            "saftnnchi", "endnhere", "binfsxn", "binsxn", "linemod", "linex", "linestarts", "linerestart",
            "lineppage", "linecont", "pgwsxn", "pghsxn", "marglsxn", "margrsxn", "margtsxn", "margbsxn",
            "guttersxn", "margmirsxn", "lndscpsxn", "titlepg", "headery", "footery", "pgnstarts", "pgncont",
            "pgnrestart", "pgnx", "pgny", "pgndec", "pgnucrm", "pgnlcrm", "pgnucltr", "pgnlcltr", "pgnhn",
            "pgnhnsh", "pgnhnsp", "pgnhnsc", "pgnhnsm", "pgnhnsn", "vertalt", "vertalb", "vertalc", "vertalj",
            "vertal", "sectunlocked", "ltrsect", "rtlsect", "stextflow", "sectexpand", "sectlinegrid",
            "sectdefaultcl", "sectspecifycl", "sectspecifyl", "sectspecifygen", "pgdscno",
        };
        for (const char* name : sectionFormat)
            t.emplace(name, KwInfo{Kw::SectFormat, 0, Concern::Notes});
        const std::pair<const char*, char16_t> charsets[] = {
            {"ansi", 1252}, {"mac", 10000}, {"pc", 437}, {"pca", 850},
        };
        for (const auto& [name, cp] : charsets)
            t.emplace(name, KwInfo{Kw::DocCharset, cp, Concern::DocumentTables});
        const std::pair<const char*, char16_t> pnTypes[] = {
            {"pnlvlblt", PnDef::Bullet}, {"pndec", PnDef::Decimal}, {"pnlcltr", PnDef::LowerLetter},
            {"pnucltr", PnDef::UpperLetter}, {"pnlcrm", PnDef::LowerRoman}, {"pnucrm", PnDef::UpperRoman},
        };
        for (const auto& [name, type] : pnTypes)
            t.emplace(name, KwInfo{Kw::PnType, type, Concern::Lists});
        t.emplace("pntxtb", KwInfo{Kw::PnText, 0, Concern::Lists});
        t.emplace("pnlvlcont", KwInfo{Kw::PnLvl, 1, Concern::Lists});
        t.emplace("pntxta", KwInfo{Kw::PnText, 1, Concern::Lists});
        const std::pair<const char*, char16_t> chars[] = {
            {"emdash", 0x2014}, {"endash", 0x2013}, {"emspace", 0x2003}, {"enspace", 0x2002},
            {"qmspace", 0x2005}, {"bullet", 0x2022}, {"lquote", 0x2018}, {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D}, {"zwnj", 0x200C},
            {"ltrmark", 0x200E}, {"rtlmark", 0x200F}, {"zwbo", 0x200B}, {"zwnbo", 0xFEFF},
        };
        for (const auto& [name, ch] : chars)
            t.emplace(name, KwInfo{Kw::Char, ch});
        const char* pictureKinds[] = {
            "pngblip", "jpegblip", "emfblip", "wmetafile", "macpict", "pmmetafile", "dibitmap", "wbitmap",
        };
        for (const char* name : pictureKinds)
            t.emplace(name, KwInfo{Kw::PictKind, 0, Concern::Pictures});
        // Destinations that hold no body text. Unknown destinations marked
        // with \* are skipped as well; unknown ones without it are read, as
        // RTF asks of readers.
        const char* skipped[] = {
            "revtbl",
            "rsidtbl", "filetbl", "nonshppict", "shprslt", "shpinst", "shptxt", "themedata",
            "colorschememapping", "datastore", "latentstyles", "xmlnstbl", "mmathPr",
            "bkmkstart", "bkmkend", "atnid", "atnauthor",
            "annotation", "atrfstart", "atrfend", "atntime", "atnref", "atndate", "atnicn",
            "atnparent", "template", "docvar", "xe", "tc", "tcn", "txe", "background", "userprops", "fchars",
            "lchars", "listpicture", "protusertbl", "objdata", "objclass", "objname",
            "objalias", "objsect", "objtime", "datafield", "do", "sp", "sn", "sv", "listname", "panose", "falt", "fname", "fontemb", "fontfile",
            "keycode", "author", "operator", "title", "subject", "company", "comment", "doccomm",
            "category", "keywords", "manager", "hlinkbase", "creatim", "revtim", "printim",
            "buptim", "passwordhash", "wgrffmtfilter", "mhtmltag", "dptxbxtext", "private",
            "xform", "pxe", "rxe", "bxe", "ebcstart", "ebcend", "blipuid", "picprop",
            "nesttableprops", "nonesttables", "formfield", "fldtype", "ffname", "ffdeftext",
            "ffformat", "ffhelptext", "ffstattext", "ffentrymcr", "ffexitmcr", "ffl",
            "oldcprops", "oldpprops", "oldtprops",
            "oldsprops", "mmath", "moMath", "moMathPara", "annotid", "shpgrp",
        };
        for (const char* name : skipped)
            t.emplace(name, KwInfo{Kw::SkipDest});
        return t;
    }();
    return table;
}

RtfReadResult Reader::run()
{
    builder_ = makeDocumentBuilder(doc_, options_.builder);
    setKeptParts(*doc_, KeptParts{});
    defaultCharFormat_ = builder_->charFormat(QTextCharFormat());
    // Leading white space and a UTF-8 byte order mark are tolerated.
    if (!lex_.skipLeadingSpace()) {
        result_.error = QStringLiteral("The file is empty.");
        return result_;
    }
    result_.ok = true;
    if (!lex_.lookingAt("{\\rtf")) {
        warn(QStringLiteral("The file is not in Rich Text Format; it was read as plain text."));
        readPlainText();
        finish();
        return result_;
    }

    while (!lex_.atEnd() && !rootClosed_) {
        const unsigned char c = lex_.peek();
        if (skipChars_ > 0 && c != '{' && c != '}') {
            // Each literal byte, \'hh or \bin of a \u character's fallback
            // counts as one character; other control words and symbols
            // still do their work, as LibreOffice reads fallbacks.
            if (c == '\\' && !lex_.lookingAt("\\'") && !lex_.lookingAt("\\bin")) {
                controlSequence();
                continue;
            }
            bool truncated = false;
            if (lex_.skipFallbackCharacter(&truncated))
                --skipChars_;
            if (truncated)
                warnBinary();
            continue;
        }
        switch (c) {
        case '{':
            lex_.advance();
            openGroup();
            break;
        case '}':
            lex_.advance();
            closeGroup();
            break;
        case '\\':
            controlSequence();
            break;
        case '\r':
        case '\n':
            lex_.advance();
            break;
        default:
            literalRun();
            break;
        }
    }
    if (!rootClosed_)
        warn(QStringLiteral("The file ends before its last group is closed; it may be truncated."));
    else if (!lex_.onlySpaceLeft())
        warn(QStringLiteral("Data after the end of the document was ignored."));
    finish();
    return result_;
}

void Reader::controlSequence()
{
    const RtfTokenizer::Control c = lex_.readControl();
    switch (c.kind) {
    case RtfTokenizer::Control::End:
        return;
    case RtfTokenizer::Control::Word:
        controlWord(c.word, c.hasParam, c.param);
        return;
    case RtfTokenizer::Control::Hex:
        addByte(c.ch);
        return;
    case RtfTokenizer::Control::BadHex:
        // The two characters of a broken escape go with it, as word
        // processors read them.
        warn(QStringLiteral("Invalid hexadecimal character escapes were ignored."));
        return;
    case RtfTokenizer::Control::Symbol:
        break;
    }
    switch (c.ch) {
    case '\\':
    case '{':
    case '}':
        // Escaped, it may still be the trail byte of a double-byte character
        // (Big5 writes \'a5\\ for one).
        if (isDoubleByteCodePage(st_.codePage) && !bytes_.empty())
            addByte(c.ch);
        else
            emitChar(c.ch);
        break;
    case '*':
        st_.starred = true;
        break;
    case '~': emitChar(0x00A0); break;
    case '-': emitChar(0x00AD); break;
    case '_': emitChar(0x2011); break;
    case '\t': emitChar('\t'); break;
    case '\r':
    case '\n':
        controlWord("par", false, 0);
        break;
    default:
        // \: \| and unknown symbols carry no text.
        break;
    }
}

void Reader::openGroup()
{
    flushBytes();
    // A fallback goes on into a group opened within it; closing the group
    // brings back the count of the group around it.
    st_.skipChars = skipChars_;
    groupOpen_ = lex_.position() - 1;
    groupOpenDepth_ = stack_.size() + 1;
    if (int(stack_.size()) >= kMaxDepth) {
        if (overflowDepth_ == 0)
            warn(QStringLiteral("Groups nested deeper than %1 levels were flattened.").arg(kMaxDepth));
        ++overflowDepth_;
        return;
    }
    stack_.push_back(st_);
    st_.starred = false;
    st_.emittedAtOpen = emitted_;
    st_.paragraphsAtOpen = paragraphs_;
}

void Reader::closeGroup()
{
    flushBytes();
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        skipChars_ = 0;
        return;
    }
    if (stack_.empty()) {
        rootClosed_ = true;
        skipChars_ = 0;
        return;
    }
    skipChars_ = stack_.back().skipChars;
    if (st_.dest == Dest::FontTable && !fontNameBytes_.empty())
        commitFontName();
    const Dest closing = st_.dest;
    st_ = stack_.back();
    stack_.pop_back();
    refreshCodePage();
    if (capture_ && stack_.size() < capture_->depth)
        endCapture();
    if (closing == Dest::ListLevel && st_.dest != Dest::ListLevel)
        finishListLevel(st_.dest);
    else if (closing == Dest::ListEntry && st_.dest != Dest::ListEntry && !lists_.empty())
        listIndex_[lists_.back().id] = lists_.size() - 1;  // \listid ends the entry
    else if (closing == Dest::Override && st_.dest != Dest::Override) {
        if (overrideLs_ >= 0) {
            override_.list = overrideList_;
            overrides_[overrideLs_] = std::move(override_);
        }
        override_ = ListOverride{};
    } else if (inPicture_ && stack_.size() < picture_.depth)
        finishPicture();
    if (!fields_.empty() && stack_.size() < fields_.back().depth)
        finishField();
    if (stack_.empty())
        rootClosed_ = true;
}

bool Reader::skipGroupRest()
{
    bool truncated = false;
    const bool closed = lex_.skipGroup(&truncated);
    if (truncated)
        warnBinary();
    if (closed)
        closeGroup();
    return closed;
}

void Reader::literalRun()
{
    if (st_.dest == Dest::Skip) {
        skipGroupRest();
        return;
    }
    if (st_.dest == Dest::FontTable && lex_.peek() == ';') {
        lex_.advance();
        commitFontName();
        return;
    }
    if (st_.dest == Dest::Picture) {
        pictureHex();
        return;
    }
    if (st_.dest == Dest::LevelText || st_.dest == Dest::LevelNumbers) {
        // A literal ';' ends \levelnumbers; offsets come as \'hh.
        if (st_.dest == Dest::LevelText || lex_.peek() != ';')
            addByte(lex_.peek());
        lex_.advance();
        return;
    }
    // Plain ASCII text goes straight to the paragraph; everything else is a
    // byte of the current code page.
    const bool direct = st_.codePage != CodePageDecoder::kSymbol
        && !(isDoubleByteCodePage(st_.codePage) && !bytes_.empty());
    if (st_.dest == Dest::Body && direct && skipChars_ == 0) {
        const unsigned char* start = lex_.position();
        const QLatin1StringView ascii = lex_.takePlainText();
        if (!ascii.isEmpty()) {
            flushBytes();
            const unsigned char* before = lastLiteralEnd_;
            lastLiteralEnd_ = lex_.position();
            if (options_.libreOfficeSpaces && fromMicrosoft()) {
                // A space joins a run with the literal text right before it.
                const bool joined = before == start && start[-1] == ' ';
                if (ascii.contains(QLatin1String("  ")) || (joined && *start == ' ')) {
                    QString out;
                    out.reserve(ascii.size() * 2);
                    const unsigned char* stop = lex_.position();
                    for (const unsigned char* q = start; q < stop; ++q) {
                        const bool prev = q > start ? q[-1] == ' ' : joined;
                        if (*q == ' ' && (prev || (q + 1 < stop && q[1] == ' ')))
                            out += QChar(0x2006);
                        out += QLatin1Char(char(*q));
                    }
                    emitText(out);
                    return;
                }
            }
            if (st_.ch.label) {
                emitText(QString(ascii));
                return;
            }
            // Printable ASCII needs none of emitText's checks.
            if (hasPending() && !(pendingProps_ == st_.ch))
                closeRun();
            if (!hasPending())
                pendingProps_ = st_.ch;
            paraText_.append(ascii);
            emitted_ += ascii.size();
            return;
        }
    }
    const unsigned char* at = lex_.position();
    const unsigned char c = *at;
    lex_.advance();
    if (c == ' ' && options_.libreOfficeSpaces && st_.dest == Dest::Body && fromMicrosoft()
        && ((!lex_.atEnd() && lex_.peek() == ' ') || (lastLiteralEnd_ == at && at[-1] == ' '))) {
        emitChar(0x2006);  // see RtfReadOptions
        emitChar(' ');
        lastLiteralEnd_ = lex_.position();
        return;
    }
    lastLiteralEnd_ = lex_.position();
    if (c == '\t') {
        emitChar('\t');
    } else if (c < 0x20) {
        // Other control characters are not text.
    } else if (c >= 0x80 || !direct || st_.dest == Dest::FontTable) {
        addByte(c);
    } else {
        emitChar(c);
    }
}

void Reader::addByte(unsigned char b)
{
    if (st_.dest == Dest::FontTable) {
        if (fontNameBytes_.size() < kMaxFontName)
            fontNameBytes_.push_back(char(b));
        return;
    }
    // A level's text is decoded once the level's font is known, and its
    // placeholders are bytes that no code page may touch.
    if (st_.dest == Dest::LevelText) {
        if (levelText_.size() < 256)
            levelText_.push_back(ListLevelDef::kByteTag | b);
        return;
    }
    if (st_.dest == Dest::LevelNumbers) {
        if (levelNumbers_.size() < 16)
            levelNumbers_.push_back(char(b));
        return;
    }
    if (!bytes_.empty() && bytesCodePage_ != st_.codePage)
        flushBytes();
    bytesCodePage_ = st_.codePage;
    bytes_.push_back(char(b));
}

void Reader::flushBytes()
{
    if (bytes_.empty())
        return;
    QString text;
    decoder_.decode(bytesCodePage_, QByteArrayView(bytes_.data(), qsizetype(bytes_.size())), text);
    bytes_.clear();
    emitToDest(text);
}

void Reader::emitChar(char16_t c)
{
    flushBytes();
    const QChar ch(c);
    emitToDest(QStringView(&ch, 1));
}

void Reader::emitToDest(QStringView text)
{
    switch (st_.dest) {
    case Dest::Body:
        emitText(text);
        break;
    case Dest::FontTable:
        for (QChar c : text) {
            if (c.unicode() < 0x80 && fontNameBytes_.size() < kMaxFontName)
                fontNameBytes_.push_back(char(c.unicode()));
        }
        break;
    case Dest::ColorTable:
        colorTableText(text);
        break;
    case Dest::FieldInst:
        if (!fields_.empty() && fields_.back().instruction.size() < kMaxFieldInstruction)
            fields_.back().instruction += text;
        break;
    case Dest::PnBefore:
    case Dest::PnAfter:
        if (!pnDefs_.empty()) {
            QString& t = st_.dest == Dest::PnBefore ? pnDefs_.back().before : pnDefs_.back().after;
            for (QChar c : text) {
                if (t.size() < 16)
                    t += c;
            }
        }
        break;
    case Dest::Generator:
        if (generator_.size() < 256)
            generator_ += text;
        break;
    case Dest::LevelText:
        for (QChar c : text) {
            if (levelText_.size() < 256)
                levelText_.push_back(c.unicode());
        }
        break;
    case Dest::LevelNumbers:
        for (QChar c : text) {
            if (c.unicode() < 0x100 && levelNumbers_.size() < 16)
                levelNumbers_.push_back(char(c.unicode()));
        }
        break;
    case Dest::PnDef:
    case Dest::Skip:
    case Dest::ListTable:
    case Dest::ListEntry:
    case Dest::ListLevel:
    case Dest::OverrideTable:
    case Dest::Override:
    case Dest::LfoLevel:
    case Dest::Picture:
        break;
    }
}


void Reader::emitText(QStringView text)
{
    if (text.isEmpty())
        return;
    if (hasPending() && !(pendingProps_ == st_.ch))
        closeRun();
    if (!hasPending())
        pendingProps_ = st_.ch;
    const qsizetype before = paraText_.size();
    for (QChar c : text) {
        char16_t u = c.unicode();
        // Characters that QTextDocument reads as structure are not text.
        if (u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1 || u == 0xFDEF || u == 0xFFFC)
            u = 0xFFFD;
        else if (u < 0x20 && u != '\t')
            continue;
        // Symbol-font bytes in a marker are the glyphs they show; letters
        // given as Unicode are letters.
        if (st_.ch.label && u >= 0xF020 && u <= 0xF0FF)
            u = symbolGlyph(symbolFont(st_.ch.font), u);
        else if (st_.ch.label && u >= 0x20 && u < 0x100 && st_.codePage != CodePageDecoder::kSymbol)
            u = labelGlyph(u);
        paraText_.append(QChar(u));
    }
    emitted_ += paraText_.size() - before;
}

void Reader::closeRun()
{
    para_.push_back(Run{pendingStart_, paraText_.size() - pendingStart_, pendingProps_});
    pendingStart_ = paraText_.size();
}

void Reader::controlWord(std::string_view name, bool hasParam, int param)
{
    const auto& table = keywordTable();
    const auto it = table.find(name);
    const KwInfo info = it == table.end() ? KwInfo{Kw::Unknown} : it->second;

    if (st_.starred) {
        st_.starred = false;
        // Only the destinations below are read when marked ignorable. The
        // Unicode half of \upr (\ud) is read after its ANSI half, as
        // LibreOffice does. A word the reader knows that is no destination
        // (\*\cs15 in a hyperlink's result) does its work, as there.
        const bool readDestination = info.kw == Kw::FldInst || info.kw == Kw::Ud || info.kw == Kw::ListText
            || info.kw == Kw::FldRslt || info.kw == Kw::Field || info.kw == Kw::Pn || info.kw == Kw::PnText
            || info.kw == Kw::Generator || info.kw == Kw::Footnote || info.kw == Kw::ListTable
            || info.kw == Kw::OverrideTable || info.kw == Kw::ShpPict || info.concern == Concern::Notes;
        const bool destination = info.kw == Kw::Unknown || info.kw == Kw::SkipDest || info.kw == Kw::FontTbl
            || info.kw == Kw::ColorTbl || info.kw == Kw::Pict || info.kw == Kw::List || info.kw == Kw::ListLevel
            || info.kw == Kw::LevelText || info.kw == Kw::LevelNumbers || info.kw == Kw::ListOverride
            || info.kw == Kw::LfoLevel;
        if (!readDestination && destination) {
            st_.dest = Dest::Skip;
            skipGroupRest();
            return;
        }
    }
    if (st_.dest == Dest::Skip) {
        if (info.kw == Kw::Bin && hasParam && param > 0)
            skipBinary(param);
        skipGroupRest();
        return;
    }
    if (st_.dest == Dest::Picture) {
        pictureKeyword(info.kw, name, hasParam, param);
        return;
    }

    // Keywords that end the current byte run before they change state.
    flushBytes();
    // A kept table holds only its own words: anything that changes the
    // document (damage put it there) would change it twice when written back.
    if (capture_ && info.kw != Kw::Unknown
        && (info.concern != Concern::DocumentTables || info.kw == Kw::AnsiCpg || info.kw == Kw::DocCharset
            || info.kw == Kw::Deff))
        capture_->spoiled = true;
    switch (info.concern) {
    case Concern::Core: break;
    case Concern::DocumentTables: return documentTableKeyword(info, param);
    case Concern::Lists: return listKeyword(info, hasParam, param);
    case Concern::Tables: return tableKeyword(info.kw, param);
    case Concern::Fields: return fieldKeyword(info.kw);
    case Concern::Notes: return noteKeyword(info, name, hasParam, param);
    case Concern::Pictures: return pictureStart(info.kw);
    }
    const bool on = !hasParam || param != 0;
    switch (info.kw) {
    case Kw::SkipDest:
        st_.dest = Dest::Skip;
        skipGroupRest();
        break;
    case Kw::Uc:
        st_.uc = std::clamp(param, 0, 16);
        break;
    case Kw::U: {
        const char16_t c = char16_t(param < 0 ? param + 65536 : param);
        if (c == '\t' || c >= 0x20)
            emitChar(c);
        skipChars_ = st_.uc;
        break;
    }
    case Kw::Bin:
        if (hasParam && param > 0)
            skipBinary(param);
        break;
    case Kw::Par:
        endParagraph();
        break;
    case Kw::Page:
    case Kw::Column:
        // Breaks end a paragraph that has text, as word processors do.
        if (paraHasContent())
            endParagraph();
        break;
    case Kw::Line: emitChar(QChar::LineSeparator); break;
    case Kw::Tab: emitChar('\t'); break;
    case Kw::Pard:
        st_.pa = ParaProps{};
        break;
    case Kw::Plain: {
        const CharProps keep = st_.ch;
        st_.ch = CharProps{};
        st_.ch.label = keep.label;
        st_.ch.link = keep.link;
        st_.runFonts = {-1, -1, -1};
        st_.runType = 0;
        setFont(defaultFont_);
        break;
    }
    case Kw::B: st_.ch.bold = on; break;
    case Kw::I: st_.ch.italic = on; break;
    case Kw::Ul: st_.ch.underline = on; break;
    case Kw::UlNone: st_.ch.underline = false; break;
    case Kw::Strike: st_.ch.strike = on; break;
    case Kw::Fs: st_.ch.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24; break;
    case Kw::Cf: st_.ch.fg = std::max(param, 0); break;
    case Kw::Cb:
    case Kw::Highlight: st_.ch.bg = std::max(param, 0); break;
    case Kw::Super: st_.ch.vert = on ? 1 : 0; break;
    case Kw::Sub: st_.ch.vert = on ? -1 : 0; break;
    case Kw::NoSuperSub: st_.ch.vert = 0; break;
    case Kw::Ql: st_.pa.align = Qt::AlignLeft; break;
    case Kw::Qr: st_.pa.align = Qt::AlignRight; break;
    case Kw::Qc: st_.pa.align = Qt::AlignHCenter; break;
    case Kw::Qj: st_.pa.align = Qt::AlignJustify; break;
    case Kw::Li: st_.pa.li = std::clamp(param, -31680, 31680); break;
    case Kw::Ri: st_.pa.ri = std::clamp(param, -31680, 31680); break;
    case Kw::Fi: st_.pa.fi = std::clamp(param, -31680, 31680); break;
    case Kw::Sb: st_.pa.sb = std::clamp(param, 0, 31680); break;
    case Kw::Sa: st_.pa.sa = std::clamp(param, 0, 31680); break;
    case Kw::Generator:
        // Only the producer named before the text counts, as in LibreOffice.
        if (emitted_ == 0 && generator_.isEmpty()) {
            st_.dest = Dest::Generator;
        } else {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        break;
    case Kw::Char:
        emitChar(info.value);
        break;
    default:
        // Unknown words, \rtf and \ud change nothing here.
        break;
    }
}

Para Reader::takeParagraph()
{
    if (hasPending())
        closeRun();
    Para para{std::move(paraText_), std::move(para_), st_.pa};
    // Each paragraph knows its section; the section's bytes are those read
    // before its first paragraph.
    ++paragraphs_;
    para.props.section = int(sections_.size()) - 1;
    if (!sections_.empty())
        sectionFrozen_ = true;
    paraText_ = QString();
    para_.clear();
    pendingStart_ = 0;
    return para;
}

void Reader::endParagraph()
{
    flushBytes();
    Para para = takeParagraph();
    if (!para.props.intbl)
        tableOverflow_ = false;
    // Text in a row that has not ended yet belongs to the table even where
    // the writer forgot \intbl.
    if (!tableOverflow_ && (para.props.intbl || (tableOpen_ && (!cell_.empty() || !row_.empty())))) {
        tableOpen_ = true;
        addToCell(std::move(para));
        return;
    }
    if (tableOpen_)
        flushTable();
    emitPara(std::move(para));
}

void Reader::finish()
{
    flushBytes();
    // Text after the last paragraph mark is a paragraph of its own; an empty
    // one is not (RTF files end with \par).
    if (hasPending() || !para_.empty())
        endParagraph();
    if (tableOpen_) {
        endRow();
        flushTable();
    }
    // An empty block left after a final table stays: word processors keep a
    // paragraph after every table.
    builder_->finish();
    storeKeptParts();
    if (!pageSetup_.empty()) {
        // The page as the file asks for it, for printing; the kept parts
        // give it back on saving.
        QTextFrameFormat page = doc_->rootFrame()->frameFormat();
        for (const auto& [property, value] : pageSetup_)
            page.setProperty(property, value);
        // Not an edit the user could undo.
        doc_->setUndoRedoEnabled(false);
        doc_->rootFrame()->setFrameFormat(page);
        doc_->setUndoRedoEnabled(true);
    }
    if (builder_->truncated())
        warn(QStringLiteral("The document is too long to be held whole; its end was left out."));
}

const QTextCharFormat& Reader::charFormat(const CharProps& p)
{
    auto it = formatCache_.find(p);
    if (it != formatCache_.end())
        return it->second;
    QTextCharFormat f;
    auto font = fonts_.find(p.font);
    if (font != fonts_.end() && !font->second.name.isEmpty())
        f.setFontFamilies(QStringList{font->second.name});
    f.setFontPointSize(p.halfPoints / 2.0);
    f.setFontWeight(p.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(p.italic);
    f.setFontUnderline(p.underline);
    f.setFontStrikeOut(p.strike);
    if (p.fg > 0 && size_t(p.fg) < colors_.size() && colors_[p.fg].isValid())
        f.setForeground(colors_[p.fg]);
    if (p.bg > 0 && size_t(p.bg) < colors_.size() && colors_[p.bg].isValid())
        f.setBackground(colors_[p.bg]);
    if (p.vert != 0)
        f.setVerticalAlignment(p.vert > 0 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
    if (p.link >= 0 && size_t(p.link) < links_.size()) {
        f.setAnchor(true);
        f.setAnchorHref(links_[p.link]);
    }
    if (p.label)
        f.setProperty(ListLabelProperty, true);
    // A note whose group could not be kept leaves its mark as text.
    if (p.note >= 0 && size_t(p.note) < notes_.size() && !notes_[size_t(p.note)].group.isEmpty()) {
        const Note& note = notes_[size_t(p.note)];
        f.setProperty(NoteProperty, note.group);
        f.setProperty(NoteIdProperty, p.note);
        f.setProperty(NoteAnchorProperty, note.anchor);
        f.setProperty(NoteAutoProperty, note.automatic);
    }
    return formatCache_.emplace(p, f).first->second;
}

const QTextBlockFormat& Reader::blockFormat(const ParaProps& p)
{
    // Runs of paragraphs mostly share one layout.
    if (lastBlockValid_ && lastBlockProps_.sameLayout(p))
        return lastBlockFormat_;
    lastBlockValid_ = true;
    lastBlockProps_ = p;
    // 15 twips make one pixel at 96 dpi, QTextDocument's unit.
    QTextBlockFormat& f = lastBlockFormat_;
    f = QTextBlockFormat();
    f.setAlignment(p.align);
    if (p.li != 0) f.setLeftMargin(p.li / 15.0);
    if (p.ri != 0) f.setRightMargin(p.ri / 15.0);
    if (p.fi != 0) f.setTextIndent(p.fi / 15.0);
    if (p.sb != 0) f.setTopMargin(p.sb / 15.0);
    if (p.sa != 0) f.setBottomMargin(p.sa / 15.0);
    if (p.inList())
        f.setProperty(ListLevelProperty, p.ilvl);
    if (p.style > 0)
        f.setProperty(StyleProperty, p.style);
    if (p.section >= 0 && size_t(p.section) < sections_.size()) {
        f.setProperty(SectionIdProperty, p.section);
        f.setProperty(SectionProperty, sections_[size_t(p.section)]);
    }
    return f;
}

void Reader::insertRuns(const Para& para)
{
    for (const Run& r : para.runs) {
        if (r.picture >= 0 && size_t(r.picture) < pictures_.size()) {
            QTextCharFormat f = charFormat(r.props);
            f.merge(pictures_[size_t(r.picture)]);
            builder_->appendText(para.textOf(r), builder_->charFormat(f));
        } else {
            builder_->appendText(para.textOf(r), charFormatIndex(r.props));
        }
    }
}

// A paragraph after the current block, or in it while it is still empty.
void Reader::insertParagraph(const Para& para, bool newBlock)
{
    const int bf = blockFormatIndex(para.props);
    if (newBlock)
        builder_->appendBlock(bf, para.runs.empty() ? defaultCharFormat_ : charFormatIndex(para.runs.front().props));
    else
        builder_->setBlockFormat(bf);
    insertRuns(para);
}

void Reader::readPlainText()
{
    // Not RTF at all: UTF-8 when it says so with a byte order mark or is
    // valid UTF-8 throughout (text files on this platform are), else text in
    // the system's code page, Windows-1252.
    QString text;
    const bool bom = data_.startsWith("\xEF\xBB\xBF");
    const QByteArrayView bytes = data_.sliced(bom ? 3 : 0);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = utf8.decode(bytes);
    if (!bom && utf8.hasError()) {
        text.clear();
        decoder_.decode(1252, bytes, text);
    }
    text.replace(QChar(u'\0'), QChar(QChar::ReplacementCharacter));
    qsizetype lineStart = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && text.at(i) != QLatin1Char('\r') && text.at(i) != QLatin1Char('\n'))
            continue;
        if (i == n && lineStart == n && n > 0)
            break;  // the last line's end is no empty paragraph
        emitText(QStringView(text).mid(lineStart, i - lineStart));
        endParagraph();
        if (i + 1 < n && text.at(i) == QLatin1Char('\r') && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        lineStart = i + 1;
    }
}

void Reader::emitPara(Para&& para)
{
    prepareLabel(para);
    insertParagraph(para, blockUsed_);
    blockUsed_ = true;
    // The next paragraph reuses the buffers.
    if (paraText_.isEmpty() && para_.empty()) {
        paraText_ = std::move(para.text);
        paraText_.resize(0);
        para_ = std::move(para.runs);
        para_.clear();
    }
}


} // namespace kvx::rtf::detail

namespace kvx::rtf {

RtfReadResult readRtf(QByteArrayView data, QTextDocument* doc, const RtfReadOptions& options)
{
    if (!doc) {
        RtfReadResult r;
        r.error = QStringLiteral("No document to read into.");
        return r;
    }
    detail::Reader reader(data, doc, options);
    return reader.run();
}

} // namespace kvx::rtf
