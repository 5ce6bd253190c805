#pragma once

#include "frmSearch.h"

#include "formui.h"
#include "speech.h"

#include <QStringList>

#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kavix {

// The result card, "Results": the first entry whose word is the exact word
// asked for. It does all its work while it is created: looks the word up,
// fills its boxes, saves the word page if asked, and reports a failure; it
// is shown afterwards whatever happened.
class frmResult;

// A card for another word, with the rows a card showed, owned as it was;
// shown and set to be deleted when closed. Saves no page: it is browsing.
frmResult* openCard(const SearchRequest& rows, const QString& word, QWidget* owner);

class frmResult : public ui::ResultDialog {
    Q_OBJECT
public:
    explicit frmResult(const SearchRequest& search, QWidget* owner = nullptr);
    ~frmResult() override;

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtWord = nullptr;
    QLabel* lblMeaning = nullptr;
    QLineEdit* txtMeaning = nullptr;
    QLabel* lblPOSp = nullptr;
    QLineEdit* txtPosp = nullptr;
    QLabel* lblSentence = nullptr;
    QPlainTextEdit* txtSentence = nullptr;
    QLabel* lblSyn = nullptr;
    QLineEdit* txtSyn[3] = {};
    QLabel* lblAnto = nullptr;
    QLineEdit* txtAnto[3] = {};
    QLabel* lblPro = nullptr;
    QLineEdit* txtPro = nullptr;
    // Beside the pronunciation, and shown with it: speaks the word.
    QPushButton* cmdSpeak = nullptr;
    QPushButton* cmdView = nullptr;

    // Shown only when the word was not found and the dictionary holds words
    // like it: "Did you mean:" and one link-like button per word, below the
    // frame. A click opens that word's card with the same rows.
    QWidget* fraSuggest = nullptr;
    QLabel* lblSuggest = nullptr;
    std::vector<QPushButton*> cmdSuggest;

    // Outer widths of the two states, in twips.
    static constexpr int kNarrowTwips = 4320;
    static constexpr int kWideTwips = 7425;

    // A double-click or Enter on a synonym or antonym opens its card.
    static const QString kFollowHint;

signals:
    // What the last press of cmdSpeak came to: empty when the word played.
    void spoken(const QString& failure);
    // The card a suggestion opened.
    void suggestionOpened(QWidget* card);
    // The card of a synonym or antonym followed from this one.
    void wordFollowed(QWidget* card);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void vis(const SearchRequest& search);
    void Form_Load(const SearchRequest& search);
    void cmdView_Click();
    void setOuterWidth(int twips);
    void showSuggestions(const SearchRequest& search, const std::vector<std::string>& words);
    void cmdSuggest_Click(const SearchRequest& search, const QString& word);
    void txtSyn_DblClick(QLineEdit* box);
    void cmdSpeak_Click();

    SearchRequest search_;
    SpeechPlayer* speech_ = nullptr;

};

}  // namespace kavix
