#pragma once

#include "dictstore/dictionary.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavix {

// Adds a new word: Check must find the word absent before the meaning can be
// typed, and a meaning opens the rest of the form. Holds the dictionary open
// for update from load to close.
class frmAdd : public QDialog {
    Q_OBJECT
public:
    explicit frmAdd(QWidget* owner = nullptr);
    ~frmAdd() override;

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
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdCancel = nullptr;

    bool dictionaryOpen() const { return dict_.isOpen(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void buildForm();
    void Form_Load();
    void txtWord_KeyUp();
    void txtMeaning_KeyUp();
    void cmdCheck_Click();
    void cmdAdd_Click();
    void cmdClear_Click();
    void cmdCancel_Click();

    void dis();
    void en();
    std::vector<QWidget*> lockable() const;  // what dis() and en() switch, besides Check and the meaning
    dictstore::Error store();
    void makeDefault(QPushButton* button);
    void reportOpenFailure();

    dictstore::Dictionary dict_;
};

}  // namespace kavix
