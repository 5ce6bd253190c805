// Writes a document formatted with the word processor's own commands, for
// check-saved-with-libreoffice.sh:  wkvx_formatsample OUT.rtf
#include "MDImain.h"
#include "frmChild.h"
#include "richtextbox.h"

#include "dialogs.h"
#include "msgbox.h"
#include "version.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>

#include <cstdio>

namespace {

// Answers the dialogs as the user of this script would.
class Answers : public lexi::DialogProvider {
public:
    QString file;
    QFont chosenFont;
    QString openFileName(QWidget*, const QString&, const QString&) override { return file; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return file; }
    std::optional<QFont> font(QWidget*, const QFont&) override { return chosenFont; }
};

void select(QTextEdit* t, const QString& word)
{
    const int at = t->toPlainText().indexOf(word);
    QTextCursor c = t->textCursor();
    c.setPosition(at);
    c.setPosition(at + word.size(), QTextCursor::KeepAnchor);
    t->setTextCursor(c);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: wkvx_formatsample OUT.rtf\n");
        return 2;
    }
    lexi::setCurrentProgram(lexi::wkvxInfo());
    bool failed = false;
    lexi::setMessageHandler([&](const lexi::Message& m) {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
        failed = true;
        return lexi::MsgAnswer::No;
    });
    Answers answers;
    lexi::setDialogProvider(&answers);

    // Colours come from a file: the word processor keeps them.
    QTemporaryDir dir;
    answers.file = dir.filePath(QStringLiteral("colours.rtf"));
    QFile in(answers.file);
    if (!in.open(QIODevice::WriteOnly))
        return 1;
    in.write("{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}}{\\colortbl;\\red192\\green0\\blue0;"
             "\\red0\\green0\\blue255;}\\f0\\fs24 Colours: {\\cf1 red} and {\\cf2 blue}.\\par}");
    in.close();

    wkvx::MDImain frame;
    frame.mnufileOpen->trigger();
    QTextEdit* t = frame.activeText();
    t->moveCursor(QTextCursor::End);
    t->insertPlainText(QStringLiteral("\nBold italic under then Big sans words.\nCentred line\nRight line"));
    select(t, QStringLiteral("Bold"));
    frame.mnuFormatBold->trigger();
    select(t, QStringLiteral("italic"));
    frame.mnuFormatItalic->trigger();
    select(t, QStringLiteral("under"));
    frame.mnuFormatUnderline->trigger();
    select(t, QStringLiteral("Big sans"));
    answers.chosenFont = QFont(QStringLiteral("Liberation Sans"), 18);
    frame.mnuExtraFonts->trigger();
    select(t, QStringLiteral("Centred"));
    frame.mnuFormatAlignCenter->trigger();
    select(t, QStringLiteral("Right"));
    frame.mnuFormatAlignRight->trigger();

    answers.file = QString::fromLocal8Bit(argv[1]);
    frame.mnuSave->trigger();
    frame.activeDocument()->rtfText->document()->setModified(false);
    lexi::setDialogProvider(nullptr);
    return failed ? 1 : 0;
}
