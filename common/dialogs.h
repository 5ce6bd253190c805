#pragma once

#include <QFont>
#include <QString>

#include <optional>

class QWidget;

namespace lexi {

// The common dialogs (open, save, font) and the input box. Tests install a
// provider of their own; a cancelled dialog gives an empty name or no font.
class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter);
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter);
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial);
    // The input box: the typed text, or empty when cancelled.
    virtual QString inputText(QWidget* parent, const QString& prompt, const QString& title,
                              const QString& defaultText);
};

DialogProvider& dialogs();
// nullptr restores the real dialogs. The provider is not owned.
void setDialogProvider(DialogProvider* provider);

// Turns a filter written as "Description|*.ext" into Qt's "Description (*.ext)".
QString qtFilter(const QString& filter);

}  // namespace lexi
