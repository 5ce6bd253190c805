#include "dialogs.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QStringList>

namespace lexi {

namespace {

DialogProvider*& installed()
{
    static DialogProvider* p = nullptr;
    return p;
}

}  // namespace

QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // "Rich text format(*.rtf)" already names its pattern; Qt reads the
        // pattern from the parentheses, so make sure they are there.
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (%1)").arg(parts[i + 1]);
        out << description;
    }
    return out.join(QStringLiteral(";;"));
}

QString DialogProvider::openFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), qtFilter(filter));
}

QString DialogProvider::saveFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, QString(), qtFilter(filter));
}

std::optional<QFont> DialogProvider::font(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return f;
}

QString DialogProvider::inputText(QWidget* parent, const QString& prompt, const QString& title,
                                  const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

DialogProvider& dialogs()
{
    static DialogProvider real;
    return installed() ? *installed() : real;
}

void setDialogProvider(DialogProvider* provider) { installed() = provider; }

}  // namespace lexi
