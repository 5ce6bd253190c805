#pragma once

#include "seltext.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace dictstore {
struct WordRecord;
}

namespace wkvx {

// "Replace with": a dictionary entry found for the document's selection,
// with its synonyms and antonyms; either replaces the selection of the
// document active at the moment of the click, keeping the spaces selected
// around the word. Modeless; a later look-up while it is open shows its own
// entry in place of the earlier one.
class frmReplace : public QDialog {
    Q_OBJECT
public:
    frmReplace(QWidget* owner, ActiveText activeText);
    ~frmReplace() override;

    QLabel* lblFind = nullptr;
    QLineEdit* txtFind = nullptr;
    QLabel* lblMeaning = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdFindAgain = nullptr;
    QGroupBox* fraMatches = nullptr;
    QLabel* lblSyno = nullptr;
    QListWidget* lstSyno = nullptr;
    QPushButton* cmdSyno = nullptr;
    QLabel* lblAnto = nullptr;
    QListWidget* lstAnto = nullptr;
    QPushButton* cmdAnto = nullptr;

    // Shows an entry in place of what was shown: the word, the meaning, and
    // its three antonyms and three synonyms, blank ones too.
    void fill(const dictstore::WordRecord& record);

private:
    void buildForm();
    void lstSyno_Click();
    void lstAnto_Click();
    void cmdSyno_Click();
    void cmdAnto_Click();
    void cmdCancel_Click();
    void replaceBy(QListWidget* list, const QString& chooseMessage);

    ActiveText activeText_;
};

}  // namespace wkvx
