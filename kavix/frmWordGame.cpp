#include "frmWordGame.h"

#include "formui.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include "folders.h"
#include "msgbox.h"
#include "twips.h"
#include "windowflags.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <cmath>

namespace kavix {

GameRandom::GameRandom() : fromClock_(true) {}

GameRandom::GameRandom(std::uint32_t seed) : fromClock_(false), engine_(seed) {}

float GameRandom::next()
{
    if (fromClock_)
        engine_.seed(static_cast<std::uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    // 24 random bits: every value a float holds exactly, never 1.
    return static_cast<float>(engine_() >> 8) / 16777216.0f;
}

frmWordGame::frmWordGame(WordGameMemory& memory, QWidget* owner)
    : QDialog(owner, Qt::Dialog | lexi::kFixedWindowHints), memory_(memory)
{
    setObjectName(QStringLiteral("frmWordGame"));
    setWindowTitle(QStringLiteral("Kavix Word Game:"));
    setModal(false);
    setFont(ui::font(QStringLiteral("Tahoma"), 8.25));
    buildForm();
    ui::centreWhenFirstShown(this);
    Form_Load();
}

frmWordGame::~frmWordGame() = default;

void frmWordGame::buildForm()
{
    Frame1 = new QGroupBox(QStringLiteral("Give one word for the following phrase:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lblMeaning = new QLabel(Frame1);
    lblMeaning->setObjectName(QStringLiteral("lblMeaning"));
    lblMeaning->setWordWrap(true);
    lblMeaning->setMinimumHeight(lexi::twips(600));
    lblMeaning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont meaningFont = lblMeaning->font();
    meaningFont.setPointSizeF(meaningFont.pointSizeF() + 2);
    meaningFont.setBold(true);
    lblMeaning->setFont(meaningFont);
    Check1 = new QCheckBox(QStringLiteral("&Remember this game as a file"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setEnabled(false);
    auto* frame = new QVBoxLayout(Frame1);
    frame->addWidget(lblMeaning);
    frame->addWidget(Check1);

    txtWord = new QLineEdit(this);
    txtWord->setObjectName(QStringLiteral("txtWord"));
    txtWord->setAccessibleName(QStringLiteral("Your word"));
    txtWord->setMinimumWidth(lexi::twips(2400));
    cmdOK = new QPushButton(QStringLiteral("&Commit"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdGiveUp = new QPushButton(QStringLiteral("&Give up"), this);
    cmdGiveUp->setObjectName(QStringLiteral("cmdGiveUp"));

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    chkTimer = new QCheckBox(QStringLiteral("&Timer On"), this);
    chkTimer->setObjectName(QStringLiteral("chkTimer"));
    pgBar = new QProgressBar(this);
    pgBar->setObjectName(QStringLiteral("pgBar"));
    pgBar->setAccessibleName(QStringLiteral("Time"));
    pgBar->setRange(0, 100);
    pgBar->setValue(0);
    pgBar->setTextVisible(false);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);

    cmdHint = new QPushButton(QStringLiteral("&Hint"), this);
    cmdHint->setObjectName(QStringLiteral("cmdHint"));
    lblAns = new QLabel(QStringLiteral("No of correct answers:"), this);
    lblAns->setObjectName(QStringLiteral("lblAns"));
    lblcounter = new QLabel(this);
    lblcounter->setObjectName(QStringLiteral("lblcounter"));
    cmdCancel = new QPushButton(QStringLiteral("&Finish Game"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* answer = new QHBoxLayout;
    answer->addWidget(txtWord, 1);
    answer->addWidget(cmdOK);
    answer->addWidget(cmdGiveUp);
    auto* timer = new QHBoxLayout;
    timer->addWidget(chkTimer);
    timer->addWidget(pgBar, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdHint);
    bottom->addSpacing(lexi::twips(240));
    bottom->addWidget(lblAns);
    bottom->addWidget(lblcounter);
    bottom->addStretch();
    bottom->addWidget(cmdCancel);

    auto* v = new QVBoxLayout(this);
    v->addWidget(Frame1);
    v->addLayout(answer);
    v->addWidget(Line1);
    v->addLayout(timer);
    v->addLayout(bottom);
    Frame1->setMinimumWidth(lexi::twips(5400));
    v->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmWordGame::cmdOK_Click);
    connect(cmdHint, &QPushButton::clicked, this, &frmWordGame::cmdHint_Click);
    connect(cmdGiveUp, &QPushButton::clicked, this, &frmWordGame::cmdGiveUp_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmWordGame::cmdCancel_Click);
    connect(chkTimer, &QCheckBox::toggled, this, &frmWordGame::chkTimer_Click);
    connect(Timer1, &QTimer::timeout, this, &frmWordGame::Timer1_Timer);
    txtWord->setFocus();
}

QString frmWordGame::currentWord() const
{
    return hasEntry_ ? QString::fromStdString(current_.trimmed(dictstore::Field::Word)) : QString();
}

// Without an entry there is nothing to answer or hint at; Finish Game and
// the timer stay usable.
void frmWordGame::setPlayable(bool playable)
{
    for (QWidget* w : std::initializer_list<QWidget*>{txtWord, cmdOK, cmdGiveUp, cmdHint})
        w->setEnabled(playable);
}

void frmWordGame::Form_Load()
{
    txtWord->clear();
    Timer1->stop();
    pgBar->setValue(0);

    const float r = memory_.random.next();
    dictstore::Dictionary dict;
    dictstore::WordRecord entry;
    std::int64_t records = 0;
    dictstore::Error e = dict.openForReading(dictstore::dictionaryPath());
    if (e == dictstore::Error::None)
        e = dict.recordCount(records);
    if (e == dictstore::Error::None && records == 0) {
        setPlayable(hasEntry_);
        lexi::msgBox(ui::messageParent(this),
                     QStringLiteral("The dictionary has no words yet. Add some words to it, then play again."));
        return;
    }
    if (e == dictstore::Error::None) {
        // Record numbers are 16 bits wide: a longer file is played on its first 32,767 records.
        const std::int64_t playable = std::min(records, dictstore::kMaxKavixRecords);
        const auto n = static_cast<std::int64_t>(std::floor(static_cast<double>(playable) * r)) + 1;
        e = dict.readRecord(std::min(n, playable), entry);
    }
    dict.close();
    if (e != dictstore::Error::None) {
        setPlayable(hasEntry_);
        lexi::msgBox(ui::messageParent(this), failure(e));
        return;
    }

    current_ = entry;
    hasEntry_ = true;
    setPlayable(true);
    const QString meaning = QString::fromStdString(current_.trimmed(dictstore::Field::Meaning));
    lblMeaning->setText(meaning);
    txtWord->setAccessibleDescription(meaning);
    if (chkTimer->isChecked())
        Timer1->start();
}

// A missing dictionary is what a new user meets before the set-up has run.
QString frmWordGame::failure(dictstore::Error e)
{
    if (e != dictstore::Error::FileNotFound && e != dictstore::Error::PathNotFound)
        return ui::describe(e);
    return QStringLiteral("The game has no dictionary to play with: %1 was not found (%2).\n\nRun the set-up, "
                          "lexivane-setup, to install the default dictionary, then start the game again.")
        .arg(QDir::toNativeSeparators(lexi::dictionaryFile()), ui::describe(e));
}

// Another entry with the same meaning is just as right: the player cannot
// tell from the meaning which of them was picked. Letter case still counts.
bool frmWordGame::sharesMeaning(const QString& answer) const
{
    const std::string_view meaning = dictstore::trimSpaces(current_.raw(dictstore::Field::Meaning));
    const std::string word = answer.toStdString();
    bool found = false;
    dictstore::Dictionary dict;
    if (dict.openForReading(dictstore::dictionaryPath()) != dictstore::Error::None)
        return false;
    dict.readAll(
        [&](const dictstore::WordRecord& r, std::int64_t) {
            if (!found && dictstore::trimSpaces(r.raw(dictstore::Field::Meaning)) == meaning &&
                r.trimmed(dictstore::Field::Word) == word)
                found = true;
            return dictstore::Error::None;
        },
        dictstore::kMaxKavixRecords);
    return found;
}

void frmWordGame::cmdOK_Click()
{
    if (!hasEntry_)
        return;
    const QString word = currentWord();
    const std::string typed = txtWord->text().toStdString();
    const QString answer = QString::fromUtf8(dictstore::trimSpaces(typed));
    // Letter case counts here, unlike every other comparison of words.
    if (answer == word || (!answer.isEmpty() && sharesMeaning(answer))) {
        if (memory_.correct < dictstore::kMaxKavixRecords)
            ++memory_.correct;
        lexi::msgBox(this, QStringLiteral("Yes! you are on the roar..."));
        lblcounter->setText(QString::number(memory_.correct));
    } else {
        lexi::msgBox(this, QStringLiteral("Oh! you missed it! correct word is: ") + word);
        txtWord->clear();
    }
    Form_Load();
}

void frmWordGame::cmdHint_Click()
{
    if (!hasEntry_)
        return;
    const QString word = currentWord();
    lexi::msgBox(this, QString::number(word.size()) + QStringLiteral(" letters, Starts with '") + word.left(2) + QLatin1Char('\''),
                 lexi::MsgButtons::Ok, lexi::MsgIcon::Information, QStringLiteral("Hint!"));
}

void frmWordGame::cmdGiveUp_Click()
{
    if (!hasEntry_)
        return;
    lexi::msgBox(this, QStringLiteral("The word for this phrase is: ") + currentWord());
    Form_Load();
}

void frmWordGame::cmdCancel_Click() { close(); }

void frmWordGame::chkTimer_Click()
{
    if (chkTimer->isChecked()) {
        Timer1->start();
        return;
    }
    Timer1->stop();
    pgBar->setValue(0);
}

void frmWordGame::Timer1_Timer()
{
    if (pgBar->value() < 100)
        pgBar->setValue(pgBar->value() + 5);
}

}  // namespace kavix
