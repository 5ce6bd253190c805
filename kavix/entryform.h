#pragma once

#include "dictstore/dictionary.h"

#include <QDialog>

#include <initializer_list>
#include <vector>

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
    bool dictionaryWritable() const { return dict_.isWritable(); }

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

    // Opens the dictionary for update or, where it may not be written (a
    // read-only disk), for reading, so that look-ups still work. Returns why
    // it could not be opened for update; None when it was.
    dictstore::Error openDictionary();
    // At load: opens the dictionary and says what failed, if anything: the
    // form's own text for a dictionary that did not open, or what the form
    // can still do with one that opened only for reading.
    void openAtLoad(const QString& openFailed, const QString& readOnlyStill);
    // The failure of an open or a write in words, with its cause.
    static QString openFailure(dictstore::Error e);
    static QString writeFailure(dictstore::Error e);

    // The record the boxes describe, every field as typed, padded or cut.
    dictstore::WordRecord record() const;
    // When some text will not be stored as typed (longer than its field, or
    // holding characters Windows-1252 cannot hold), shows what will be stored
    // and asks. True to store.
    bool confirmStored(const dictstore::WordRecord& record);
    // Every box from a stored record, trimmed.
    void fill(const dictstore::WordRecord& record);
    void clearBoxes();

    virtual void txtWord_KeyUp() = 0;
    virtual void txtMeaning_KeyUp() = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

    dictstore::Dictionary dict_;
    // Why the dictionary could not be opened for update; None when it was.
    dictstore::Error updateError_ = dictstore::Error::None;

private:
    struct Box {
        dictstore::Field field;
        QString text;
        QString caption;
    };
    // Every box with the field it fills, in the form's order.
    std::vector<Box> boxes() const;
};

}  // namespace kavix
