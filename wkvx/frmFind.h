#pragma once

#include "findtext.h"
#include "seltext.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace wkvx {

// "Find and Replace": finds text in the active document and replaces it.
// Modeless; the frame keeps one, hidden when closed, so that F3 goes on
// with the last search. It works on whichever document is active when a
// button is pressed.
class frmFind : public QDialog {
    Q_OBJECT
public:
    frmFind(QWidget* owner, ActiveText activeText);

    QLabel* lblFind = nullptr;
    QLineEdit* txtFind = nullptr;
    QLabel* lblReplace = nullptr;
    QLineEdit* txtReplace = nullptr;
    QCheckBox* chkMatchCase = nullptr;
    QCheckBox* chkWholeWords = nullptr;
    QPushButton* cmdFindNext = nullptr;
    QPushButton* cmdFindPrevious = nullptr;
    QPushButton* cmdReplace = nullptr;
    QPushButton* cmdReplaceAll = nullptr;
    QPushButton* cmdClose = nullptr;
    QLabel* lblStatus = nullptr;

    FindOptions options() const;
    // Shows the dialog with the find box selected, starting from the
    // document's selection when it is one line.
    void open(const QString& selection);

    // False when there is no match (or no text to look for); the outcome
    // is shown in lblStatus.
    bool findNext();
    bool findPrevious();
    void replace();
    int replaceAll();

private:
    void buildForm();
    bool find(bool backward);
    void say(const QString& text);
    void cmdFindNext_Click() { findNext(); }
    void cmdFindPrevious_Click() { findPrevious(); }
    void cmdReplace_Click() { replace(); }
    void cmdReplaceAll_Click() { replaceAll(); }

    ActiveText activeText_;
};

}  // namespace wkvx
