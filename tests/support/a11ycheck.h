#pragma once

// What a screen reader needs from a window: the window itself announced as a
// window or dialog with a name, and every control that takes input or shows a
// list named (by its caption, its buddy label or an explicit name).

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

namespace lexitest {

namespace detail {

// Controls whose own parts (a table's corner button, a combo box's line edit)
// are announced through the control itself.
inline bool insideCompoundControl(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(p) || qobject_cast<const QComboBox*>(p)
            || qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QTextEdit*>(p)
            || qobject_cast<const QPlainTextEdit*>(p))
            return true;
    }
    return false;
}

// A document window inside a frame is announced by its title, like a window.
inline bool needsName(const QWidget* w)
{
    return qobject_cast<const QMdiSubWindow*>(w) || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w)
        || qobject_cast<const QTextEdit*>(w) || qobject_cast<const QAbstractItemView*>(w)
        || qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w)
        || qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

inline QString describe(const QWidget* w)
{
    const QString name = w->objectName().isEmpty() ? QStringLiteral("(no objectName)") : w->objectName();
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()), name);
}

}  // namespace detail

// Problems found in one top-level window; empty when it passes. Controls
// hidden in the window's current state are not announced and are skipped.
inline QStringList accessibilityProblems(QWidget* window)
{
    QStringList problems;
    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(window);
    if (!self) {
        problems << QStringLiteral("%1: no accessible interface").arg(detail::describe(window));
        return problems;
    }
    const QAccessible::Role role = self->role();
    if (role != QAccessible::Window && role != QAccessible::Dialog)
        problems << QStringLiteral("%1: role %2, not a window or dialog")
                        .arg(detail::describe(window))
                        .arg(static_cast<int>(role));
    if (self->text(QAccessible::Name).trimmed().isEmpty())
        problems << QStringLiteral("%1: the window has no accessible name").arg(detail::describe(window));

    const auto children = window->findChildren<QWidget*>();
    for (QWidget* w : children) {
        if (w->isWindow() || !w->isVisibleTo(window) || !detail::needsName(w)
            || detail::insideCompoundControl(w, window))
            continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            problems << QStringLiteral("%1: no accessible name").arg(detail::describe(w));
    }
    return problems;
}

}  // namespace lexitest
