#include "formui.h"

#include "folders.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace kavix::ui {

QString describe(dictstore::Error error) { return lexi::describe(error); }

QFont font(const QString& family, qreal points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont boxFont()
{
    QFont f = QApplication::font();
    f.setResolveMask(QFont::AllPropertiesResolved);
    return f;
}

void placeCaption(QLabel* label, int left, int top, int width, int height)
{
    QRect r = lexi::twipsRect(left, top, width, height);
    const int needed = label->sizeHint().width();
    if (needed > r.width())
        r.setLeft(std::max(0, r.right() + 1 - needed));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(r);
}

void fitHeight(QWidget* control)
{
    const int needed = control->sizeHint().height();
    QRect r = control->geometry();
    if (needed <= r.height())
        return;
    r.setTop(r.top() - (needed - r.height()) / 2);
    r.setHeight(needed);
    control->setGeometry(r);
}

QLabel* caption(QWidget* parent, const char* name, const QString& text, QWidget* buddy)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setBuddy(buddy);
    return l;
}

void centreOverOwner(QWidget* window)
{
    QRect area;
    if (QWidget* owner = window->parentWidget())
        area = owner->window()->frameGeometry();
    else if (const QScreen* screen = window->screen() ? window->screen() : QApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        window->move(area.center() - window->frameGeometry().center() + window->pos());
}

namespace {

class FirstShowCentring : public QObject {
public:
    FirstShowCentring(QWidget* window, bool stepPast) : QObject(window), stepPast_(stepPast) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) {
            centreOverOwner(static_cast<QWidget*>(watched));
            if (stepPast_)
                stepPastOthers(static_cast<QWidget*>(watched));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    bool stepPast_;
};

bool placeTaken(const QWidget* window, QPoint at)
{
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && other->metaObject() == window->metaObject() &&
            other->pos() == at)
            return true;
    }
    return false;
}

}  // namespace

void centreWhenFirstShown(QWidget* window) { window->installEventFilter(new FirstShowCentring(window, false)); }

void stepPastOthers(QWidget* window)
{
    constexpr int kStep = 24;
    constexpr int kMostSteps = 16;
    const QRect screen = window->screen() ? window->screen()->availableGeometry() : QRect();
    QPoint at = window->pos();
    for (int i = 0; i < kMostSteps && placeTaken(window, at); ++i) {
        at += QPoint(kStep, kStep);
        // Off the screen's bottom or right: start again from its top left.
        if (screen.isValid() && !screen.contains(QRect(at, window->frameGeometry().size())))
            at = screen.topLeft();
    }
    window->move(at);
}

ResultDialog::ResultDialog(QWidget* owner, Qt::WindowFlags flags) : QDialog(owner, flags)
{
    installEventFilter(new FirstShowCentring(this, true));
}

void ResultDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

QRect WrapCheckBox::textRect() const
{
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, this);
    const int gap = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &opt, this);
    QRect r = rect();
    r.setLeft(indicator.right() + 1 + gap);
    return r;
}

QSize WrapCheckBox::sizeHint() const
{
    const QRect r = textRect();
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, std::max(r.width(), 1), 10000),
                                                  Qt::TextWordWrap | Qt::TextShowMnemonic, this->text());
    return QSize(width(), std::max(text.height(), QCheckBox::sizeHint().height()));
}

void WrapCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    QStyleOptionButton indicator = opt;
    indicator.text.clear();
    indicator.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, this);
    p.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);

    const QRect r = textRect();
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    style()->drawItemText(&p, r, flags, opt.palette, isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(r, flags, text()).adjusted(-1, 0, 1, 0);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

// The whole box is clickable, wrapped lines included.
bool WrapCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

}  // namespace kavix::ui
