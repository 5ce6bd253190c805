#include "rtfreaderstate.h"

#include "rtfdocument.h"

#include <algorithm>

namespace kvx::rtf::detail {

QString markerText(const QString& label)
{
    QString out;
    out.reserve(label.size());
    for (QChar c : label) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != '\t')
            continue;
        const bool structure = u == QChar::ParagraphSeparator || u == 0xFDD0
            || u == 0xFDD1 || u == 0xFDEF || u == 0xFFFC;
        out += structure ? QChar(0xFFFD) : c;
    }
    return out;
}

void Reader::listTableKeyword(Kw kw, int param)
{
    // Files are small, but a hostile one could declare lists by the million.
    constexpr size_t kMaxLists = 4096;
    const Dest d = st_.dest;
    auto skip = [this] {
        st_.dest = Dest::Skip;
        skipGroupRest();
    };
    switch (kw) {
    case Kw::ListTable:
        if (d == Dest::Body)
            st_.dest = Dest::ListTable;
        else
            skip();
        break;
    case Kw::OverrideTable:
        if (d == Dest::Body)
            st_.dest = Dest::OverrideTable;
        else
            skip();
        break;
    case Kw::List:
        if (d != Dest::ListTable || lists_.size() >= kMaxLists)
            return skip();
        st_.dest = Dest::ListEntry;
        lists_.emplace_back();
        break;
    case Kw::ListLevel:
        if (d != Dest::ListEntry && d != Dest::LfoLevel)
            return skip();
        st_.dest = Dest::ListLevel;
        level_ = ListLevelDef{};
        levelText_.clear();
        levelNumbers_.clear();
        break;
    case Kw::LevelText:
    case Kw::LevelNumbers:
        if (d != Dest::ListLevel)
            return skip();
        st_.dest = kw == Kw::LevelText ? Dest::LevelText : Dest::LevelNumbers;
        (kw == Kw::LevelText ? (void)levelText_.clear() : levelNumbers_.clear());
        break;
    case Kw::ListOverride:
        if (d != Dest::OverrideTable)
            return skip();
        st_.dest = Dest::Override;
        overrideLs_ = -1;
        overrideList_ = 0;
        override_ = ListOverride{};
        lfoIndex_ = -1;
        break;
    case Kw::LfoLevel:
        if (d != Dest::Override)
            return skip();
        st_.dest = Dest::LfoLevel;
        ++lfoIndex_;
        break;
    case Kw::ListId:
        if (d == Dest::ListEntry && !lists_.empty())
            lists_.back().id = param;
        else if (d == Dest::Override)
            overrideList_ = param;
        break;
    case Kw::ListSimple:
        if (d == Dest::ListEntry && !lists_.empty())
            lists_.back().simple = param != 0;
        break;
    default:
        if (d != Dest::ListLevel)
            break;
        if (kw == Kw::LevelNfc)
            level_.nfc = std::clamp(param, 0, 255);
        else if (kw == Kw::LevelStartAt)
            level_.start = std::clamp(param, 0, 32767);
        else if (kw == Kw::LevelFollow)
            level_.follow = std::clamp(param, 0, 2);
        else if (kw == Kw::LevelLegal)
            level_.legal = param != 0;
        else if (kw == Kw::LevelNoRestart)
            level_.noRestart = param != 0;
        break;
    }
}

void Reader::finishListLevel(Dest parent)
{
    level_.text = std::move(levelText_);
    level_.numbers = std::move(levelNumbers_);
    if (parent == Dest::LfoLevel) {
        // An override's own format for one level of its list.
        if (lfoIndex_ >= 0 && lfoIndex_ < 9 && override_.formats.size() < 9)
            override_.formats.emplace_back(lfoIndex_, std::move(level_));
    } else if (!lists_.empty() && lists_.back().levels.size() < 9) {
        lists_.back().levels.push_back(std::move(level_));
    }
    level_ = ListLevelDef{};
    levelText_.clear();
    levelNumbers_.clear();
}

// The marker of a paragraph of a list table's list, counted. False when the
// paragraph's \ls names no list of the file.
bool Reader::listLabel(const ParaProps& props, QString& label)
{
    const auto o = overrides_.find(props.ls);
    if (o == overrides_.end())
        return false;
    const auto found = listIndex_.find(o->second.list);
    if (found == listIndex_.end() || lists_[found->second].levels.empty())
        return false;
    const ListDef* list = &lists_[found->second];
    const int level = list->simple ? 0 : std::clamp(props.ilvl, 0, int(list->levels.size()) - 1);
    ListCounters& counters = counters_[list->id];
    counters.count(*list, level);
    // The override's own format of a level, else the list's.
    auto levelDef = [&](int k) -> const ListLevelDef& {
        for (const auto& [index, format] : o->second.formats) {
            if (index == k)
                return format;
        }
        return list->levels[size_t(k)];
    };
    const ListLevelDef& def = levelDef(level);
    label.clear();
    if (!def.text.empty()) {
        const uint32_t first = def.text.front();
        const size_t length = std::min<size_t>(first & 0xFF, def.text.size() - 1);
        const SymbolFont symbol = symbolFont(def.font);
        const int codePage = fontCodePage(def.font);
        std::string bytes;
        auto flush = [&] {
            if (bytes.empty())
                return;
            QString text;
            decoder_.decode(codePage, QByteArrayView(bytes.data(), qsizetype(bytes.size())), text);
            for (QChar c : text)
                label += QChar(symbolGlyph(SymbolFont::None, c.unicode()));
            bytes.clear();
        };
        for (size_t i = 1; i <= length; ++i) {
            const uint32_t item = def.text[i];
            const bool isByte = item & ListLevelDef::kByteTag;
            const char16_t value = char16_t(item & 0xFFFF);
            // \levelnumbers names the placeholders; without it, bytes below 9.
            const bool placeholder = def.numbers.empty() ? isByte && value < 9
                                                         : def.numbers.find(char(i)) != std::string::npos;
            if (placeholder) {
                flush();
                if (value < list->levels.size() && value < 9) {
                    const ListLevelDef& numbered = levelDef(value);
                    const int n = counters.started[value] ? counters.value[value] : numbered.start;
                    label += formatListNumber(n, def.legal && int(value) < level ? 0 : numbered.nfc);
                }
            } else if (isByte && symbol == SymbolFont::None) {
                bytes.push_back(char(value));
            } else {
                flush();
                label += QChar(symbolGlyph(symbol, value));
            }
        }
        flush();
    }
    label = markerText(label);
    if (!label.isEmpty() && def.follow != 2)
        label += def.follow == 1 ? QLatin1Char(' ') : QLatin1Char('\t');
    return true;
}

QString Reader::pnLabel(const PnDef& def, int counter) const
{
    QString number;
    switch (def.type) {
    case PnDef::Bullet: break;
    case PnDef::Decimal: number = QString::number(counter); break;
    case PnDef::LowerLetter: number = formatListNumber(counter, 4); break;
    case PnDef::UpperLetter: number = formatListNumber(counter, 3); break;
    case PnDef::LowerRoman: number = formatListNumber(counter, 2); break;
    case PnDef::UpperRoman: number = formatListNumber(counter, 1); break;
    }
    const SymbolFont symbol = symbolFont(def.font);
    QString label;
    for (QChar c : def.before)
        label += QChar(symbolGlyph(symbol, c.unicode()));
    label += number;
    for (QChar c : def.after)
        label += QChar(symbolGlyph(symbol, c.unicode()));
    return markerText(label);
}

void Reader::prepareLabel(Para& para)
{
    // A marker belongs to the paragraph only when the paragraph is in a list;
    // elsewhere \listtext is a stale leftover and word processors drop it.
    if (!para.props.inList()) {
        std::erase_if(para.runs, [](const Run& r) { return r.props.label; });
        if (!para.props.pnContinued)
            lastPn_ = -1;
        return;
    }
    // The list's own definition gives the marker; \listtext and \pntext are
    // for readers without lists and are used only when that is missing.
    QString label;
    bool resolved = (para.props.ls > 0 || para.props.lsZero) && listLabel(para.props, label);
    if (resolved) {
        lastPn_ = -1;
    } else if (para.props.pn >= 0 && size_t(para.props.pn) < pnDefs_.size()) {
        const PnDef& def = pnDefs_[para.props.pn];
        // Numbers run on while paragraphs keep the same kind of numbering.
        if (lastPn_ >= 0 && pnDefs_[lastPn_].type == def.type && def.type != PnDef::Bullet)
            ++pnCounter_;
        else
            pnCounter_ = def.start;
        lastPn_ = para.props.pn;
        label = pnLabel(def, pnCounter_);
        if (!label.isEmpty())
            label += QLatin1Char('\t');
        resolved = true;
    } else {
        lastPn_ = -1;
    }
    if (!resolved) {
        QString labelText;
        for (const Run& r : para.runs) {
            if (r.props.label)
                labelText += para.textOf(r);
        }
        if (labelText.trimmed().isEmpty())
            std::erase_if(para.runs, [](const Run& r) { return r.props.label; });
        else  // a marker after stray text still leads its paragraph
            std::stable_partition(para.runs.begin(), para.runs.end(), [](const Run& r) { return r.props.label; });
        return;
    }
    std::erase_if(para.runs, [](const Run& r) { return r.props.label; });
    if (label.isEmpty())
        return;
    CharProps props = para.runs.empty() ? CharProps{} : para.runs.front().props;
    props.label = true;
    props.link = -1;
    para.runs.insert(para.runs.begin(), Run{para.text.size(), label.size(), props});
    para.text += label;
}


// Paragraph list properties, Word 95 numbering and list markers; the list
// and override tables go to listTableKeyword.
void Reader::listKeyword(const KwInfo& info, bool hasParam, int param)
{
    switch (info.kw) {
    case Kw::Ls:
        if (st_.dest == Dest::Override)
            overrideLs_ = std::max(param, 0);
        else {
            st_.pa.ls = std::max(param, 0);
            // Most files mean "no list" by \ls0; a file that defines \ls0 means it.
            st_.pa.lsZero = param == 0 && overrides_.count(0) > 0;
        }
        break;
    case Kw::Ilvl: st_.pa.ilvl = std::clamp(param, 0, 8); break;
    case Kw::Pn:
        // The \pn group describes Word 95 numbering of the paragraph around it.
        if (!stack_.empty() && st_.dest == Dest::Body) {
            stack_.back().pa.oldList = true;
            stack_.back().pa.pn = int(pnDefs_.size());
            pnDefs_.emplace_back();
            st_.dest = Dest::PnDef;
        } else {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        break;
    case Kw::PnLvl:
        // A paragraph that continues the item above has no number and
        // leaves the count alone.
        if (info.value == 1 && st_.dest == Dest::PnDef && !stack_.empty()) {
            stack_.back().pa.oldList = false;
            stack_.back().pa.pn = -1;
            stack_.back().pa.pnContinued = true;
        }
        break;
    case Kw::PnType:
        if (st_.dest == Dest::PnDef && !pnDefs_.empty())
            pnDefs_.back().type = PnDef::Type(info.value);
        break;
    case Kw::PnStart:
        if (st_.dest == Dest::PnDef && !pnDefs_.empty())
            pnDefs_.back().start = std::clamp(param, 0, 32767);
        break;
    case Kw::PnFont:
        if (st_.dest == Dest::PnDef) {
            setFont(param);
            if (!pnDefs_.empty())
                pnDefs_.back().font = param;
        }
        break;
    case Kw::PnText:
        if (st_.dest == Dest::PnDef)
            st_.dest = info.value ? Dest::PnAfter : Dest::PnBefore;
        break;
    case Kw::ListText: {
        // Writers that give both \listtext and the older \pntext mean one
        // marker: the second is dropped.
        const bool haveLabel = (hasPending() && pendingProps_.label)
            || std::any_of(para_.begin(), para_.end(), [](const Run& r) { return r.props.label; });
        if (haveLabel && !st_.ch.label) {
            st_.dest = Dest::Skip;
            skipGroupRest();
            break;
        }
        st_.ch.label = true;
        break;
    }
    default:
        listTableKeyword(info.kw, hasParam ? param : 1);
        break;
    }
}

} // namespace kvx::rtf::detail
