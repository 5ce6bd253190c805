#include "dialogs.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
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
    // The dialog lists installed families only. A family drawn with a
    // substitute (Times New Roman with a metric-compatible font) would open
    // on the list's default, and OK would apply that: show the substitute.
    QFont shown = initial;
    const QString drawnIn = QFontInfo(initial).family();
    const bool substituted = !QFontDatabase::hasFamily(initial.family()) && !drawnIn.isEmpty();
    if (substituted)
        shown.setFamily(drawnIn);
    bool ok = false;
    QFont f = QFontDialog::getFont(&ok, shown, parent);
    if (!ok)
        return std::nullopt;
    // What the user left as it was keeps its own name and size (the dialog
    // offers whole points only).
    if (substituted && f.family() == drawnIn)
        f.setFamily(initial.family());
    if (initial.pointSizeF() > 0 && f.pointSize() == qRound(initial.pointSizeF()))
        f.setPointSizeF(initial.pointSizeF());
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
