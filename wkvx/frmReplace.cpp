#include "frmReplace.h"

#include "kvxmessage.h"

#include "twips.h"
#include "windowflags.h"

#include "dictstore/wordrecord.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

namespace wkvx {

namespace {

using dictstore::Field;

template <typename W>
W* named(W* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(lexi::twipsRect(left, top, width, height));
    return widget;
}

QString trimmed(const dictstore::WordRecord& r, Field f) { return QString::fromStdString(r.trimmed(f)); }

}  // namespace

frmReplace::frmReplace(QWidget* owner, ActiveText activeText)
    : QDialog(owner, Qt::Dialog | lexi::kFixedWindowHints), activeText_(std::move(activeText))
{
    setObjectName(QStringLiteral("frmReplace"));
    setWindowTitle(QStringLiteral("Replace with"));
    setModal(false);
    buildForm();
}

frmReplace::~frmReplace() = default;

void frmReplace::buildForm()
{
    setFixedSize(lexi::twipsSize(7215, 4695));

    txtFind = named(new QLineEdit(this), "txtFind", 840, 120, 3975, 315);
    lblFind = named(new QLabel(QStringLiteral("Find:"), this), "lblFind", 120, 150, 675, 255);
    lblFind->setBuddy(txtFind);
    lblMeaning = named(new QLabel(this), "lblMeaning", 840, 540, 3975, 495);
    lblMeaning->setWordWrap(true);
    lblMeaning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMeaning->setTextFormat(Qt::PlainText);

    cmdFindAgain = named(new QPushButton(QStringLiteral("&Find Again"), this), "cmdFindAgain", 5040, 120, 2055, 375);
    cmdCancel = named(new QPushButton(QStringLiteral("&Cancel"), this), "cmdCancel", 5040, 600, 2055, 375);

    fraMatches = named(new QGroupBox(QStringLiteral("Matches:"), this), "fraMatches", 120, 1200, 6975, 3375);
    lstSyno = named(new QListWidget(fraMatches), "lstSyno", 120, 600, 3255, 1935);
    lblSyno = named(new QLabel(QStringLiteral("Synonyms"), fraMatches), "lblSyno", 120, 330, 3255, 255);
    lblSyno->setBuddy(lstSyno);
    lstSyno->setAccessibleName(QStringLiteral("Synonyms"));
    cmdSyno = named(new QPushButton(QStringLiteral("&Replace with selcted synonym"), fraMatches), "cmdSyno", 120,
                    2640, 3255, 495);
    lstAnto = named(new QListWidget(fraMatches), "lstAnto", 3600, 600, 3255, 1935);
    lblAnto = named(new QLabel(QStringLiteral("Antonyms"), fraMatches), "lblAnto", 3600, 330, 3255, 255);
    lblAnto->setBuddy(lstAnto);
    lstAnto->setAccessibleName(QStringLiteral("Antonyms"));
    cmdAnto = named(new QPushButton(QStringLiteral("&Replace with selcted antonym"), fraMatches), "cmdAnto", 3600,
                    2640, 3255, 495);

    // No default button until a list is clicked. A dialog shown without one
    // would make its first auto-default button the default.
    for (QPushButton* b : {cmdFindAgain, cmdCancel, cmdSyno, cmdAnto})
        b->setAutoDefault(false);

    setTabOrder(txtFind, lstSyno);
    setTabOrder(lstSyno, cmdSyno);
    setTabOrder(cmdSyno, lstAnto);
    setTabOrder(lstAnto, cmdAnto);
    setTabOrder(cmdAnto, cmdFindAgain);
    setTabOrder(cmdFindAgain, cmdCancel);
    lstSyno->setFocus();

    // Clicking an item, or choosing one with the arrow keys, chooses the
    // list's button. Only the focus arriving in a list chooses nothing.
    connect(lstSyno, &QListWidget::itemClicked, this, &frmReplace::lstSyno_Click);
    connect(lstSyno, &QListWidget::itemSelectionChanged, this, &frmReplace::lstSyno_Click);
    connect(lstAnto, &QListWidget::itemClicked, this, &frmReplace::lstAnto_Click);
    connect(lstAnto, &QListWidget::itemSelectionChanged, this, &frmReplace::lstAnto_Click);
    connect(cmdSyno, &QPushButton::clicked, this, &frmReplace::cmdSyno_Click);
    connect(cmdAnto, &QPushButton::clicked, this, &frmReplace::cmdAnto_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReplace::cmdCancel_Click);
    // cmdFindAgain has no action.
}

void frmReplace::fill(const dictstore::WordRecord& record)
{
    // Only this entry's words are offered, also when the dialog is still
    // open from an earlier look-up.
    lstAnto->clear();
    lstSyno->clear();
    txtFind->setText(trimmed(record, Field::Word));
    lblMeaning->setText(trimmed(record, Field::Meaning));
    for (Field f : {Field::Antonym1, Field::Antonym2, Field::Antonym3})
        lstAnto->addItem(trimmed(record, f));
    for (Field f : {Field::Synonym1, Field::Synonym2, Field::Synonym3})
        lstSyno->addItem(trimmed(record, f));
}

void frmReplace::lstSyno_Click() { cmdSyno->setDefault(true); }

void frmReplace::lstAnto_Click() { cmdAnto->setDefault(true); }

void frmReplace::cmdSyno_Click() { replaceBy(lstSyno, QStringLiteral("Choose a synonym to insert")); }

void frmReplace::cmdAnto_Click() { replaceBy(lstAnto, QStringLiteral("Choose an antonym to insert")); }

void frmReplace::replaceBy(QListWidget* list, const QString& chooseMessage)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    const QString word = selected.isEmpty() ? QString() : selected.first()->text();
    if (word.isEmpty()) {
        showMessage(this, chooseMessage, lexi::MsgIcon::Exclamation);
        return;
    }
    // The documents may all have closed while the dialog stayed open: the
    // choice is kept so that it can go to a document opened now.
    QTextEdit* box = activeText_ ? activeText_() : nullptr;
    if (!box) {
        showMessage(this, kNoDocumentToReplace, lexi::MsgIcon::Exclamation);
        return;
    }
    // The look-up ignores spaces around the selected word; the replacement
    // keeps them, so the words around it stay apart.
    const QString old = selText(box);
    qsizetype lead = 0;
    while (lead < old.size() && old.at(lead) == QLatin1Char(' '))
        ++lead;
    qsizetype trail = 0;
    while (trail < old.size() - lead && old.at(old.size() - 1 - trail) == QLatin1Char(' '))
        ++trail;
    setSelText(box, old.left(lead) + word + old.right(trail));
    close();
}

void frmReplace::cmdCancel_Click() { close(); }

}  // namespace wkvx
