#pragma once

#include "frmSearch.h"

#include "dictstore/wordrecord.h"

#include <QAbstractTableModel>
#include "formui.h"

#include <array>
#include <vector>

class QTableView;

namespace kavix {

// The rows of the results grid: one per listed entry in file order, then one
// empty row. Cells are made from the stored records when the view asks, so a
// list of the whole dictionary costs little more than reading it.
class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 11;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setTitle(int column, const QString& title);
    void setEntries(std::vector<dictstore::WordRecord> entries);
    int entryCount() const { return static_cast<int>(entries_.size()); }

    // The field each column shows.
    static dictstore::Field fieldOf(int column);

private:
    std::array<QString, kColumns> titles_;
    std::vector<dictstore::WordRecord> entries_;
};

// The results grid, "Results": every entry whose word begins with the letters
// asked for. Like the card, it does all its work while it is created.
class frmR2 : public ui::ResultDialog {
    Q_OBJECT
public:
    explicit frmR2(const SearchRequest& search, QWidget* owner = nullptr);
    ~frmR2() override;

    QTableView* MSFlexGridResults = nullptr;
    ResultsModel* results() const { return model_; }

signals:
    // The card a double-click or Enter on a row opened.
    void rowOpened(QWidget* card);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MSFlexGridResults_DblClick(const QModelIndex& index);
    SearchRequest search_;
    void setWidth(int column, int twips);
    void coltitle(const SearchRequest& search);
    void Form_Load(const SearchRequest& search);

    ResultsModel* model_ = nullptr;
};

}  // namespace kavix
