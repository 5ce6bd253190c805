#include "recentfiles.h"

#include <QSettings>

namespace wkvx {

namespace {

const QString kKey = QStringLiteral("RecentFiles");

void store(QStringList list)
{
    while (list.size() > RecentFiles::kMaxFiles)
        list.removeLast();
    QSettings s(QStringLiteral("Lexivane"), QStringLiteral("wkvx"));
    s.setValue(kKey, list);
}

}  // namespace

QStringList RecentFiles::files()
{
    QSettings s(QStringLiteral("Lexivane"), QStringLiteral("wkvx"));
    QStringList list = s.value(kKey).toStringList();
    list.removeAll(QString());
    while (list.size() > kMaxFiles)
        list.removeLast();
    return list;
}

void RecentFiles::add(const QString& path)
{
    if (path.isEmpty())
        return;
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    store(list);
}

void RecentFiles::remove(const QString& path)
{
    QStringList list = files();
    if (list.removeAll(path) > 0)
        store(list);
}

}  // namespace wkvx
