#include "entryform.h"

#include "formui.h"

#include "twips.h"
#include "windowflags.h"

#include <QCloseEvent>
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

dictstore::WordRecord EntryForm::record() const
{
    using dictstore::Field;
    dictstore::WordRecord r;
    auto put = [&r](Field f, const QString& text) { dictstore::assignField(r, f, text.toStdString()); };
    put(Field::Word, txtWord->text());
    put(Field::Meaning, txtMeaning->text());
    put(Field::PartOfSpeech, cboPOSp->currentText());
    put(Field::Pronu, txtPro->text());
    put(Field::Usage, txtSentence->text());
    for (int i = 0; i < 3; ++i) {
        put(static_cast<Field>(static_cast<int>(Field::Synonym1) + i), txtSyn[i]->text());
        put(static_cast<Field>(static_cast<int>(Field::Antonym1) + i), txtAnto[i]->text());
    }
    return r;
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
