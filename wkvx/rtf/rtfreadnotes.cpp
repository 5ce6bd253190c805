#include "rtfreaderstate.h"

#include <algorithm>
#include <cctype>

namespace kvx::rtf::detail {

namespace {

constexpr size_t kMaxNotes = 1 << 16;

// Whether an RTF group uses \chftn, the note's automatic number.
bool hasAutomaticNumber(const QByteArray& group)
{
    for (qsizetype at = group.indexOf("\\chftn"); at >= 0; at = group.indexOf("\\chftn", at + 1)) {
        const qsizetype after = at + 6;
        if (after >= group.size() || !std::isalpha(static_cast<unsigned char>(group[after])))
            return true;
    }
    return false;
}

} // namespace

// Footnotes, section breaks and the parts of the file the document does not
// show (style sheet, information, page settings, headers and footers): read
// as they are, to be written back in their place.
void Reader::noteKeyword(const KwInfo& info, std::string_view name, bool hasParam, int param)
{
    switch (info.kw) {
    case Kw::Footnote:
        footnote();
        return;
    case Kw::Chftn:
        chftn();
        return;
    case Kw::Sect:
        sectionBreak();
        return;
    default:
        break;
    }
    if (st_.dest != Dest::Body) {
        if (info.kw != Kw::DocFormat && info.kw != Kw::SectFormat) {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        return;
    }
    switch (info.kw) {
    case Kw::StyleSheet:
    case Kw::Info: {
        // Only the first of each is kept.
        QByteArray& into = info.kw == Kw::Info ? kept_.info : kept_.styleSheet;
        if (into.isEmpty()) {
            keepGroup(into);
        } else {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        break;
    }
    case Kw::DocGroup:
        keepGroup(kept_.documentFormat);
        break;
    case Kw::HeaderFooter:
    case Kw::SectGroup:
        if (QByteArray* into = sectionBytes()) {
            keepGroup(*into);
        } else {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        break;
    case Kw::DocFormat:
    case Kw::SectFormat: {
        if (info.kw == Kw::DocFormat)
            notePageSetup(name, hasParam, param);
        QByteArray* into = info.kw == Kw::DocFormat ? &kept_.documentFormat : sectionBytes();
        if (!into || into->size() > (1 << 16))
            break;
        *into += '\\';
        into->append(name.data(), qsizetype(name.size()));
        if (hasParam)
            *into += QByteArray::number(param);
        break;
    }
    default:
        break;
    }
}

// The page size and margins, which printing uses; sizes beyond a few
// metres are damage.
void Reader::notePageSetup(std::string_view name, bool hasParam, int param)
{
    static const std::pair<std::string_view, int> kPage[] = {
        {"margl", PageMarginLeftProperty}, {"margr", PageMarginRightProperty},
        {"margt", PageMarginTopProperty},  {"margb", PageMarginBottomProperty},
        {"paperw", PaperWidthProperty},    {"paperh", PaperHeightProperty},
    };
    if (!hasParam || param < 0 || param > 31680 * 4)
        return;
    for (const auto& [word, property] : kPage)
        if (word == name)
            pageSetup_[property] = param;
}

// The bytes of the current section's properties while they can still go
// with its first paragraph; null after that.
QByteArray* Reader::sectionBytes()
{
    if (sections_.empty())
        return &kept_.firstSection;
    return sectionFrozen_ ? nullptr : &sections_.back();
}

// Skips the group the reader stands in and keeps it whole, from its opening
// brace. False when the group is not all the part's own (the word came
// after other groups or text in it); the group is skipped all the same.
bool Reader::keepGroup(QByteArray& into)
{
    const bool own = groupIsOwn();
    const unsigned char* start = groupOpen_;
    st_.dest = Dest::Skip;
    // A group the file ends in is not kept: it could not be closed again.
    if (!skipGroupRest() || !own || into.size() > (1 << 26))
        return false;
    into.append(reinterpret_cast<const char*>(start), lex_.position() - start);
    return true;
}

// Whether the group the reader stands in holds nothing yet but control
// words: its opening brace is the last one read, and no text or paragraph
// came since.
bool Reader::groupIsOwn() const
{
    return groupOpen_ && groupOpenDepth_ == stack_.size() && st_.emittedAtOpen == emitted_
        && st_.paragraphsAtOpen == paragraphs_;
}

// Keeps the table group the reader stands in as it reads it, if the group
// opens with the table's word: bytes before it (a font name the damage ran
// into) would come back as text.
void Reader::startCapture(QByteArray& into, std::string_view word)
{
    if (capture_ || !groupIsOwn())
        return;
    const unsigned char* p = groupOpen_ + 1;
    const unsigned char* const end = lex_.position();
    auto skipSpace = [&] {
        while (p < end && (*p == ' ' || *p == '\r' || *p == '\n'))
            ++p;
    };
    skipSpace();
    if (end - p >= 2 && p[0] == '\\' && p[1] == '*') {
        p += 2;
        skipSpace();
    }
    if (end - p <= qsizetype(word.size()) || *p != '\\'
        || std::string_view(reinterpret_cast<const char*>(p) + 1, word.size()) != word)
        return;
    capture_ = Capture{&into, groupOpen_, stack_.size(), emitted_, paragraphs_};
}

void Reader::endCapture()
{
    const Capture c = *capture_;
    capture_.reset();
    // A damaged table that gave text to the body is not kept: written back
    // it would give it twice.
    if (c.spoiled || c.emitted != emitted_ || c.paragraphs != paragraphs_)
        return;
    c.into->append(reinterpret_cast<const char*>(c.start), lex_.position() - c.start);
}

void Reader::sectionBreak()
{
    // Breaks end a paragraph that has text, as word processors do; a
    // section without one gets an empty paragraph to carry its break.
    if (paraHasContent())
        endParagraph();
    if (tableOpen_)
        flushTable();  // a break ends a table
    else if (!sections_.empty() && !sectionFrozen_)
        endParagraph();
    constexpr size_t kMaxSections = 1 << 16;
    if (sections_.size() >= kMaxSections)
        return;
    sections_.emplace_back();
    sectionFrozen_ = false;
}

void Reader::chftn()
{
    if (st_.dest != Dest::Body || st_.ch.label)
        return;
    // The number of the note that follows; an endnote's is put right when
    // the note comes.
    // The mark holds a note of its own, empty (its number stays text) until
    // the note comes right after it.
    const QString number = QString::number(footnoteCount_ + 1);
    if (notes_.size() >= kMaxNotes) {
        emitText(number);
        return;
    }
    const CharProps outer = st_.ch;
    st_.ch.note = int(notes_.size());
    notes_.emplace_back();
    emitText(number);
    st_.ch = outer;
    anchor_ = Anchor{int(notes_.size()) - 1, paraText_.size() - number.size(), number.size(), paragraphs_};
}

void Reader::footnote()
{
    // A list label is text for readers without lists, made again from the
    // list when saved: a note in it would number the notes after it twice.
    if (st_.dest != Dest::Body || st_.ch.label) {
        st_.dest = Dest::Skip;
        skipGroupRest();
        return;
    }
    const bool endnote = lex_.nextIs("\\ftnalt");
    const qsizetype ownMark = ownMarkLength();
    Note note;
    const bool kept = keepGroup(note.group);
    // The run that holds the mark: the text just before the note.
    const bool anchored = anchor_.note >= 0 && anchor_.paragraph == paragraphs_
        && anchor_.start + anchor_.length == paraText_.size();
    const int index = anchored ? anchor_.note : int(notes_.size());
    note.automatic = hasAutomaticNumber(note.group);
    // A note that could not be kept (damage put it amid text) shows its
    // number as text and takes none from the notes that follow, which the
    // saved file numbers without it.
    auto numberText = [&] {
        if (!kept)
            return QString::number(footnoteCount_ + 1);
        return endnote ? formatListNumber(++endnoteCount_, 2) : QString::number(++footnoteCount_);
    };
    if (anchored) {
        // \chftn in the text before the note is its number, shown once.
        note.automatic = true;
        const QString number = numberText();
        if (hasPending())
            closeRun();
        Run& run = para_.back();
        if (run.start == anchor_.start && run.length == anchor_.length
            && QStringView(paraText_).mid(run.start, run.length) != number) {
            paraText_.replace(anchor_.start, anchor_.length, number);
            emitted_ += number.size() - anchor_.length;
            run.length = number.size();
            pendingStart_ = paraText_.size();
        }
        note.anchor = paraText_.mid(run.start, run.length);
    } else if (const qsizetype length = ownMark; length > 0) {
        // Superscript text before the note in the group around it is the
        // note's own mark, a character in place of \chftn, and takes no
        // number. A mark of several runs keeps only its last run's text.
        Run& run = para_.back();
        CharProps props = run.props;
        props.note = index;
        if (run.length > length) {
            run.length -= length;
            para_.push_back(Run{run.start + run.length, length, props});
        } else {
            run.props = props;
        }
        note.automatic = false;
        note.anchor = paraText_.right(length);
    } else {
        // The note's number stands where the note is (LibreOffice reads
        // notes so). Endnotes (\ftnalt) count in roman numerals.
        note.automatic = true;
        note.anchor = numberText();
        const CharProps outer = st_.ch;
        st_.ch.note = index;
        emitText(note.anchor);
        st_.ch = outer;
    }
    anchor_ = Anchor{};
    if (anchored)
        notes_[size_t(index)] = std::move(note);
    else if (notes_.size() < kMaxNotes)
        notes_.push_back(std::move(note));
}

// The length of the superscript text in the note's group's parent before
// the note, within the paragraph's last run (which is closed here); 0 for none.
qsizetype Reader::ownMarkLength()
{
    // Only superscript text counts, as LibreOffice reads marks.
    if (stack_.empty() || stack_.back().ch.vert <= 0)
        return 0;
    const long long before = emitted_ - stack_.back().emittedAtOpen;
    if (before <= 0)
        return 0;
    if (hasPending())
        closeRun();
    // A run that is already a note's mark (its number) is no mark of this one.
    if (para_.empty() || para_.back().picture >= 0 || para_.back().length == 0 || para_.back().props.vert <= 0
        || para_.back().props.note >= 0 || para_.back().start + para_.back().length != paraText_.size())
        return 0;
    return qsizetype(std::min<long long>(before, para_.back().length));
}

void Reader::storeKeptParts()
{
    kept_.notes = int(notes_.size());
    kept_.unkeptNotes = int(std::count_if(notes_.begin(), notes_.end(), [](const Note& n) { return n.group.isEmpty(); }));
    kept_.sections = int(sections_.size());
    if (!kept_.fontTable.isEmpty()) {
        for (const auto& [number, font] : fonts_) {
            if (font.table != 1)
                continue;  // not in the kept table: the writer adds it
            kept_.fonts.emplace_back(number, font.name);
            if (fontCodePage(number) != 1252)
                kept_.nonAnsiFonts.push_back(number);
            if (fontCodePage(number) == CodePageDecoder::kSymbol)
                kept_.symbolFonts.push_back(number);
            if (font.symbolCharset)
                kept_.symbolCharsetFonts.push_back(number);
        }
        std::sort(kept_.fonts.begin(), kept_.fonts.end());
        kept_.codePage = docCodePage_;
    }
    if (!kept_.colorTable.isEmpty())
        kept_.colors.assign(colors_.begin(), colors_.begin() + std::ptrdiff_t(firstTableColors_));
    setKeptParts(*doc_, kept_);
}

} // namespace kvx::rtf::detail
