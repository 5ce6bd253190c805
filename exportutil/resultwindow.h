#pragma once

#include <QDialog>
#include <QElapsedTimer>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace exportutil {

// What the export and import result windows share: the source and
// destination frames, the result line, a progress bar, the error frame, a
// list of words that were not imported, OK and the contact line. The
// subclass does its work while it is being created.
class ResultWindow : public QDialog {
    Q_OBJECT
public:
    QGroupBox* Frame1 = nullptr;
    QLabel* lblSource = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* lblDestination = nullptr;
    QLabel* lblFullPath = nullptr;  // where the CSV file is, in full
    QLabel* lblSuccess = nullptr;
    QProgressBar* pgProgress = nullptr;
    QLabel* lblRefused = nullptr;
    QListWidget* lstRefused = nullptr;
    QGroupBox* fraErrors = nullptr;
    QLineEdit* txtErrors = nullptr;
    QPushButton* cmdOK = nullptr;
    QLabel* lblContact = nullptr;

    // Shows the window in the middle of the screen, once.
    void showCentred();

protected:
    ResultWindow(const QString& title, const QString& name, QWidget* owner);

    // Puts the full-path line under the frame that names the CSV file.
    void placeFullPath(QGroupBox* frame, QLabel* after);
    // Called now and then while the work runs. Once the work has taken more
    // than a moment the window shows itself and keeps its bar up to date.
    void reportProgress(qint64 done, qint64 total);
    // The bar at its end, for a run that finished.
    void progressComplete();
    // Opens the error frame with the text.
    void showError(const QString& text);
    // Where a message shown during the work goes: this window once shown,
    // else the centre of the screen.
    QWidget* messageParent() { return isVisible() ? this : nullptr; }

private:
    void cmdOK_Click();

    QElapsedTimer started_;
    QElapsedTimer lastPaint_;
};

}  // namespace exportutil
