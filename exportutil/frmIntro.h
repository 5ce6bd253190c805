#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace exportutil {

class ResultWindow;

// The first page: choose export or import. Next opens the result window of
// the choice and closes this page; the program ends with its last window.
class frmIntro : public QDialog {
    Q_OBJECT
public:
    explicit frmIntro(QWidget* owner = nullptr);

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QRadioButton* OptExport = nullptr;
    QRadioButton* optImport = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The name of the CSV file to import as typed, without ".csv".
    QString inFile;

    // The result window Next opened, while it exists.
    QDialog* resultWindow() const { return result_; }

private:
    void buildForm();
    void Form_Load();
    void cmdNext_Click();
    void cmdCancel_Click();
    void showResult(ResultWindow* window);

    QPointer<QDialog> result_;
};

}  // namespace exportutil
