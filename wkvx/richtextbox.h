#pragma once

#include <QStringList>
#include <QTextEdit>

class QFont;

namespace wkvx {

// The rich-text box of a document window: a QTextEdit over a QTextDocument,
// read and written as RTF, with the selection operations the commands use.
// Only plain text passes through the clipboard.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

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
    void setSelFont(const QFont& font);
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

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    bool allChars(bool (*test)(const QTextCharFormat&)) const;
};

}  // namespace wkvx
