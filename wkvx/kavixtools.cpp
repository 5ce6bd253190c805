#include "kavixtools.h"

#include "dictread.h"
#include "frmInsert.h"
#include "frmReplace.h"
#include "kvxmessage.h"

#include "folders.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"
#include "dictstore/suggest.h"

#include <QTextEdit>

#include <optional>
#include <string>
#include <vector>

namespace wkvx {

namespace {

const QString kNotFound = QStringLiteral("The word you're looking may not be existing in kavix.");

void bringForward(QWidget* dialog)
{
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace

KavixTools::KavixTools(QWidget* frame, ActiveText activeText)
    : QObject(frame), frame_(frame), activeText_(std::move(activeText))
{
}

KavixTools::~KavixTools() = default;

frmInsert* KavixTools::insertDialog() const { return insert_; }

frmReplace* KavixTools::replaceDialog() const { return replace_; }

void KavixTools::insertWord()
{
    if (!insert_) {
        insert_ = new frmInsert(frame_, activeText_);
        insert_->setAttribute(Qt::WA_DeleteOnClose);
    }
    bringForward(insert_);
}

void KavixTools::findSelection()
{
    QTextEdit* box = activeText_ ? activeText_() : nullptr;
    if (!box) {
        showMessage(frame_, kNotFound + QLatin1Char(' ') + kNoDocumentOpen, lexi::MsgIcon::Information);
        return;
    }
    const std::string selection = selText(box).toStdString();

    std::optional<dictstore::Match> match;
    std::vector<std::string> suggestions;
    dictstore::Error error;
    {
        dictstore::Dictionary dict;
        error = openDictionaryToRead(dict);
        if (error == dictstore::Error::None)
            error = dict.findByWord(selection, match);
        // Offered, not reported: a failure here only leaves them out.
        if (error == dictstore::Error::None && !match)
            dictstore::suggestionsFor(dict, selection, suggestions);
    }
    if (error != dictstore::Error::None) {
        showMessage(frame_, kNotFound + QLatin1Char(' ') + lexi::describe(error), lexi::MsgIcon::Information);
        return;
    }
    if (!match) {
        QString text = kNotFound + QStringLiteral(" Check for leading and trailing whitespaces in the selection ");
        if (!suggestions.empty())
            text += QLatin1Char('\n') + QString::fromStdString(dictstore::didYouMeanText(suggestions));
        showMessage(frame_, text, lexi::MsgIcon::Information);
        return;
    }
    showEntry(match->record);
}

void KavixTools::showEntry(const dictstore::WordRecord& record)
{
    if (!replace_) {
        replace_ = new frmReplace(frame_, activeText_);
        replace_->setAttribute(Qt::WA_DeleteOnClose);
    }
    replace_->fill(record);
    bringForward(replace_);
}

}  // namespace wkvx
