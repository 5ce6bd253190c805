#pragma once

#include "dictstore/dictionary.h"

#include <QDialog>

#include <initializer_list>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavix {

// What the add and the edit form have in common: the two frames with their
// rows, labels and boxes, which box fills which field of a record, the
// Cancel button, and a dictionary handle held from load until the form closes.
class EntryForm : public QDialog {
    Q_OBJECT
public:
    ~EntryForm() override;

    QGroupBox* fraBasic = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtWord = nullptr;
    QPushButton* cmdCheck = nullptr;
    QLabel* lblMeaning = nullptr;
    QLineEdit* txtMeaning = nullptr;
    QLabel* lblPOSp = nullptr;
    QComboBox* cboPOSp = nullptr;
    QLabel* lblSentence = nullptr;
    QLineEdit* txtSentence = nullptr;
    QGroupBox* fraAdditionals = nullptr;
    QLabel* lblSyn = nullptr;
    QLineEdit* txtSyn[3] = {};
    QLabel* lblAnto = nullptr;
    QLineEdit* txtAnto[3] = {};
    QLabel* lblPro = nullptr;
    QLineEdit* txtPro = nullptr;
    QPushButton* cmdCancel = nullptr;

    bool dictionaryOpen() const { return dict_.isOpen(); }

protected:
    // checkCaption: the button beside the word box.
    EntryForm(QWidget* owner, const QString& title, const QString& checkCaption);

    // Puts the frames above a row of buttons; a null entry stands for the
    // space that pushes the buttons after it to the right.
    void layOut(std::initializer_list<QPushButton*> buttonRow);
    // A push button of the form, one that only the handlers make the default.
    QPushButton* button(const char* name, const QString& caption);
    void makeDefault(QPushButton* button);
    static void tabChain(std::initializer_list<QWidget*> order);

    // The record the boxes describe, every field as typed, padded or cut.
    dictstore::WordRecord record() const;
    // Every box from a stored record, trimmed.
    void fill(const dictstore::WordRecord& record);
    void clearBoxes();

    virtual void txtWord_KeyUp() = 0;
    virtual void txtMeaning_KeyUp() = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

    dictstore::Dictionary dict_;
};

}  // namespace kavix
