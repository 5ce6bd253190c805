#include "frmEdit.h"

#include "formui.h"

#include "dictstore/paths.h"

#include "msgbox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace kavix {

namespace {

const QString kNotFound = QStringLiteral("Not found. Please spell the word correctly.");

}  // namespace

frmEdit::frmEdit(EditMemory& memory, QWidget* owner)
    : EntryForm(owner, QStringLiteral("Edit an Existing word"), QStringLiteral("&Search")), memory_(memory)
{
    setObjectName(QStringLiteral("frmEdit"));
    cmdEdit = button("cmdEdit", QStringLiteral("&Save"));
    layOut({cmdEdit, nullptr, cmdCancel});
    tabChain({txtWord, cmdCheck, txtMeaning, cboPOSp, txtSentence, txtSyn[0], txtSyn[1], txtSyn[2], txtAnto[0],
              txtAnto[1], txtAnto[2], txtPro, cmdEdit, cmdCancel});
    connect(cmdCheck, &QPushButton::clicked, this, &frmEdit::cmdCheck_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmEdit::cmdEdit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEdit::cmdCancel_Click);
    Form_Load();
}

frmEdit::~frmEdit() = default;

void frmEdit::Form_Load()
{
    for (QWidget* w : std::initializer_list<QWidget*>{cmdCheck, txtMeaning, cboPOSp, txtSentence, txtSyn[0],
                                                      txtSyn[1], txtSyn[2], txtAnto[0], txtAnto[1], txtAnto[2],
                                                      txtPro, cmdEdit})
        w->setEnabled(false);
    makeDefault(cmdEdit);
    openAtLoad(QStringLiteral("Unknown error!!! Can't open dictionary"),
               QStringLiteral("entries can be looked up, but changes cannot be saved."));
}

// What the boxes showed no longer stands for an entry: they are emptied and
// locked, so that Save cannot write them over the one shown before.
void frmEdit::dropEntry()
{
    for (QWidget* w : std::initializer_list<QWidget*>{txtMeaning, cboPOSp, txtSentence, txtSyn[0], txtSyn[1],
                                                      txtSyn[2], txtAnto[0], txtAnto[1], txtAnto[2], txtPro,
                                                      cmdEdit})
        w->setEnabled(false);
    const QString word = txtWord->text();
    clearBoxes();
    txtWord->setText(word);
}

void frmEdit::en()
{
    txtSentence->setEnabled(true);
    txtPro->setEnabled(true);
    for (int i = 0; i < 3; ++i) {
        txtSyn[i]->setEnabled(true);
        txtAnto[i]->setEnabled(true);
    }
    cboPOSp->setEnabled(true);
}

// Second, so that Save wins the default when both boxes hold text.
void frmEdit::saveWhenBothBoxesHoldText()
{
    const bool both = !txtWord->text().isEmpty() && !txtMeaning->text().isEmpty();
    cmdEdit->setEnabled(both);
    if (both)
        makeDefault(cmdEdit);
    else
        cmdEdit->setDefault(false);
}

void frmEdit::txtWord_KeyUp()
{
    const bool word = !txtWord->text().isEmpty();
    cmdCheck->setEnabled(word);
    if (word)
        makeDefault(cmdCheck);
    else
        cmdCheck->setDefault(false);
    saveWhenBothBoxesHoldText();
}

void frmEdit::txtMeaning_KeyUp() { saveWhenBothBoxesHoldText(); }

void frmEdit::cmdCheck_Click()
{
    if (!dict_.isOpen()) {
        lexi::msgBox(this, QStringLiteral("The dictionary could not be opened, so nothing can be found in it.\n\n") +
                               openFailure(updateError_));
        return;
    }
    std::optional<dictstore::Match> found;
    if (const dictstore::Error e = dict_.findByWord(txtWord->text().toStdString(), found);
        e != dictstore::Error::None) {
        lexi::msgBox(this, QStringLiteral("Unable to read the dictionary: %1").arg(ui::describe(e)),
                     lexi::MsgButtons::Ok, lexi::MsgIcon::Critical);
        return;
    }
    // The remembered number is 16 bits wide: a match beyond it cannot be saved back.
    if (!found || found->number > dictstore::kMaxKavixRecords) {
        lexi::msgBox(this, kNotFound);
        dropEntry();
        return;
    }
    memory_.record = static_cast<std::int16_t>(found->number);
    txtMeaning->setEnabled(true);
    en();
    fill(found->record);
    cmdEdit->setEnabled(true);
    // Enter now saves what is typed into the entry, rather than searching again.
    makeDefault(cmdEdit);
}

void frmEdit::cmdEdit_Click()
{
    const dictstore::WordRecord r = record();
    if (!dict_.isWritable()) {
        lexi::msgBox(this, QStringLiteral("The entry was not saved. ") + writeFailure(updateError_),
                     lexi::MsgButtons::Ok, lexi::MsgIcon::Critical);
        return;
    }
    if (!confirmStored(r))
        return;
    const dictstore::Error e = dict_.rewrite(memory_.record, r);
    if (e != dictstore::Error::None) {
        // Nothing was written: the boxes stay for another try.
        lexi::msgBox(this, QStringLiteral("The entry was not saved. ") + writeFailure(e), lexi::MsgButtons::Ok,
                     lexi::MsgIcon::Critical);
        return;
    }
    lexi::msgBox(this, QStringLiteral("Edited record successfully"));
    close();
}

void frmEdit::cmdCancel_Click() { close(); }

}  // namespace kavix
