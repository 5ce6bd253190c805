#pragma once

#include <QLabel>

namespace kavix {

// A label that reports the mouse moving over it and clicks on it, and shows
// the pointing hand while the pointer is over it. It takes the focus with
// Tab, Enter or Space click it, and assistive technology meets it as a link
// with a press action.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // As a click: emits clicked() when enabled.
    void activate();

signals:
    void mouseMoved();
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace kavix
