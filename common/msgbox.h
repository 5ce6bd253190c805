#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace lexi {

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Exclamation, Question, Information };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct Message {
    QString text;
    QString title;  // as shown: the program's title when the caller gave none
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    QString checkBoxText;      // a check box under the text, when not empty
    bool* checked = nullptr;   // its state; a test's handler may set it
};

// Shows a modal message box and returns the button pressed. An empty title
// means the program's own title. Closing the box without a button counts as
// Cancel where there is one, else No where there is one, else Ok.
MsgAnswer msgBox(QWidget* parent, const QString& text, MsgButtons buttons = MsgButtons::Ok,
                 MsgIcon icon = MsgIcon::None, const QString& title = {});

// The same with a check box under the text (such as "Don't ask again");
// `checked` gives its initial state and receives its state when the box closes.
MsgAnswer msgBoxWithCheck(QWidget* parent, const QString& text, const QString& checkBoxText, bool& checked,
                          MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None,
                          const QString& title = {});

// Tests replace the box: the handler sees each message and gives the answer.
// An empty handler restores the real box.
using MessageHandler = std::function<MsgAnswer(const Message&)>;
void setMessageHandler(MessageHandler handler);

}  // namespace lexi
