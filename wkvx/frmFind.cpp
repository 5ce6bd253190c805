#include "frmFind.h"

#include "msgbox.h"
#include "windowflags.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace wkvx {

frmFind::frmFind(QWidget* owner, ActiveText activeText)
    : QDialog(owner, Qt::Dialog | lexi::kFixedWindowHints), activeText_(std::move(activeText))
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find and Replace"));
    setModal(false);
    buildForm();
}

void frmFind::buildForm()
{
    auto* grid = new QGridLayout;
    auto field = [&](QLabel*& label, QLineEdit*& edit, const char* name, const QString& caption, int row) {
        label = new QLabel(caption, this);
        edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
    };
    field(lblFind, txtFind, "txtFind", QStringLiteral("&Find what:"), 0);
    field(lblReplace, txtReplace, "txtReplace", QStringLiteral("Re&place with:"), 1);
    chkMatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWords = new QCheckBox(QStringLiteral("&Whole words only"), this);
    chkWholeWords->setObjectName(QStringLiteral("chkWholeWords"));
    grid->addWidget(chkMatchCase, 2, 1);
    grid->addWidget(chkWholeWords, 3, 1);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAccessibleName(QStringLiteral("Search result"));
    lblStatus->setMinimumWidth(300);
    lblStatus->setWordWrap(true);
    grid->addWidget(lblStatus, 4, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    auto button = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    cmdFindNext = button("cmdFindNext", QStringLiteral("Find &Next"));
    cmdFindPrevious = button("cmdFindPrevious", QStringLiteral("Find Pre&vious"));
    cmdReplace = button("cmdReplace", QStringLiteral("&Replace"));
    cmdReplaceAll = button("cmdReplaceAll", QStringLiteral("Replace &All"));
    cmdClose = button("cmdClose", QStringLiteral("Close"));
    buttons->addStretch();
    cmdFindNext->setDefault(true);

    auto* top = new QHBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    top->addLayout(grid, 1);
    top->addLayout(buttons);

    connect(cmdFindNext, &QPushButton::clicked, this, &frmFind::cmdFindNext_Click);
    connect(cmdFindPrevious, &QPushButton::clicked, this, &frmFind::cmdFindPrevious_Click);
    connect(cmdReplace, &QPushButton::clicked, this, &frmFind::cmdReplace_Click);
    connect(cmdReplaceAll, &QPushButton::clicked, this, &frmFind::cmdReplaceAll_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::hide);
    // Whatever the text box's state, a new search starts a new message.
    connect(txtFind, &QLineEdit::textEdited, lblStatus, &QLabel::clear);
}

FindOptions frmFind::options() const
{
    return {txtFind->text(), chkMatchCase->isChecked(), chkWholeWords->isChecked()};
}

void frmFind::open(const QString& selection)
{
    if (!selection.isEmpty() && !selection.contains(QLatin1Char('\n')))
        txtFind->setText(selection);
    lblStatus->clear();
    show();
    raise();
    activateWindow();
    txtFind->setFocus();
    txtFind->selectAll();
}

void frmFind::say(const QString& text) { lblStatus->setText(text); }

bool frmFind::find(bool backward)
{
    QTextEdit* box = activeText_ ? activeText_() : nullptr;
    const FindOptions opts = options();
    if (!box || opts.text.isEmpty()) {
        say(box ? QStringLiteral("Type the text to find.") : QStringLiteral("No document is open."));
        return false;
    }
    bool wrapped = false;
    const QTextCursor found = findMatch(box->document(), box->textCursor(), opts, backward, &wrapped);
    if (found.isNull()) {
        say(QStringLiteral("\"%1\" was not found.").arg(opts.text));
        return false;
    }
    box->setTextCursor(found);
    box->ensureCursorVisible();
    say(wrapped ? (backward ? QStringLiteral("Passed the start of the document; went on from the end.")
                            : QStringLiteral("Passed the end of the document; went on from the start."))
                : QString());
    return true;
}

bool frmFind::findNext() { return find(false); }
bool frmFind::findPrevious() { return find(true); }

void frmFind::replace()
{
    QTextEdit* box = activeText_ ? activeText_() : nullptr;
    if (!box) {
        say(QStringLiteral("No document is open."));
        return;
    }
    // The match that was found is replaced; then the next one is shown.
    QTextCursor c = box->textCursor();
    if (isMatch(c, options())) {
        c.insertText(txtReplace->text());
        box->setTextCursor(c);
    }
    findNext();
}

int frmFind::replaceAll()
{
    QTextEdit* box = activeText_ ? activeText_() : nullptr;
    const FindOptions opts = options();
    if (!box || opts.text.isEmpty()) {
        say(box ? QStringLiteral("Type the text to find.") : QStringLiteral("No document is open."));
        return 0;
    }
    const int count = wkvx::replaceAll(box->document(), opts, txtReplace->text());
    const QString text = count == 1 ? QStringLiteral("1 replacement made.")
                                    : QStringLiteral("%1 replacements made.").arg(count);
    say(text);
    lexi::msgBox(this, text, lexi::MsgButtons::Ok, lexi::MsgIcon::Information);
    return count;
}

}  // namespace wkvx
