#pragma once

#include "recovery.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace wkvx {

// "Recover Documents": the documents whose changes a run that did not close
// left behind, each ticked to be opened again. Recover opens the ticked
// ones, Discard throws their copies away (after asking), Later keeps every
// copy for the next start.
class frmRecover : public QDialog {
    Q_OBJECT
public:
    enum class Choice { Recover, Discard, Later };

    frmRecover(const QList<RecoveredDocument>& documents, QWidget* owner);
    ~frmRecover() override;

    QLabel* lblPrompt = nullptr;
    QListWidget* lstDocuments = nullptr;
    QPushButton* cmdRecover = nullptr;
    QPushButton* cmdDiscard = nullptr;
    QPushButton* cmdLater = nullptr;

    // Shows the dialog until the user chooses.
    Choice ask();
    Choice choice() const { return choice_; }
    // The ticked documents.
    QList<RecoveredDocument> chosen() const;

private:
    void cmdRecover_Click();
    void cmdDiscard_Click();
    void cmdLater_Click();
    void lstDocuments_Changed();

    QList<RecoveredDocument> documents_;
    Choice choice_ = Choice::Later;
};

}  // namespace wkvx
