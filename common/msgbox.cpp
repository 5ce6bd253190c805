#include "msgbox.h"

#include "version.h"

#include <QMessageBox>
#include <QPushButton>

namespace lexi {

namespace {

MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void setMessageHandler(MessageHandler h) { handler() = std::move(h); }

MsgAnswer msgBox(QWidget* parent, const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    const Message message{text, title.isEmpty() ? currentProgram().title : title, buttons, icon};
    if (handler())
        return handler()(message);

    QMessageBox box(toQt(icon), message.title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    box.exec();
    auto* clicked = box.clickedButton();
    const auto role = clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    switch (role) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Ok: return MsgAnswer::Ok;
    default: break;
    }
    if (buttons == MsgButtons::YesNoCancel)
        return MsgAnswer::Cancel;
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

}  // namespace lexi
