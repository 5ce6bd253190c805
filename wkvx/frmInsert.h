#pragma once

#include "seltext.h"

#include "dictstore/errors.h"

#include <QAbstractListModel>
#include <QDialog>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;
class QListView;
class QPushButton;

namespace wkvx {

// The words of a look-up, in file order, kept as their stored bytes and
// made into text only for the rows the view shows, so that listing every
// word of a full dictionary takes no longer than reading it.
class WordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    QString word(int row) const;

    // beginFill empties the list; the view sees one reset at endFill.
    void beginFill();
    void append(std::string_view storedWord);
    void endFill();
    void clear();

private:
    std::string bytes_;
    std::vector<std::size_t> ends_;  // where each word ends in bytes_
};

// "Insert a Word": lists the dictionary words that begin with the letters
// typed, rebuilt from the file on every key release, and puts the chosen one
// after the active document's selection. Modeless; it ends when it closes.
class frmInsert : public QDialog {
    Q_OBJECT
public:
    frmInsert(QWidget* owner, ActiveText activeText);
    ~frmInsert() override;

    QLineEdit* txtSearchTerm = nullptr;
    QListView* lstWords = nullptr;
    QPushButton* cmdInsert = nullptr;
    QPushButton* cmdCancel = nullptr;

    WordListModel* words() const { return words_; }
    // The word Insert puts in: the selected item, else the item the keyboard
    // stands on in the list, else the only word listed; empty otherwise.
    QString listText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void txtSearchTerm_KeyUp();
    void cmdInsert_Click();
    void cmdCancel_Click();
    void reportReadFailure(dictstore::Error error);

    ActiveText activeText_;
    dictstore::Error lastReadError_ = dictstore::Error::None;
    WordListModel* words_ = nullptr;
};

}  // namespace wkvx
