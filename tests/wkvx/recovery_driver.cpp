// The word processor started as wkvx starts, for the recovery test to drive
// from outside and kill:
//   wkvx_recovery_driver type TEXT          types TEXT into the first document,
//                                           copies every 100 ms, runs until killed
//   wkvx_recovery_driver answer CHOICE      answers the offer with Recover,
//                                           Discard (and Yes) or Later, prints
//                                           what it opened and closes
// Output lines: "offer: ITEM" per item or "offer: none", then
// "doc: TITLE|modified|TEXT" per document.

#include "MDImain.h"
#include "frmChild.h"
#include "frmRecover.h"
#include "recovery.h"
#include "richtextbox.h"
#include "startup.h"

#include "msgbox.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void printDocuments(wkvx::MDImain* frame)
{
    for (wkvx::frmChild* doc : frame->documents())
        say(QStringLiteral("doc: %1|%2|%3")
                .arg(doc->windowTitle(), doc->rtfText->document()->isModified() ? "modified" : "saved",
                     doc->rtfText->toPlainText()));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3)
        return 2;
    const QString mode = args.at(1);
    wkvx::Startup startup;
    startup.run({});
    startup.splash()->close();
    wkvx::MDImain* frame = startup.frame();
    if (!frame)
        return 3;

    if (mode == QLatin1String("type")) {
        frame->recovery()->setInterval(100);
        QTest::keyClicks(frame->activeDocument()->rtfText, args.at(2));
        say(QStringLiteral("typed"));
        return app.exec();
    }

    // The message boxes: Yes to discarding, No to saving on the way out.
    lexi::setMessageHandler([](const lexi::Message& m) {
        return m.title == QLatin1String("Save") ? lexi::MsgAnswer::No : lexi::MsgAnswer::Yes;
    });
    const QString choice = args.at(2);
    bool offered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<wkvx::frmRecover*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        offered = true;
        for (int i = 0; i < dialog->lstDocuments->count(); ++i)
            say(QStringLiteral("offer: ") + dialog->lstDocuments->item(i)->text());
        if (choice == QLatin1String("recover"))
            dialog->cmdRecover->click();
        else if (choice == QLatin1String("discard"))
            dialog->cmdDiscard->click();
        else
            dialog->cmdLater->click();
    });
    poll.start(20);
    // A watchdog: the offer comes at once or not at all.
    QTimer::singleShot(1500, [&] {
        poll.stop();
        if (!offered)
            say(QStringLiteral("offer: none"));
        printDocuments(frame);
        frame->close();
        app.quit();
    });
    return app.exec();
}
