#include "msgbox.h"

#include "version.h"

#include <QCheckBox>
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

MsgAnswer show(QWidget* parent, const Message& message)
{
    if (handler())
        return handler()(message);

    const MsgButtons buttons = message.buttons;
    QMessageBox box(toQt(message.icon), message.title, message.text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    if (!message.checkBoxText.isEmpty()) {
        auto* check = new QCheckBox(message.checkBoxText, &box);
        check->setChecked(message.checked && *message.checked);
        box.setCheckBox(check);
        QObject::connect(check, &QCheckBox::toggled, [&message](bool on) {
            if (message.checked)
                *message.checked = on;
        });
    }
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

}  // namespace

void setMessageHandler(MessageHandler h) { handler() = std::move(h); }

MsgAnswer msgBox(QWidget* parent, const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    return show(parent, Message{text, title.isEmpty() ? currentProgram().title : title, buttons, icon, {}, nullptr});
}

MsgAnswer msgBoxWithCheck(QWidget* parent, const QString& text, const QString& checkBoxText, bool& checked,
                          MsgButtons buttons, MsgIcon icon, const QString& title)
{
    return show(parent,
                Message{text, title.isEmpty() ? currentProgram().title : title, buttons, icon, checkBoxText, &checked});
}

}  // namespace lexi
