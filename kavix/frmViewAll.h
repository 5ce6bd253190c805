#pragma once

#include <QAbstractListModel>
#include <QDialog>

#include <string>

class QGroupBox;
class QListView;
class QPushButton;

namespace kavix {

// One numbered list of the complete list: a first line, then "n. " and one
// field of each record. Keeps the fields' stored bytes and makes the lines
// when the view asks, so the whole dictionary lists quickly.
class NumberedListModel : public QAbstractListModel {
    Q_OBJECT
public:
    NumberedListModel(const QString& firstLine, std::size_t fieldWidth, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Appends a field's stored bytes (fieldWidth of them); the caller resets.
    void appendRaw(std::string_view stored) { raw_.append(stored); }
    void reset();

private:
    QString firstLine_;
    std::size_t width_;
    std::string raw_;
    int count_ = 0;
};

// The complete list, "Complete List": every word and every meaning in file
// order, filled while the window is created. Resizable; its contents follow.
class frmViewAll : public QDialog {
    Q_OBJECT
public:
    explicit frmViewAll(QWidget* owner = nullptr);
    ~frmViewAll() override;

    QGroupBox* Frame = nullptr;
    QListView* lstWord = nullptr;
    QListView* lstMeaning = nullptr;
    QPushButton* cmdClose = nullptr;

    NumberedListModel* words() const { return words_; }
    NumberedListModel* meanings() const { return meanings_; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void cmdClose_Click();

    NumberedListModel* words_ = nullptr;
    NumberedListModel* meanings_ = nullptr;
};

}  // namespace kavix
