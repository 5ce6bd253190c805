#pragma once

#include "dictstore/errors.h"

#include <QCheckBox>
#include <QDialog>
#include <QFont>

class QKeyEvent;
class QLabel;
class QPaintEvent;
class QWidget;

namespace kavix::ui {

// The description of an error as messages show it; empty for none.
QString describe(dictstore::Error error);

QFont font(const QString& family, qreal points, bool bold = false);
// The captions of the look-up windows.
inline QFont captionFont() { return font(QStringLiteral("Verdana"), 6.75); }

// The window's default font, for text boxes standing in a frame whose
// captions use another font (a frame's font would pass to them).
QFont boxFont();

// A caption label whose access key moves the focus to its box.
QLabel* caption(QWidget* parent, const char* name, const QString& text, QWidget* buddy);

// Puts a control at a rectangle given in twips, relative to its parent.
template <typename W>
W* place(W* widget, int left, int top, int width, int height);

// A caption beside a box: its right edge stays where the design puts it,
// and a text wider than the design's rectangle grows to the left instead of
// being cut (substitute fonts are wider than the designed ones).
void placeCaption(QLabel* label, int left, int top, int width, int height);

// Grows a control that the design made lower than its style needs (a check
// box indicator would be cut), keeping its vertical centre.
void fitHeight(QWidget* control);

// Where a message about a window still being created goes: its owner, or
// nothing (the screen's centre) when it has none.
inline QWidget* messageParent(QWidget* window) { return window->isVisible() ? window : window->parentWidget(); }

// Centres a window over its owner's window, or over the screen without one.
void centreOverOwner(QWidget* window);
// The same, once, when the window is first shown.
void centreWhenFirstShown(QWidget* window);

// A result window: a dialog, so that assistive technology announces it as
// one, closed by its close box or Esc. It opens centred over its owner, and
// further down and right while a result window of its kind already stands
// there, so that a new one never hides the last.
class ResultDialog : public QDialog {
    Q_OBJECT
public:
    ResultDialog(QWidget* owner, Qt::WindowFlags flags);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Moves a window down and right, a title bar's height at a time, while a
// visible window of the same class stands exactly where it is.
void stepPastOthers(QWidget* window);

// A check box whose caption wraps onto more lines when the box is tall
// enough, as a long caption needs.
class WrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    QRect textRect() const;
};

}  // namespace kavix::ui

#include "twips.h"

template <typename W>
W* kavix::ui::place(W* widget, int left, int top, int width, int height)
{
    widget->setGeometry(lexi::twipsRect(left, top, width, height));
    return widget;
}
