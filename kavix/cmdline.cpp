#include "cmdline.h"

#include "frmR2.h"
#include "frmResult.h"
#include "frmSearch.h"
#include "frmViewAll.h"

#include "dictstore/wordrecord.h"

#include "msgbox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include <memory>

namespace kavix {

bool isMeaningSearch(const QString& commandLine)
{
    return commandLine == QLatin1String("/m") || commandLine.startsWith(QLatin1String("/m "));
}

QString selectedText()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Wayland offers no selection that another program can read reliably.
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    const auto mode = !wayland && clipboard->supportsSelection() ? QClipboard::Selection : QClipboard::Clipboard;
    return clipboard->text(mode);
}

QString selectedWord(const QString& selection)
{
    QString text = selection.simplified();
    // Marks around a word ("happy," or "(happy)") are not part of it.
    auto isWordChar = [](QChar c) { return c.isLetterOrNumber(); };
    while (!text.isEmpty() && !isWordChar(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && !isWordChar(text.back()))
        text.chop(1);
    // More than an entry can hold: the first word of it.
    if (text.toUtf8().size() > static_cast<qsizetype>(dictstore::layoutOf(dictstore::Field::Word).width))
        return selectedWord(text.section(QLatin1Char(' '), 0, 0));
    return text;
}

QWidget* runCommandLine(const QString& commandLine)
{
    if (commandLine == QLatin1String("--selection")) {
        const QString word = selectedWord(selectedText());
        if (word.isEmpty()) {
            lexi::msgBox(nullptr, QStringLiteral("No word is selected. Select a word in any program, then look it up "
                                                 "again."));
            return nullptr;
        }
        return runCommandLine(word);
    }
    QWidget* window = nullptr;
    if (commandLine == QLatin1String("viewall")) {
        window = new frmViewAll;
    } else {
        // The dialog is only a carrier of the search here, in its initial
        // state, and is gone before the user could use it; it is never shown.
        auto search = std::make_unique<frmSearch>();
        const QChar code = commandLine.size() >= 2 && commandLine.startsWith(QLatin1Char('/')) ? commandLine.at(1)
                                                                                                : QChar();
        if (isMeaningSearch(commandLine)) {
            search->txtMeaning->setText(commandLine.mid(2).trimmed());
            SearchRequest request = search->request();
            request.byMeaning = true;
            window = new frmR2(request);
        } else if (code >= QLatin1Char('1') && code <= QLatin1Char('3')) {
            const int n = code.digitValue();
            search->setLetterLimit(n);
            search->txt2letter->setText(commandLine.mid(2, n));
            window = new frmR2(search->request());
        } else {
            search->txtExact->setText(commandLine);
            window = new frmResult(search->request());
        }
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

}  // namespace kavix
