#pragma once

#include <QStringList>
#include <QTextEdit>

#include <memory>

class QFont;

namespace wkvx {

// The rich-text box of a document window: a QTextEdit over a QTextDocument,
// read and written as RTF, with the selection operations the commands use.
// Other programs get plain text from the clipboard; between documents of
// wkvx the formatting goes along too.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);
    ~RichTextBox() override;

    // The clipboard type that carries the formatting, as RTF, between
    // documents of wkvx.
    static const QString kRichMimeType;
    // The selection for the clipboard: its plain text and its formatting.
    QMimeData* selectionMimeData() const;
    // Replaces the selection by what the data holds, formatted when it
    // came from wkvx, else as plain text; one undo step.
    void pasteMimeData(const QMimeData* source);

    // How large the document is shown, in percent; the document itself,
    // what is saved and printed, does not change.
    int zoom() const { return zoom_; }
    void setZoom(int percent);
    // One step larger (direction > 0) or smaller.
    void zoomBy(int direction);

    // The selection as the dictionary dialogs read and write it (seltext.h).
    QString selText() const;
    void setSelText(const QString& text);

    // True when every character of the selection (or the typing format,
    // without a selection) has the style.
    bool selBold() const;
    bool selItalic() const;
    bool selUnderline() const;
    void setSelBold(bool on);
    void setSelItalic(bool on);
    void setSelUnderline(bool on);
    // The font of the selection's first character (of the typing format
    // without a selection) as the document shows it.
    QFont selFont() const;
    // Applies to the selection only what chosen changes from shown: a size
    // changed alone leaves each character's family and style as they were.
    void setSelFont(const QFont& chosen, const QFont& shown);
    void setSelAlignment(Qt::Alignment alignment);

    // Replaces the content with the file: RTF, or plain text when the file
    // is not RTF at all. On failure the content is unchanged and *error
    // holds the reason.
    bool loadFile(const QString& path, QString* error);
    // Writes the content as RTF; a failed save leaves an existing file whole.
    // Parts kept from the file read that edits left inconsistent (a footnote
    // whose mark was deleted) are left out and named in *warnings.
    bool saveFile(const QString& path, QString* error, QStringList* warnings = nullptr);

signals:
    void mouseDown(Qt::MouseButton button, const QPoint& pos);
    // The keyboard's menu key: where a pop-up menu belongs.
    void contextKey(const QPoint& pos);
    void zoomChanged(int percent);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    void wheelEvent(QWheelEvent* event) override;

private:
    class ZoomDevice;

    bool allChars(bool (*test)(const QTextCharFormat&)) const;
    void applyZoom();

    int zoom_ = 100;
    std::unique_ptr<ZoomDevice> zoomDevice_;
};

}  // namespace wkvx
