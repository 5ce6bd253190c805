#include "entryform.h"

#include "formui.h"

#include "dictstore/paths.h"

#include "folders.h"
#include "msgbox.h"

#include "twips.h"
#include "windowflags.h"

#include <QCloseEvent>
#include <QDir>
#include <QLocale>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavix {

namespace {

QLineEdit* lineEdit(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

void setComboText(QComboBox* box, const QString& text)
{
    const int listed = text.isEmpty() ? -1 : box->findText(text);
    box->setCurrentIndex(listed);
    if (listed < 0)
        box->setEditText(text);
}

}  // namespace

EntryForm::EntryForm(QWidget* owner, const QString& title, const QString& checkCaption)
    : QDialog(owner, Qt::Dialog | lexi::kFixedWindowHints)
{
    setWindowTitle(title);
    setModal(false);

    fraBasic = new QGroupBox(this);
    fraBasic->setObjectName(QStringLiteral("fraBasic"));
    fraAdditionals = new QGroupBox(QStringLiteral("Additionals"), this);
    fraAdditionals->setObjectName(QStringLiteral("fraAdditionals"));

    txtWord = lineEdit(fraBasic, QStringLiteral("txtWord"));
    txtMeaning = lineEdit(fraBasic, QStringLiteral("txtMeaning"));
    cboPOSp = new QComboBox(fraBasic);
    cboPOSp->setObjectName(QStringLiteral("cboPOSp"));
    cboPOSp->setEditable(true);
    cboPOSp->setInsertPolicy(QComboBox::NoInsert);
    cboPOSp->addItems({QStringLiteral("noun"), QStringLiteral("verb"), QStringLiteral("adjective"),
                       QStringLiteral("adverb")});
    setComboText(cboPOSp, QString());
    txtSentence = lineEdit(fraBasic, QStringLiteral("txtSentence"));
    for (int i = 0; i < 3; ++i) {
        txtSyn[i] = lineEdit(fraAdditionals, QStringLiteral("txtSyn_%1").arg(i));
        txtSyn[i]->setAccessibleName(QStringLiteral("Synonym %1").arg(i + 1));
    }
    for (int i = 0; i < 3; ++i) {
        txtAnto[i] = lineEdit(fraAdditionals, QStringLiteral("txtAnto_%1").arg(i));
        txtAnto[i]->setAccessibleName(QStringLiteral("Antonym %1").arg(i + 1));
    }
    txtPro = lineEdit(fraAdditionals, QStringLiteral("txtPro"));
    cmdCheck = new QPushButton(checkCaption, fraBasic);
    cmdCheck->setObjectName(QStringLiteral("cmdCheck"));
    cmdCheck->setAutoDefault(false);
    cmdCancel = button("cmdCancel", QStringLiteral("&Cancel"));

    Label1 = ui::caption(fraBasic, "Label1", QStringLiteral("&Word:"), txtWord);
    lblMeaning = ui::caption(fraBasic, "lblMeaning", QStringLiteral("&Meaning"), txtMeaning);
    lblPOSp = ui::caption(fraBasic, "lblPOSp", QStringLiteral("&Part of Speech"), cboPOSp);
    lblSentence = ui::caption(fraBasic, "lblSentence", QStringLiteral("&Sample Sentence"), txtSentence);
    lblSyn = ui::caption(fraAdditionals, "lblSyn", QStringLiteral("Sy&nonyms :"), txtSyn[0]);
    lblAnto = ui::caption(fraAdditionals, "lblAnto", QStringLiteral("An&tonyms : "), txtAnto[0]);
    lblPro = ui::caption(fraAdditionals, "lblPro", QStringLiteral("P&ronunciation"), txtPro);

    auto* basic = new QGridLayout(fraBasic);
    basic->addWidget(Label1, 0, 0);
    basic->addWidget(txtWord, 0, 1);
    basic->addWidget(cmdCheck, 0, 2);
    basic->addWidget(lblMeaning, 1, 0);
    basic->addWidget(txtMeaning, 1, 1, 1, 2);
    basic->addWidget(lblPOSp, 2, 0);
    basic->addWidget(cboPOSp, 2, 1, 1, 2);
    basic->addWidget(lblSentence, 3, 0);
    basic->addWidget(txtSentence, 3, 1, 1, 2);
    basic->setColumnStretch(1, 1);

    auto* extra = new QGridLayout(fraAdditionals);
    extra->addWidget(lblSyn, 0, 0);
    extra->addWidget(lblAnto, 1, 0);
    for (int i = 0; i < 3; ++i) {
        extra->addWidget(txtSyn[i], 0, i + 1);
        extra->addWidget(txtAnto[i], 1, i + 1);
    }
    extra->addWidget(lblPro, 2, 0);
    extra->addWidget(txtPro, 2, 1, 1, 3);

    for (QLineEdit* e : {txtWord, txtMeaning, txtSentence, txtPro})
        e->setMinimumWidth(lexi::twips(3600));
    for (int i = 0; i < 3; ++i) {
        txtSyn[i]->setMinimumWidth(lexi::twips(1700));
        txtAnto[i]->setMinimumWidth(lexi::twips(1700));
    }

    txtWord->installEventFilter(this);
    txtMeaning->installEventFilter(this);
    ui::centreWhenFirstShown(this);
}

EntryForm::~EntryForm() { dict_.close(); }

QPushButton* EntryForm::button(const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

void EntryForm::layOut(std::initializer_list<QPushButton*> buttonRow)
{
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : buttonRow) {
        if (b)
            buttons->addWidget(b);
        else
            buttons->addStretch();
    }
    auto* v = new QVBoxLayout(this);
    v->addWidget(fraBasic);
    v->addWidget(fraAdditionals);
    v->addLayout(buttons);
    v->setSizeConstraint(QLayout::SetFixedSize);
    txtWord->setFocus();
}

void EntryForm::makeDefault(QPushButton* button)
{
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setDefault(b == button);
}

void EntryForm::tabChain(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

std::vector<EntryForm::Box> EntryForm::boxes() const
{
    using dictstore::Field;
    std::vector<Box> out{
        {Field::Word, txtWord->text(), QStringLiteral("Word")},
        {Field::Meaning, txtMeaning->text(), QStringLiteral("Meaning")},
        {Field::PartOfSpeech, cboPOSp->currentText(), QStringLiteral("Part of Speech")},
        {Field::Usage, txtSentence->text(), QStringLiteral("Sample Sentence")},
    };
    for (int i = 0; i < 3; ++i)
        out.push_back({static_cast<Field>(static_cast<int>(Field::Synonym1) + i), txtSyn[i]->text(),
                       QStringLiteral("Synonym %1").arg(i + 1)});
    for (int i = 0; i < 3; ++i)
        out.push_back({static_cast<Field>(static_cast<int>(Field::Antonym1) + i), txtAnto[i]->text(),
                       QStringLiteral("Antonym %1").arg(i + 1)});
    out.push_back({Field::Pronu, txtPro->text(), QStringLiteral("Pronunciation")});
    return out;
}

dictstore::WordRecord EntryForm::record() const
{
    dictstore::WordRecord r;
    for (const Box& b : boxes())
        dictstore::assignField(r, b.field, b.text.toStdString());
    return r;
}

namespace {

QString withoutTrailingSpaces(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

}  // namespace

bool EntryForm::confirmStored(const dictstore::WordRecord& r)
{
    QStringList changed;
    for (const Box& b : boxes()) {
        const QString stored = withoutTrailingSpaces(QString::fromStdString(r.field(b.field)));
        if (stored != withoutTrailingSpaces(b.text))
            changed << QStringLiteral("%1: %2").arg(b.caption, stored);
    }
    if (changed.isEmpty())
        return true;
    const QString text =
        QStringLiteral("Some text cannot be stored as typed: each field holds only so many characters, and "
                       "characters the dictionary cannot hold become \"?\". It will be stored as:\n\n") +
        changed.join(QLatin1Char('\n')) + QStringLiteral("\n\nStore it like this?");
    return lexi::msgBox(this, text, lexi::MsgButtons::YesNo, lexi::MsgIcon::Question) == lexi::MsgAnswer::Yes;
}

dictstore::Error EntryForm::openDictionary()
{
    const dictstore::Error e = dict_.openForUpdate(dictstore::dictionaryPath());
    if (e == dictstore::Error::None || e == dictstore::Error::PathNotFound)
        return e;
    dict_.openForReading(dictstore::dictionaryPath());
    return e;
}

void EntryForm::openAtLoad(const QString& openFailed, const QString& readOnlyStill)
{
    updateError_ = openDictionary();
    if (!dict_.isOpen())
        lexi::msgBox(ui::messageParent(this), openFailed + QStringLiteral("\n\n") + openFailure(updateError_));
    else if (!dict_.isWritable())
        lexi::msgBox(ui::messageParent(this), QStringLiteral("The dictionary cannot be written (%1): %2\n\n%3")
                                                  .arg(ui::describe(updateError_), readOnlyStill,
                                                       QDir::toNativeSeparators(lexi::dictionaryFile())));
}

QString EntryForm::openFailure(dictstore::Error e)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(lexi::dictionaryFile()), ui::describe(e));
}

QString EntryForm::writeFailure(dictstore::Error e)
{
    using dictstore::Error;
    switch (e) {
    case Error::Overflow:
        return QStringLiteral("The dictionary already holds %1 entries, the most kavix can handle.")
            .arg(QLocale(QLocale::English).toString(static_cast<qlonglong>(dictstore::kMaxKavixRecords)));
    case Error::InUse:
        return QStringLiteral("File in use by another program: another program (an import, perhaps) is writing "
                              "to the dictionary. Try again when it has finished.");
    case Error::DiskFull:
        return QStringLiteral("Disk full: there is no room left for the dictionary to grow.");
    case Error::PermissionDenied:
        return QStringLiteral("Permission denied: the dictionary, or its disk, is read-only.");
    case Error::FileNotFound:
        return QStringLiteral("File not found: the dictionary was removed or replaced since this form opened.");
    default:
        return ui::describe(e) + QLatin1Char('.');
    }
}

void EntryForm::fill(const dictstore::WordRecord& r)
{
    using dictstore::Field;
    auto text = [&r](Field f) { return QString::fromStdString(r.trimmed(f)); };
    txtWord->setText(text(Field::Word));
    txtMeaning->setText(text(Field::Meaning));
    setComboText(cboPOSp, text(Field::PartOfSpeech));
    txtPro->setText(text(Field::Pronu));
    txtSentence->setText(text(Field::Usage));
    for (int i = 0; i < 3; ++i) {
        txtSyn[i]->setText(text(static_cast<Field>(static_cast<int>(Field::Synonym1) + i)));
        txtAnto[i]->setText(text(static_cast<Field>(static_cast<int>(Field::Antonym1) + i)));
    }
}

void EntryForm::clearBoxes()
{
    for (QLineEdit* e : {txtWord, txtMeaning, txtSentence, txtPro, txtSyn[0], txtSyn[1], txtSyn[2], txtAnto[0],
                         txtAnto[1], txtAnto[2]})
        e->clear();
    setComboText(cboPOSp, QString());
}

bool EntryForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        if (watched == txtWord)
            txtWord_KeyUp();
        else if (watched == txtMeaning)
            txtMeaning_KeyUp();
    }
    return QDialog::eventFilter(watched, event);
}

// Every way of closing lets go of the dictionary; Esc reaches done() without
// a close event.
void EntryForm::closeEvent(QCloseEvent* event)
{
    dict_.close();
    QDialog::closeEvent(event);
}

void EntryForm::done(int result)
{
    dict_.close();
    QDialog::done(result);
}

}  // namespace kavix
