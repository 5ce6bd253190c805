#include "thesaurus.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"
#include "dictstore/suggest.h"

#include <string>
#include <vector>

namespace wkvx {

namespace {

constexpr dictstore::Error kStop = dictstore::Error::InputPastEnd;

QStringList nonBlank(const dictstore::WordRecord& r, std::initializer_list<dictstore::Field> fields)
{
    QStringList out;
    for (dictstore::Field f : fields) {
        const QString s = QString::fromStdString(r.trimmed(f));
        if (!s.isEmpty() && !out.contains(s, Qt::CaseInsensitive))
            out << s;
    }
    return out;
}

}  // namespace

std::optional<ThesaurusEntry> findInThesaurus(const QString& word)
{
    using dictstore::Field;
    const std::string key = dictstore::wordKey(word.toStdString());
    if (key.empty())
        return std::nullopt;
    // Most likely base first; the word itself before any of them.
    const std::vector<std::string> bases = dictstore::Morphology::shipped().baseForms(key);
    std::optional<dictstore::WordRecord> best;
    std::size_t bestRank = bases.size() + 1;
    dictstore::Dictionary dict;
    if (dict.openForReading(dictstore::dictionaryPath()) != dictstore::Error::None)
        return std::nullopt;
    const dictstore::Error e = dict.readAll([&](const dictstore::WordRecord& r, std::int64_t) {
        const std::string k = dictstore::wordKey(r);
        std::size_t rank = bases.size() + 1;
        if (k == key) {
            rank = 0;
        } else {
            for (std::size_t i = 0; i < bases.size() && i + 1 < bestRank; ++i) {
                if (bases[i] == k) {
                    rank = i + 1;
                    break;
                }
            }
        }
        if (rank < bestRank) {
            bestRank = rank;
            best = r;
        }
        // The word itself, first in the file, cannot be bettered: any
        // error stops the scan, and this one is ours.
        return bestRank == 0 ? kStop : dictstore::Error::None;
    });
    if (!best || (e != dictstore::Error::None && !(e == kStop && bestRank == 0)))
        return std::nullopt;
    ThesaurusEntry entry;
    entry.record = *best;
    entry.word = QString::fromStdString(best->trimmed(Field::Word));
    entry.synonyms = nonBlank(*best, {Field::Synonym1, Field::Synonym2, Field::Synonym3});
    entry.antonyms = nonBlank(*best, {Field::Antonym1, Field::Antonym2, Field::Antonym3});
    return entry;
}

}  // namespace wkvx
