#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <memory>

class QAction;
class QCheckBox;
class QKeyEvent;
class QListWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace dictstore {
class WordIndex;
}

namespace kavix {

// The whole search as a result window takes it from the look-up dialog
// while it opens. Texts are as typed; the result windows trim them.
struct SearchRequest {
    QString exactWord;  // txtExact
    QString letters;    // txt2letter
    QString meaning;    // txtMeaning: a description of what the word means
    bool byMeaning = false;  // the grid lists the words that mean it
    bool synonyms = false;
    bool antonyms = false;
    bool partOfSpeech = false;
    bool usage = false;
    bool pronunciation = false;
    bool save = false;
};

// The look-up dialog, "Word List Look Up". Go hides it (its settings stay)
// and opens the result card or the results grid; Cancel discards it.
class frmSearch : public QDialog {
    Q_OBJECT
public:
    explicit frmSearch(QWidget* owner = nullptr);
    ~frmSearch() override;

    QGroupBox* fraOptions = nullptr;
    QCheckBox* chkSyn = nullptr;
    QCheckBox* chkAnto = nullptr;
    QCheckBox* chkPro = nullptr;
    QCheckBox* chkEg = nullptr;
    QCheckBox* chkPOSp = nullptr;
    QCheckBox* chkSelAll = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdCancel = nullptr;
    QGroupBox* fraSrchExp = nullptr;
    QLabel* lblShow = nullptr;
    QRadioButton* optExact = nullptr;
    QRadioButton* optBeg = nullptr;
    QRadioButton* optMeaning = nullptr;
    QLineEdit* txtExact = nullptr;
    QLineEdit* txt2letter = nullptr;
    QLineEdit* txtMeaning = nullptr;
    QSlider* sliLetter = nullptr;
    QLabel* lblletter = nullptr;
    QLabel* lblletter2 = nullptr;
    QCheckBox* chkSaveSearch = nullptr;

    SearchRequest request() const;

    // The most letters txt2letter lets the user type (the slider's value,
    // or what a command-line look-up sets).
    int letterLimit() const { return letterLimit_; }
    void setLetterLimit(int limit);

    // The result window the last Go opened.
    QWidget* lastResult() const { return lastResult_; }

    // Type-ahead of txtExact: the dictionary's words that begin with what
    // is typed, from a word list read when the dialog is shown. A list in
    // the dialog itself, below the box and above the buttons, so that it
    // takes no click meant for them and a screen reader finds it; Up and
    // Down in the box move through it, Enter or a click takes a word.
    QListWidget* lstWords = nullptr;
    // The box's drop-down of the words last looked up, newest first (also
    // Alt+Down, or Down in an empty box); the same list shows them.
    QAction* cmdRecent = nullptr;

signals:
    void resultOpened(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildForm();
    void optExact_Click();
    void optBeg_Click();
    void optMeaning_Click();
    void txtMeaning_KeyUp();
    void txtExact_KeyUp();
    void txt2letter_KeyUp();
    void sliLetter_Change();
    void chkSelAll_Click();
    void cmdSearch_Click();
    void cmdCancel_Click();
    void applyLetterLimit();
    void txtExact_Change(const QString& text);
    void loadWords();
    void showWordList(const QStringList& words, const QString& name);
    void hideWordList();
    bool txtExact_KeyDown(const QKeyEvent& key);
    void cmdRecent_Click();
    void lstWords_Click(int row);
    void moveInWordList(int step);

    int letterLimit_ = 1;
    QPointer<QWidget> lastResult_;
    std::unique_ptr<dictstore::WordIndex> words_;
};

}  // namespace kavix
