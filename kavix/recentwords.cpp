#include "recentwords.h"

#include <QSettings>

namespace kavix {

namespace {

const QString kKey = QStringLiteral("lookup/recentWords");

QString& storeOverride()
{
    static QString path;
    return path;
}

QSettings settings()
{
    if (!storeOverride().isEmpty())
        return QSettings(storeOverride(), QSettings::IniFormat);
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lexivane"), QStringLiteral("kavix"));
}

}  // namespace

QString RecentWords::storeFile() { return settings().fileName(); }

void RecentWords::setStoreFile(const QString& path) { storeOverride() = path; }

QStringList RecentWords::load()
{
    QStringList words = settings().value(kKey).toStringList();
    words.removeAll(QString());
    return words.mid(0, kMost);
}

void RecentWords::remember(const QString& word)
{
    const QString w = word.trimmed();
    if (w.isEmpty())
        return;
    QStringList words = load();
    words.removeIf([&w](const QString& old) { return old.compare(w, Qt::CaseInsensitive) == 0; });
    words.prepend(w);
    QSettings s = settings();
    s.setValue(kKey, words.mid(0, kMost));
    s.sync();
}

}  // namespace kavix
