#pragma once

#include "seltext.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace dictstore {
struct WordRecord;
}

namespace wkvx {

class frmInsert;
class frmReplace;

// The two commands of the "&KavixTools" menu. The frame owns one of these,
// and through it at most one dialog of each kind; the dialogs reach the
// active document through activeText when they write.
class KavixTools : public QObject {
    Q_OBJECT
public:
    KavixTools(QWidget* frame, ActiveText activeText);
    ~KavixTools() override;

    // mnuInsertKvx: opens "Insert a Word", or brings the open one forward
    // as it is.
    void insertWord();

    // mnuFindKvx: looks the active document's selection up and shows it in
    // "Replace with", or says why it cannot.
    void findSelection();

    // Shows an entry found for the selection in "Replace with", as a
    // successful look-up does.
    void showEntry(const dictstore::WordRecord& record);

    frmInsert* insertDialog() const;
    frmReplace* replaceDialog() const;

private:
    QWidget* frame_;
    ActiveText activeText_;
    QPointer<frmInsert> insert_;
    QPointer<frmReplace> replace_;
};

}  // namespace wkvx
