#pragma once

#include "frmSearch.h"

#include "formui.h"

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
class frmResult : public ui::CloseBoxDialog {
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
    QPushButton* cmdView = nullptr;

    // Outer widths of the two states, in twips.
    static constexpr int kNarrowTwips = 4320;
    static constexpr int kWideTwips = 7425;

private:
    void buildForm();
    void vis(const SearchRequest& search);
    void Form_Load(const SearchRequest& search);
    void cmdView_Click();
    void setOuterWidth(int twips);

};

}  // namespace kavix
