#include "wkvxtest.h"
#include "permissions.h"

#include "rtfdocument.h"
#include "rtffile.h"

#include "filefaults.h"
#include "referencetext.h"

#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>

#include <sys/stat.h>
#include <unistd.h>

using namespace wkvx;
using wkvxtest::FrameTest;

TEST_F(FrameTest, SaveAsWritesRtfAndAsksEveryTime)
{
    type(QStringLiteral("First draft"));
    const QString file = path("draft.rtf");
    dialogs.fileNames = {file};
    QTest::keyClick(text(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].kind, QStringLiteral("save"));
    EXPECT_EQ(dialogs.asked[0].title, QStringLiteral("Save File As"));
    EXPECT_EQ(dialogs.asked[0].filter, QStringLiteral("Rich Text Format(*.rtf)|*.rtf"));
    EXPECT_TRUE(readFile(file).startsWith("{\\rtf1"));
    EXPECT_EQ(active()->windowTitle(), QStringLiteral("Document1"));
    EXPECT_FALSE(active()->hasChanges());

    // The next save asks again and replaces the file.
    type(QStringLiteral(", revised"));
    dialogs.fileNames = {file};
    frame->mnuSave->trigger();
    EXPECT_EQ(dialogs.asked.size(), 2u);
    QTextDocument back;
    QString error;
    ASSERT_TRUE(kvx::rtf::loadRtfFile(file, &back, &error));
    EXPECT_EQ(back.toPlainText(), QStringLiteral("First draft, revised"));
    EXPECT_TRUE(rec.messages.empty());
    // Nothing is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"draft.rtf"});

    // A cancelled dialog writes nothing.
    type(QStringLiteral("!"));
    frame->mnuSave->trigger();
    ASSERT_TRUE(kvx::rtf::loadRtfFile(file, &back, &error));
    EXPECT_EQ(back.toPlainText(), QStringLiteral("First draft, revised"));
    EXPECT_TRUE(active()->hasChanges());
}

TEST_F(FrameTest, FailedSaveSaysWhyAndKeepsTheOldFile)
{
    type(QStringLiteral("text"));
    dialogs.fileNames = {path("no such folder/x.rtf")};
    frame->mnuSave->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.lastText().contains(QStringLiteral("Path not found"))) << rec.lastText().toStdString();
    EXPECT_TRUE(rec.lastText().contains(path("no such folder/x.rtf")));
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Kavix Writer"));
    EXPECT_TRUE(active()->hasChanges());

    if (!lexitest::permissionsBind())
        GTEST_SKIP() << lexitest::kRootSkip;
    const QString locked = path("locked");
    QDir().mkpath(locked);
    const QString file = locked + QStringLiteral("/old.rtf");
    writeFile(file, "{\\rtf1 old work\\par}");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    dialogs.fileNames = {file};
    frame->mnuSave->trigger();
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_TRUE(rec.lastText().contains(QStringLiteral("Permission denied"))) << rec.lastText().toStdString();
    EXPECT_EQ(readFile(file), QByteArray("{\\rtf1 old work\\par}"));
}

TEST_F(FrameTest, SaveAsOnAFullDiskSaysSoAndKeepsTheOldFile)
{
    const QString file = path("doc.rtf");
    const QByteArray old = "{\\rtf1\\ansi " + QByteArray(20 * 1024, 'o') + "\\par}";
    writeFile(file, old);
    type(QString(1500, QLatin1Char('n')));
    dialogs.fileNames = {file};
    {
        // The file system takes no file past 1 KB: the new document is
        // larger than that and smaller than any write buffer.
        filefaults::FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.ok());
        QTest::keyClick(text(), Qt::Key_S, Qt::ControlModifier);
    }
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.lastText(), QStringLiteral("Cannot save %1\n\nDisk full").arg(file));
    EXPECT_TRUE(readFile(file) == old) << "the old file changed";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.rtf"});
    EXPECT_TRUE(active()->hasChanges());
}

TEST_F(FrameTest, FilesThatAreNotDocumentsAreRefusedWithAMessage)
{
    const QString docx = path("letter.docx");
    writeFile(docx, QByteArray("PK\x03\x04\x14\x00\x06\x00\x08\x00\x00\x00!\x00", 16) + "[Content_Types].xml");
    const QString fifo = path("pipe.rtf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::pair<QString, QString> cases[] = {
        {docx, kvx::rtf::kNotRtfOrText},
        {fifo, kvx::rtf::kNotARegularFile},
        {QStringLiteral("/dev/zero"), kvx::rtf::kNotARegularFile},
    };
    for (const auto& [file, why] : cases) {
        SCOPED_TRACE(file.toStdString());
        rec.messages.clear();
        dialogs.fileNames = {file};
        frame->mnufileOpen->trigger();
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_EQ(rec.lastText(), QStringLiteral("Cannot open %1\n\n%2").arg(file, why));
        EXPECT_EQ(rec.messages[0].title, QStringLiteral("Kavix Writer"));
        // Nothing of the file is shown, so nothing of it can be saved.
        EXPECT_EQ(text()->toPlainText(), QString());
        EXPECT_FALSE(active()->hasChanges());
    }
    EXPECT_EQ(readFile(docx).size(), 35);
}

TEST_F(FrameTest, SavingKeepsHeadersAndNotesAndSaysWhichNotesWereLeftOut)
{
    const QString file = path("notes.rtf");
    writeFile(file, "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\paperw11906\\paperh16838"
                    "{\\header \\pard Head\\par}\\pard A{\\super\\chftn}{\\footnote \\pard {\\super\\chftn} Note.}B\\par}");
    dialogs.fileNames = {file};
    frame->mnufileOpen->trigger();
    ASSERT_EQ(text()->toPlainText(), QStringLiteral("A1B"));
    // Untouched, the save gives everything back and says nothing.
    dialogs.fileNames = {file};
    frame->mnuSave->trigger();
    EXPECT_TRUE(rec.messages.empty()) << rec.lastText().toStdString();
    QByteArray saved = readFile(file);
    EXPECT_TRUE(saved.contains("{\\header \\pard Head\\par}"));
    EXPECT_TRUE(saved.contains("\\paperw11906\\paperh16838"));
    EXPECT_TRUE(saved.contains("Note."));

    // The mark deleted by the keyboard takes its note with it, and the save says so.
    QTest::keyClick(text(), Qt::Key_Home);
    QTest::keyClick(text(), Qt::Key_Right);
    QTest::keyClick(text(), Qt::Key_Delete);
    dialogs.fileNames = {file};
    frame->mnuSave->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.lastText().contains(QStringLiteral("footnote"))) << rec.lastText().toStdString();
    EXPECT_TRUE(rec.lastText().contains(file));
    saved = readFile(file);
    EXPECT_FALSE(saved.contains("Note."));
    EXPECT_TRUE(saved.contains("{\\header \\pard Head\\par}"));
    EXPECT_FALSE(active()->hasChanges());
}

TEST_F(FrameTest, FailedOpenSaysWhy)
{
    const QString missing = path("missing.rtf");
    dialogs.fileNames = {missing};
    frame->mnufileOpen->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.lastText().contains(QStringLiteral("File not found"))) << rec.lastText().toStdString();
    EXPECT_TRUE(rec.lastText().contains(missing));
    // The window made for it stays, captioned with the path, empty.
    EXPECT_EQ(captions(), (QStringList{"Document1", missing}));
    EXPECT_TRUE(text()->toPlainText().isEmpty());
    EXPECT_FALSE(active()->hasChanges());
}

TEST_F(FrameTest, FilesThatAreNotRtfOpenAsPlainText)
{
    const QString utf8 = path("notes.txt");
    writeFile(utf8, "caf\xC3\xA9 line one\r\nline {two}\n");
    const QString ansi = path("old.rtf");
    writeFile(ansi, "na\xEFve fa\xE7" "ade");
    const QString empty = path("empty.rtf");
    writeFile(empty, "");
    dialogs.fileNames = {utf8, ansi, empty};
    for (int i = 0; i < 3; ++i)
        frame->mnufileOpen->trigger();
    EXPECT_TRUE(rec.messages.empty()) << rec.lastText().toStdString();
    const auto docs = frame->documents();
    ASSERT_EQ(docs.size(), 4);
    EXPECT_EQ(docs[1]->rtfText->toPlainText(), QStringLiteral("café line one\nline {two}"));
    EXPECT_EQ(docs[2]->rtfText->toPlainText(), QStringLiteral("naïve façade"));
    EXPECT_EQ(docs[3]->rtfText->toPlainText(), QString());
    for (auto* d : docs)
        EXPECT_FALSE(d->hasChanges());
}

TEST_F(FrameTest, SampleFilesShowTheTextLibreOfficeShows)
{
    QStringList folders{QStringLiteral(LEXIVANE_RTF_SAMPLES)};
    // More folders of NAME.rtf with LibreOffice's NAME.txt, when given.
    if (const QByteArray extra = qgetenv("WKVX_EXTRA_SAMPLES"); !extra.isEmpty())
        folders << QString::fromLocal8Bit(extra).split(QLatin1Char(':'));
    int opened = 0;
    for (const QString& folder : folders) {
        const QDir d(folder);
        for (const QString& name : d.entryList({"*.rtf"}, QDir::Files, QDir::Name)) {
            SCOPED_TRACE(name.toStdString());
            dialogs.fileNames = {d.filePath(name)};
            frame->mnufileOpen->trigger();
            EXPECT_EQ(active()->windowTitle(), d.filePath(name));
            EXPECT_TRUE(rec.messages.empty()) << rec.lastText().toStdString();
            rec.messages.clear();
            const QString reference = d.filePath(QString(name).replace(QStringLiteral(".rtf"), QStringLiteral(".txt")));
            if (QFile::exists(reference)) {
                EXPECT_EQ(rtftest::sameBullets(kvx::rtf::plainText(*text()->document())).toStdString(),
                          rtftest::sameBullets(rtftest::referenceText(reference)).toStdString());
            }
            // Shown and painted without trouble.
            active()->showMaximized();
            text()->verticalScrollBar()->setValue(text()->verticalScrollBar()->maximum());
            EXPECT_FALSE(active()->grab().isNull());
            active()->close();
            ++opened;
        }
    }
    EXPECT_GE(opened, 6);
}

TEST_F(FrameTest, ExitAsksAndCancelKeepsEverything)
{
    type(QStringLiteral("work"));
    rec.answers = {lexi::MsgAnswer::Cancel};
    frame->mnuFileExit->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Save before exiting ?"));
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Save"));
    EXPECT_EQ(rec.messages[0].buttons, lexi::MsgButtons::YesNoCancel);
    EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::None);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("work"));
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(FrameTest, ExitYesButTheSaveDoesNotHappenKeepsTheProgramOpen)
{
    type(QStringLiteral("precious"));
    // The save dialog cancelled.
    rec.answers = {lexi::MsgAnswer::Yes};
    frame->mnuFileExit->trigger();
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("precious"));

    // The save failing.
    rec.answers = {lexi::MsgAnswer::Yes};
    dialogs.fileNames = {path("gone/x.rtf")};
    frame->mnuFileExit->trigger();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(rec.lastText().contains(QStringLiteral("Path not found")));
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("precious"));

    // Saved: the program closes.
    rec.answers = {lexi::MsgAnswer::Yes};
    dialogs.fileNames = {path("kept.rtf")};
    frame->mnuFileExit->trigger();
    EXPECT_FALSE(frame->isVisible());
    QTextDocument back;
    ASSERT_TRUE(kvx::rtf::loadRtfFile(path("kept.rtf"), &back, nullptr));
    EXPECT_EQ(back.toPlainText(), QStringLiteral("precious"));
}

TEST_F(FrameTest, CloseControlAsksAsExitDoesAndOtherChangedDocumentsAreAskedFor)
{
    type(QStringLiteral("one"));
    frame->mnuFileNew->trigger();
    type(QStringLiteral("two"));
    frame->mnuFileNew->trigger();  // unchanged: never asked about
    frame->mnuWindows->aboutToShow();
    frame->mnuWindows->actions().at(1)->trigger();  // Document2 active
    ASSERT_EQ(active()->windowTitle(), QStringLiteral("Document2"));

    // No for the active one, Cancel for Document1: nothing closes.
    rec.answers = {lexi::MsgAnswer::No, lexi::MsgAnswer::Cancel};
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Save before exiting ?"));
    EXPECT_EQ(rec.messages[1].text, QStringLiteral("Save the changes to Document1 ?"));
    EXPECT_EQ(rec.messages[1].buttons, lexi::MsgButtons::YesNoCancel);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->documents().size(), 3);

    // Yes for Document1 whose save is cancelled: still open.
    rec.messages.clear();
    rec.answers = {lexi::MsgAnswer::No, lexi::MsgAnswer::Yes};
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(frame->documents().size(), 3);

    // Saved this time: the program closes, asking nothing about Document3.
    rec.messages.clear();
    rec.answers = {lexi::MsgAnswer::No, lexi::MsgAnswer::Yes};
    dialogs.fileNames = {path("one.rtf")};
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(rec.messages.size(), 2u);
    EXPECT_TRUE(QFile::exists(path("one.rtf")));
}

TEST_F(FrameTest, ClosingAChangedDocumentAsks)
{
    frmChild* doc = active();
    // Unchanged: closes without a question.
    frame->mnuFileNew->trigger();
    active()->close();
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(frame->documents().size(), 1);

    type(QStringLiteral("draft"));
    rec.answers = {lexi::MsgAnswer::Cancel};
    EXPECT_FALSE(doc->close());
    EXPECT_EQ(rec.lastText(), QStringLiteral("Save the changes to Document1 ?"));
    EXPECT_EQ(frame->documents().size(), 1);

    rec.answers = {lexi::MsgAnswer::Yes};  // and the save dialog cancelled
    EXPECT_FALSE(doc->close());
    EXPECT_EQ(frame->documents().size(), 1);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("draft"));

    rec.answers = {lexi::MsgAnswer::Yes};
    dialogs.fileNames = {path("draft.rtf")};
    EXPECT_TRUE(doc->close());
    EXPECT_TRUE(frame->documents().isEmpty());
    EXPECT_TRUE(QFile::exists(path("draft.rtf")));
    EXPECT_FALSE(frame->mnuSave->isEnabled());

    frame->mnuFileNew->trigger();
    type(QStringLiteral("throw away"));
    rec.answers = {lexi::MsgAnswer::No};
    EXPECT_TRUE(active()->close());
    EXPECT_TRUE(frame->documents().isEmpty());

    // With no document left, Exit and Yes have nothing to save and end.
    rec.answers = {lexi::MsgAnswer::Yes};
    const auto asked = dialogs.asked.size();
    frame->mnuFileExit->trigger();
    EXPECT_EQ(rec.lastText(), QStringLiteral("Save before exiting ?"));
    EXPECT_EQ(dialogs.asked.size(), asked);
    EXPECT_FALSE(frame->isVisible());
}
