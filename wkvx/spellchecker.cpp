#include "spellchecker.h"

#include "folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

#include <hunspell/hunspell.hxx>

namespace wkvx {

namespace {

QStringList& folderSetting()
{
    static QStringList folders = {
        QStringLiteral("/usr/share/hunspell"),         QStringLiteral("/usr/share/myspell"),
        QStringLiteral("/usr/share/myspell/dicts"),    QStringLiteral("/usr/local/share/hunspell"),
        QStringLiteral("/opt/homebrew/share/hunspell"),
    };
    return folders;
}

std::shared_ptr<SpellChecker>& sharedChecker()
{
    static std::shared_ptr<SpellChecker> checker;
    return checker;
}

bool& sharedTried()
{
    static bool tried = false;
    return tried;
}

// NAME.aff paths with a NAME.dic beside them, for English names only.
QStringList englishDictionaries(const QStringList& folders)
{
    QStringList out;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QFileInfo& aff : dir.entryInfoList({QStringLiteral("en_*.aff"), QStringLiteral("en-*.aff")},
                                                      QDir::Files | QDir::Readable, QDir::Name)) {
            const QFileInfo dic(aff.path() + QLatin1Char('/') + aff.completeBaseName() + QStringLiteral(".dic"));
            if (dic.isFile() && dic.isReadable() && dic.size() > 0)
                out << aff.absoluteFilePath();
        }
    }
    return out;
}

int preference(const QString& affPath)
{
    const QString name = QFileInfo(affPath).completeBaseName().replace(QLatin1Char('-'), QLatin1Char('_'));
    if (name == QLocale::system().name())
        return 0;
    if (name == QLatin1String("en_US"))
        return 1;
    if (name == QLatin1String("en_GB"))
        return 2;
    return 3;
}

}  // namespace

SpellChecker::SpellChecker(std::unique_ptr<Hunspell> hunspell, const QString& name)
    : hunspell_(std::move(hunspell)), name_(name)
{
    utf8_ = QString::fromStdString(hunspell_->get_dict_encoding()).compare(QLatin1String("UTF-8"),
                                                                             Qt::CaseInsensitive) == 0;
    loadMyWords();
}

SpellChecker::~SpellChecker() = default;

std::shared_ptr<SpellChecker> SpellChecker::shared()
{
    if (!sharedTried()) {
        sharedTried() = true;
        sharedChecker() = load(folderSetting());
    }
    return sharedChecker();
}

QStringList SpellChecker::searchFolders() { return folderSetting(); }

void SpellChecker::setSearchFolders(const QStringList& folders)
{
    folderSetting() = folders;
    sharedChecker().reset();
    sharedTried() = false;
}

bool SpellChecker::installed() { return sharedChecker() || !englishDictionaries(folderSetting()).isEmpty(); }

std::unique_ptr<SpellChecker> SpellChecker::load(const QStringList& folders)
{
    QStringList found = englishDictionaries(folders);
    if (found.isEmpty())
        return nullptr;
    std::stable_sort(found.begin(), found.end(),
                     [](const QString& a, const QString& b) { return preference(a) < preference(b); });
    const QFileInfo aff(found.first());
    const QString dic = aff.path() + QLatin1Char('/') + aff.completeBaseName() + QStringLiteral(".dic");
    auto hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff.absoluteFilePath()).constData(),
                                               QFile::encodeName(dic).constData());
    return std::unique_ptr<SpellChecker>(new SpellChecker(std::move(hunspell), aff.completeBaseName()));
}

std::string SpellChecker::encode(const QString& word, bool* ok) const
{
    *ok = true;
    if (utf8_)
        return word.toStdString();
    for (QChar c : word) {
        if (c.unicode() > 0xFF)
            *ok = false;
    }
    return word.toLatin1().toStdString();
}

QString SpellChecker::decode(const std::string& word) const
{
    return utf8_ ? QString::fromStdString(word) : QString::fromLatin1(word.data(), qsizetype(word.size()));
}

bool SpellChecker::isKnown(const QString& word) const
{
    bool ok = false;
    const std::string w = encode(word, &ok);
    // A word the dictionary cannot even spell is not the writer's mistake.
    return !ok || hunspell_->spell(w);
}

QStringList SpellChecker::suggestions(const QString& word, int limit) const
{
    bool ok = false;
    const std::string w = encode(word, &ok);
    QStringList out;
    if (!ok)
        return out;
    for (const std::string& s : hunspell_->suggest(w)) {
        if (out.size() >= limit)
            break;
        out << decode(s);
    }
    return out;
}

void SpellChecker::ignoreAll(const QString& word)
{
    bool ok = false;
    const std::string w = encode(word, &ok);
    if (ok)
        hunspell_->add(w);
}

bool SpellChecker::addToMyWords(const QString& word, QString* error)
{
    ignoreAll(word);
    const QString path = lexi::qpath(dictstore::personalWordsPath());
    // The Lexivane folder is the set-up's to make; without it the word
    // lasts for this run only.
    if (!QFileInfo(QFileInfo(path).path()).isDir()) {
        if (error)
            *error = QStringLiteral("The folder %1 does not exist.").arg(QDir::toNativeSeparators(QFileInfo(path).path()));
        return false;
    }
    // A pipe or a device in its place would hang or swallow the words.
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray line = word.toUtf8() + '\n';
    if (file.write(line) != line.size() || !file.flush()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void SpellChecker::loadMyWords()
{
    constexpr qint64 kMostBytes = 4 * 1024 * 1024;
    QFile file(lexi::qpath(dictstore::personalWordsPath()));
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > kMostBytes || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString word = in.readLine().trimmed();
        if (!word.isEmpty() && !word.startsWith(QLatin1Char('#')))
            ignoreAll(word);
    }
}

}  // namespace wkvx
