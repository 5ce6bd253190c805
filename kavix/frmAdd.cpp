#include "frmAdd.h"

#include "dictstore/paths.h"

#include "formui.h"
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
    openAtLoad(kOpenFailed, QStringLiteral("words can be checked, but none can be added."));
}

void frmAdd::reportOpenFailure()
{
    lexi::msgBox(ui::messageParent(this), kOpenFailed + QStringLiteral("\n\n") + openFailure(updateError_));
}

// The word as the dictionary will hold it: cut to its field, in its code page.
QString frmAdd::storedWord() const
{
    dictstore::WordRecord r;
    dictstore::assignField(r, dictstore::Field::Word, txtWord->text().toStdString());
    return QString::fromStdString(r.trimmed(dictstore::Field::Word));
}

// Find by word with the word as it will be stored. Present or not; nothing
// when the dictionary could not be read, which has been reported, as has a
// word already present.
std::optional<bool> frmAdd::present()
{
    if (!dict_.isOpen()) {
        reportOpenFailure();
        return std::nullopt;
    }
    std::optional<dictstore::Match> found;
    if (const dictstore::Error e = dict_.findByWord(storedWord().toStdString(), found); e != dictstore::Error::None) {
        lexi::msgBox(this, QStringLiteral("Unable to read the dictionary: %1").arg(ui::describe(e)),
                     lexi::MsgButtons::Ok, lexi::MsgIcon::Critical);
        return std::nullopt;
    }
    if (found)
        lexi::msgBox(this, QStringLiteral("Word entry already exists!!!, please enter a different value"),
                     lexi::MsgButtons::Ok, lexi::MsgIcon::Critical);
    return found.has_value();
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
    const std::optional<bool> taken = present();
    if (!taken)
        return;
    if (*taken) {
        dis();
        txtWord->clear();
        txtWord->setFocus();
        return;
    }
    txtMeaning->setEnabled(true);
    lexi::msgBox(this, QStringLiteral("Not found. You can add safely this word to the dictionary."));
}

dictstore::Error frmAdd::store(const dictstore::WordRecord& r)
{
    std::int64_t number = 0;
    return dict_.append(r, number, dictstore::kMaxKavixRecords);
}

// The word is checked again as it will be stored: it may have changed since
// Check, or be cut to the same word as one already there.
void frmAdd::cmdAdd_Click()
{
    const QString failed = QStringLiteral(" Unable to add the word. ");
    if (dict_.isOpen() && !dict_.isWritable()) {
        lexi::msgBox(this, failed + writeFailure(updateError_));
        return;
    }
    const std::optional<bool> taken = present();
    if (!taken || *taken) {
        txtWord->setFocus();
        txtWord->selectAll();
        return;
    }
    const dictstore::WordRecord r = record();
    if (!confirmStored(r))
        return;
    if (const dictstore::Error e = store(r); e != dictstore::Error::None) {
        lexi::msgBox(this, failed + writeFailure(e));
        return;
    }
    // The word as stored, where it differs from what was typed.
    const QString stored = QString::fromStdString(r.trimmed(dictstore::Field::Word));
    const QString shown = stored == txtWord->text().trimmed() ? txtWord->text() : stored;
    const lexi::MsgAnswer answer =
        lexi::msgBox(this, shown + QStringLiteral(" added successfully to the dictionary, Want to add another ?"),
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
