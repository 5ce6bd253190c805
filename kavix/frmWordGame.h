#pragma once

#include "dictstore/errors.h"
#include "dictstore/wordrecord.h"

#include <QDialog>

#include <cstdint>
#include <random>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kavix {

// Where the game's random numbers come from: reseeded from the clock at every
// draw in the program, a fixed sequence in tests.
class GameRandom {
public:
    GameRandom();
    explicit GameRandom(std::uint32_t seed);

    // 0 <= r < 1.
    float next();

private:
    bool fromClock_;
    std::mt19937 engine_;
};

// What the game keeps from one opening to the next in a run.
struct WordGameMemory {
    std::int16_t correct = 0;  // correct answers so far
    GameRandom random;
};

// Shows the meaning of a random entry; the player types its word.
class frmWordGame : public QDialog {
    Q_OBJECT
public:
    explicit frmWordGame(WordGameMemory& memory, QWidget* owner = nullptr);
    ~frmWordGame() override;

    QGroupBox* Frame1 = nullptr;
    QLabel* lblMeaning = nullptr;
    QCheckBox* Check1 = nullptr;
    QLineEdit* txtWord = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdGiveUp = nullptr;
    QFrame* Line1 = nullptr;
    QCheckBox* chkTimer = nullptr;
    QProgressBar* pgBar = nullptr;
    QTimer* Timer1 = nullptr;
    QPushButton* cmdHint = nullptr;
    QLabel* lblAns = nullptr;
    QLabel* lblcounter = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The word of the current turn, trimmed; empty before any entry was read.
    QString currentWord() const;
    // False when not even the first turn found an entry: the window is then
    // not worth opening (the reason has been shown).
    bool playable() const { return hasEntry_; }

private:
    void buildForm();
    void Form_Load();  // also the next turn
    void cmdOK_Click();
    void cmdHint_Click();
    void cmdGiveUp_Click();
    void cmdCancel_Click();
    void chkTimer_Click();
    void Timer1_Timer();

    void setPlayable(bool playable);
    static QString failure(dictstore::Error e);
    bool sharesMeaning(const QString& answer) const;

    WordGameMemory& memory_;
    dictstore::WordRecord current_;
    bool hasEntry_ = false;
};

}  // namespace kavix
