#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

namespace wkvx {

// Hunspell with an English dictionary, the user's own words ("My Words", a
// file in the Lexivane folder, one word a line) and the words ignored in
// this run. One is shared by the whole program: loading a dictionary takes
// a while.
class SpellChecker {
public:
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    // The program's checker, loaded at the first call; nullptr when no
    // English dictionary is installed in the folders searched.
    static std::shared_ptr<SpellChecker> shared();
    // Where dictionaries are looked for (pairs of NAME.aff and NAME.dic).
    // Setting the folders drops the loaded checker.
    static QStringList searchFolders();
    static void setSearchFolders(const QStringList& folders);

    // Whether an English dictionary is there to load, without loading it.
    static bool installed();

    // Loads the best English dictionary in the folders: the system's own
    // English, then American, then British, then any other.
    static std::unique_ptr<SpellChecker> load(const QStringList& folders);

    QString dictionaryName() const { return name_; }

    bool isKnown(const QString& word) const;
    QStringList suggestions(const QString& word, int limit) const;

    // Accepted until the program ends.
    void ignoreAll(const QString& word);
    // Accepted from now on, also in later runs: written to My Words. When
    // the file cannot be written the word is still accepted in this run,
    // and false comes back with the reason.
    bool addToMyWords(const QString& word, QString* error);

private:
    SpellChecker(std::unique_ptr<Hunspell> hunspell, const QString& name);
    std::string encode(const QString& word, bool* ok) const;
    QString decode(const std::string& word) const;
    void loadMyWords();

    std::unique_ptr<Hunspell> hunspell_;
    QString name_;
    bool utf8_ = true;
};

}  // namespace wkvx
