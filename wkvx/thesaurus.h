#pragma once

#include "dictstore/wordrecord.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace wkvx {

// A word of the text as the Lexivane dictionary knows it: its own entry,
// or the entry of its base form when it is inflected (running: run).
struct ThesaurusEntry {
    dictstore::WordRecord record;
    QString word;  // the entry's word as stored, trimmed
    QStringList synonyms;
    QStringList antonyms;
};

// Reads the dictionary once; nothing when it holds neither the word nor a
// base form of it, or cannot be read. Never creates the dictionary.
std::optional<ThesaurusEntry> findInThesaurus(const QString& word);

}  // namespace wkvx
