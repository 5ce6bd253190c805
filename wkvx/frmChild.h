#pragma once

#include <QMdiSubWindow>

namespace wkvx {

class MDImain;
class RichTextBox;

// A document window: one rich-text box, laid out on every resize.
class frmChild : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit frmChild(MDImain* frame);

    RichTextBox* rtfText = nullptr;

    // Set by the frame when the user has already been asked about this
    // document; the window then closes without a question.
    void setCloseWithoutAsking(bool on) { closeWithoutAsking_ = on; }
    // Whether the document holds changes that no save has written.
    bool hasChanges() const;
    // Asks whether to save a changed document; false when the user cancels
    // or the save does not happen.
    bool queryUnload();

    // The file the document was read from or last saved as; empty for a
    // document that has none yet (or whose file could not be read).
    QString fileName() const { return fileName_; }
    void setFileName(const QString& path) { fileName_ = path; }

signals:
    void unloaded(frmChild* child);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Resize();
    void rtfText_MouseDown(Qt::MouseButton button, const QPoint& pos);

    MDImain* frame_;
    QWidget* client_;
    bool closeWithoutAsking_ = false;
    QString fileName_;
};

}  // namespace wkvx
