#include "frmAdd.h"

#include "dictstore/paths.h"

#include "msgbox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace kavix {

namespace {

const QString kOpenFailed = QStringLiteral("Unable to open the dictionary, kindly contact designer for help");

}  // namespace

frmAdd::frmAdd(QWidget* owner)
    : EntryForm(owner, QStringLiteral("Add New Word"), QStringLiteral("C&heck"))
{
    setObjectName(QStringLiteral("frmAdd"));
    cmdAdd = button("cmdAdd", QStringLiteral("&Add to Dictionary"));
    cmdClear = button("cmdClear", QStringLiteral("C&lear form"));
    layOut({cmdAdd, cmdClear, nullptr, cmdCancel});
    tabChain({txtWord, txtMeaning, cboPOSp, txtSentence, txtSyn[0], txtSyn[1], txtSyn[2], txtAnto[0], txtAnto[1],
              txtAnto[2], txtPro, cmdAdd, cmdCancel, cmdCheck, cmdClear});
    connect(cmdCheck, &QPushButton::clicked, this, &frmAdd::cmdCheck_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmAdd::cmdAdd_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmAdd::cmdClear_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAdd::cmdCancel_Click);
    Form_Load();
}

frmAdd::~frmAdd() = default;

void frmAdd::Form_Load()
{
    dis();
    const dictstore::Error e = dict_.openForUpdate(dictstore::dictionaryPath());
    if (e != dictstore::Error::None)
        reportOpenFailure();
}

void frmAdd::reportOpenFailure() { lexi::msgBox(this, kOpenFailed); }

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
    std::int64_t number = 0;
    return dict_.append(record(), number, dictstore::kMaxKavixRecords);
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
    clearBoxes();
    dis();
}

void frmAdd::cmdCancel_Click() { close(); }

}  // namespace kavix
