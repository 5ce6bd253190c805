#include "frmAdd.h"
#include "windowflags.h"

#include "formui.h"

#include "folders.h"
#include "msgbox.h"
#include "twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace kavix {

namespace {

const QString kOpenFailed = QStringLiteral("Unable to open the dictionary, kindly contact designer for help");

QLineEdit* lineEdit(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

}  // namespace

frmAdd::frmAdd(QWidget* owner)
    : QDialog(owner, Qt::Dialog | lexi::kFixedWindowHints)
{
    setObjectName(QStringLiteral("frmAdd"));
    setWindowTitle(QStringLiteral("Add New Word"));
    setModal(false);
    buildForm();
    ui::centreWhenFirstShown(this);
    Form_Load();
}

frmAdd::~frmAdd() { dict_.close(); }

void frmAdd::buildForm()
{
    fraBasic = new QGroupBox(this);
    fraBasic->setObjectName(QStringLiteral("fraBasic"));
    fraAdditionals = new QGroupBox(QStringLiteral("Additionals"), this);
    fraAdditionals->setObjectName(QStringLiteral("fraAdditionals"));

    // Created in tab order: the focus chain follows creation.
    txtWord = lineEdit(fraBasic, QStringLiteral("txtWord"));
    txtMeaning = lineEdit(fraBasic, QStringLiteral("txtMeaning"));
    cboPOSp = new QComboBox(fraBasic);
    cboPOSp->setObjectName(QStringLiteral("cboPOSp"));
    cboPOSp->setEditable(true);
    cboPOSp->setInsertPolicy(QComboBox::NoInsert);
    cboPOSp->addItems({QStringLiteral("noun"), QStringLiteral("verb"), QStringLiteral("adjective"),
                       QStringLiteral("adverb")});
    cboPOSp->setCurrentIndex(-1);
    cboPOSp->setEditText(QString());
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
    cmdAdd = new QPushButton(QStringLiteral("&Add to Dictionary"), this);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCheck = new QPushButton(QStringLiteral("C&heck"), fraBasic);
    cmdCheck->setObjectName(QStringLiteral("cmdCheck"));
    cmdClear = new QPushButton(QStringLiteral("C&lear form"), this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));

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

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdClear);
    buttons->addStretch();
    buttons->addWidget(cmdCancel);

    // Only the handlers below choose the default button.
    for (QPushButton* b : {cmdCheck, cmdAdd, cmdClear, cmdCancel})
        b->setAutoDefault(false);

    auto* v = new QVBoxLayout(this);
    v->addWidget(fraBasic);
    v->addWidget(fraAdditionals);
    v->addLayout(buttons);
    for (QLineEdit* e : {txtWord, txtMeaning, txtSentence, txtPro})
        e->setMinimumWidth(lexi::twips(3600));
    for (int i = 0; i < 3; ++i) {
        txtSyn[i]->setMinimumWidth(lexi::twips(1700));
        txtAnto[i]->setMinimumWidth(lexi::twips(1700));
    }
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    txtWord->installEventFilter(this);
    txtMeaning->installEventFilter(this);
    connect(cmdCheck, &QPushButton::clicked, this, &frmAdd::cmdCheck_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmAdd::cmdAdd_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmAdd::cmdClear_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAdd::cmdCancel_Click);
    txtWord->setFocus();
}

bool frmAdd::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        if (watched == txtWord)
            txtWord_KeyUp();
        else if (watched == txtMeaning)
            txtMeaning_KeyUp();
    }
    return QDialog::eventFilter(watched, event);
}

void frmAdd::Form_Load()
{
    dis();
    const dictstore::Error e = dict_.openForUpdate(dictstore::dictionaryPath());
    if (e != dictstore::Error::None)
        reportOpenFailure();
}

void frmAdd::reportOpenFailure() { lexi::msgBox(this, kOpenFailed); }

void frmAdd::makeDefault(QPushButton* button)
{
    for (QPushButton* b : {cmdCheck, cmdAdd, cmdClear, cmdCancel})
        b->setDefault(b == button);
}

void frmAdd::dis()
{
    for (QWidget* w : lockable())
        w->setEnabled(false);
    cmdCheck->setEnabled(false);
    txtMeaning->setEnabled(false);
}

std::vector<QWidget*> frmAdd::lockable() const
{
    return {cmdClear,   txtSentence, txtPro,      txtSyn[0], txtSyn[1], txtSyn[2],
            txtAnto[0], txtAnto[1],  txtAnto[2],  cboPOSp,   cmdAdd};
}

void frmAdd::en()
{
    for (QWidget* w : lockable())
        w->setEnabled(true);
}

void frmAdd::txtWord_KeyUp()
{
    cmdCheck->setEnabled(!txtWord->text().isEmpty());
    makeDefault(cmdCheck);
}

void frmAdd::txtMeaning_KeyUp()
{
    if (!txtMeaning->text().isEmpty()) {
        en();
        makeDefault(cmdAdd);
        return;
    }
    // As dis() and then the meaning box and Check opened again, but without
    // disabling the meaning box in between, which would take its focus away.
    for (QWidget* w : lockable())
        w->setEnabled(false);
    txtMeaning->setEnabled(true);
    cmdCheck->setEnabled(true);
}

void frmAdd::cmdCheck_Click()
{
    if (!dict_.isOpen()) {
        reportOpenFailure();
        return;
    }
    std::optional<dictstore::Match> found;
    const dictstore::Error e = dict_.findByWord(txtWord->text().toStdString(), found);
    if (e != dictstore::Error::None) {
        lexi::msgBox(this, QStringLiteral("Unable to read the dictionary: %1")
                               .arg(QString::fromUtf8(dictstore::describe(e).data())),
                     lexi::MsgButtons::Ok, lexi::MsgIcon::Critical);
        return;
    }
    if (found) {
        lexi::msgBox(this, QStringLiteral("Word entry already exists!!!, please enter a different value"),
                     lexi::MsgButtons::Ok, lexi::MsgIcon::Critical);
        dis();
        txtWord->clear();
        txtWord->setFocus();
        return;
    }
    txtMeaning->setEnabled(true);
    lexi::msgBox(this, QStringLiteral("Not found. You can add safely this word to the dictionary."));
}

dictstore::Error frmAdd::store()
{
    using dictstore::Field;
    dictstore::WordRecord record;
    auto put = [&record](Field f, const QString& text) { dictstore::assignField(record, f, text.toStdString()); };
    put(Field::Word, txtWord->text());
    put(Field::Meaning, txtMeaning->text());
    put(Field::PartOfSpeech, cboPOSp->currentText());
    put(Field::Usage, txtSentence->text());
    put(Field::Synonym1, txtSyn[0]->text());
    put(Field::Synonym2, txtSyn[1]->text());
    put(Field::Synonym3, txtSyn[2]->text());
    put(Field::Antonym1, txtAnto[0]->text());
    put(Field::Antonym2, txtAnto[1]->text());
    put(Field::Antonym3, txtAnto[2]->text());
    put(Field::Pronu, txtPro->text());
    std::int64_t number = 0;
    return dict_.append(record, number, dictstore::kMaxKavixRecords);
}

void frmAdd::cmdAdd_Click()
{
    if (!dict_.isOpen()) {
        reportOpenFailure();
        return;
    }
    if (store() != dictstore::Error::None) {
        lexi::msgBox(this,
                     QStringLiteral(" Unable to add the word. Either the word already exist or its meaning is not set."));
        return;
    }
    const lexi::MsgAnswer answer =
        lexi::msgBox(this, txtWord->text() + QStringLiteral(" added successfully to the dictionary, Want to add another ?"),
                     lexi::MsgButtons::YesNo, lexi::MsgIcon::None, QStringLiteral("Added New Word!"));
    cmdClear_Click();
    txtWord->setFocus();
    dis();
    if (answer == lexi::MsgAnswer::No)
        close();
}

void frmAdd::cmdClear_Click()
{
    for (QLineEdit* e : {txtWord, txtMeaning, txtSentence, txtPro, txtSyn[0], txtSyn[1], txtSyn[2], txtAnto[0],
                         txtAnto[1], txtAnto[2]})
        e->clear();
    cboPOSp->setCurrentIndex(-1);
    cboPOSp->setEditText(QString());
    dis();
}

void frmAdd::cmdCancel_Click() { close(); }

// Every way of closing (Cancel, Esc, the close box, No after an add) lets go
// of the dictionary; Esc reaches done() without a close event.
void frmAdd::closeEvent(QCloseEvent* event)
{
    dict_.close();
    QDialog::closeEvent(event);
}

void frmAdd::done(int result)
{
    dict_.close();
    QDialog::done(result);
}

}  // namespace kavix
