#include "writingtest.h"

#include "frmRecover.h"
#include "recovery.h"

#include "rtffile.h"

#include "folders.h"

#include "dictstore/paths.h"

#include <QDir>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <functional>

using namespace wkvx;
using wkvxtest::FrameTest;

namespace {

QString recoveryFolder() { return lexi::qpath(dictstore::recoveryPath()); }

// Every copy under a Recovery folder, as "run/name".
QStringList copiesIn(const QString& folder)
{
    QStringList out;
    for (const QFileInfo& run : QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        for (const QString& f : QDir(run.filePath()).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name))
            out << run.fileName() + QLatin1Char('/') + f;
    }
    return out;
}

QString plainTextOf(const QString& rtfFile)
{
    QTextDocument doc;
    QString error;
    return kvx::rtf::loadRtfFile(rtfFile, &doc, &error) ? doc.toPlainText() : QStringLiteral("<%1>").arg(error);
}

// A run that ended without closing: its folder with copies and no lock held.
void leaveDeadRun(const QString& run, const QList<QPair<QString, QString>>& titleAndText)
{
    const QString folder = recoveryFolder() + QLatin1Char('/') + run;
    ASSERT_TRUE(QDir().mkpath(folder));
    int n = 0;
    for (const auto& [title, text] : titleAndText) {
        ++n;
        QTextDocument doc;
        doc.setPlainText(text);
        QString error;
        const QString base = folder + QStringLiteral("/doc%1").arg(n);
        ASSERT_TRUE(kvx::rtf::saveRtfFile(base + ".rtf", doc, &error));
        QFile t(base + ".title");
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write(title.toUtf8());
    }
}

// Answers "Recover Documents" as a user does once it is up; a watchdog
// closes any dialog left open.
void whenOffered(std::function<void(frmRecover*)> act)
{
    auto* poll = new QTimer;
    auto done = std::make_shared<bool>(false);
    QObject::connect(poll, &QTimer::timeout, [poll, act, done] {
        auto* dialog = qobject_cast<frmRecover*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        *done = true;
        poll->deleteLater();
        act(dialog);
    });
    poll->start(10);
    QTimer::singleShot(5000, [done] {
        if (!*done)
            ADD_FAILURE() << "no offer was made";
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
}

class RecoveryTest : public FrameTest {
protected:
    void SetUp() override
    {
        guitest::freshRoot();
        FrameTest::SetUp();
    }
    void TearDown() override
    {
        if (frame)
            FrameTest::TearDown();
    }
    Recovery* recovery() const { return frame->recovery(); }
    QString copy(int n) const { return recovery()->runFolder() + QStringLiteral("/doc%1.rtf").arg(n); }
};

}  // namespace

TEST_F(RecoveryTest, ChangedDocumentsAreCopiedUntilSavedOrClosed)
{
    recovery()->writeCopies();
    EXPECT_TRUE(recovery()->runFolder().isEmpty()) << "nothing changed, nothing written";
    type(QStringLiteral("Dear Sir,"));
    frame->mnuFileNew->trigger();  // unchanged: no copy
    recovery()->writeCopies();
    const QString run = recovery()->runFolder();
    ASSERT_FALSE(run.isEmpty());
    EXPECT_TRUE(run.startsWith(recoveryFolder()));
    EXPECT_EQ(copiesIn(recoveryFolder()), QStringList{QFileInfo(run).fileName() + "/doc1.rtf"});
    EXPECT_EQ(plainTextOf(copy(1)), QStringLiteral("Dear Sir,"));
    EXPECT_EQ(readFile(run + "/doc1.title"), QByteArray("Document1"));

    // Newer changes reach the copy at the next turn.
    frame->mnuWindows->aboutToShow();
    frame->mdiArea->setActiveSubWindow(frame->documents().first());
    type(QStringLiteral(" thank you"));
    recovery()->writeCopies();
    EXPECT_EQ(plainTextOf(copy(1)), QStringLiteral("Dear Sir, thank you"));

    // Saved: the copy goes; changed again: it comes back; undone to the
    // saved text: it goes again.
    dialogs.fileNames = {path("letter.rtf")};
    frame->mnuSave->trigger();
    EXPECT_FALSE(QFile::exists(copy(1)));
    EXPECT_FALSE(QFile::exists(run + "/doc1.title"));
    type(QStringLiteral("!"));
    recovery()->writeCopies();
    EXPECT_TRUE(QFile::exists(copy(1)));
    text()->undo();
    EXPECT_FALSE(QFile::exists(copy(1)));

    // Closed without saving: gone.
    type(QStringLiteral("?"));
    recovery()->writeCopies();
    EXPECT_TRUE(QFile::exists(copy(1)));
    rec.answers = {lexi::MsgAnswer::No};
    active()->close();
    EXPECT_FALSE(QFile::exists(copy(1)));

    // A clean end leaves nothing behind.
    type(QStringLiteral("second"));
    recovery()->writeCopies();
    EXPECT_EQ(copiesIn(recoveryFolder()).size(), 1);
    for (frmChild* d : frame->documents())
        d->setCloseWithoutAsking(true);
    frame.reset();
    EXPECT_FALSE(QFileInfo::exists(run));
    EXPECT_TRUE(copiesIn(recoveryFolder()).isEmpty());
}

TEST_F(RecoveryTest, LeftoverCopiesOpenAsChangedDocumentsTitledAsBefore)
{
    leaveDeadRun(QStringLiteral("4242-1"), {{QStringLiteral("/home/writer/letter.rtf"), QStringLiteral("Dear Madam,")}});
    // A run still going keeps its copies to itself.
    auto other = std::make_unique<MDImain>();
    QTest::keyClicks(other->activeDocument()->rtfText, QStringLiteral("mine"));
    other->recovery()->writeCopies();
    ASSERT_EQ(copiesIn(recoveryFolder()).size(), 2);

    QStringList offered;
    whenOffered([&](frmRecover* dialog) {
        for (int i = 0; i < dialog->lstDocuments->count(); ++i)
            offered << dialog->lstDocuments->item(i)->text();
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Recover Documents"));
        EXPECT_TRUE(dialog->cmdRecover->isDefault());
        dialog->cmdRecover->click();
    });
    recovery()->offer();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_TRUE(offered[0].startsWith(QStringLiteral("/home/writer/letter.rtf  ("))) << offered[0].toStdString();
    EXPECT_EQ(captions(), (QStringList{"Document1", "/home/writer/letter.rtf"}));
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("Dear Madam,"));
    EXPECT_TRUE(text()->document()->isModified());
    EXPECT_TRUE(frame->mnuSave->isEnabled());
    // The work is copied by this run before the old copy goes.
    EXPECT_FALSE(QFileInfo::exists(recoveryFolder() + "/4242-1"));
    EXPECT_EQ(plainTextOf(recovery()->runFolder() + "/doc2.rtf"), QStringLiteral("Dear Madam,"));
    EXPECT_EQ(copiesIn(recoveryFolder()).size(), 2);
    // Saving asks where: nothing is written over the original unasked.
    dialogs.fileNames = {};
    frame->mnuSave->trigger();
    EXPECT_EQ(dialogs.asked.back().kind, QStringLiteral("save"));
    EXPECT_TRUE(text()->document()->isModified());

    // Spelling marks the recovered text like any other.
    if (SpellChecker::shared()) {
        text()->setPlainText(QStringLiteral("Dear Madamm,"));
        ASSERT_TRUE(wkvxtest::settle(text()));
        EXPECT_EQ(wkvxtest::markedWords(text()->document()->firstBlock()), QStringList{"Madamm"});
    }
    other->activeDocument()->setCloseWithoutAsking(true);
}

TEST_F(RecoveryTest, LaterKeepsTheCopiesAndDiscardAsksFirst)
{
    leaveDeadRun(QStringLiteral("77-1"), {{QStringLiteral("Document1"), QStringLiteral("one")},
                                          {QStringLiteral("Document2"), QStringLiteral("two")}});
    whenOffered([](frmRecover* d) { d->cmdLater->click(); });
    recovery()->offer();
    EXPECT_EQ(copiesIn(recoveryFolder()), (QStringList{"77-1/doc1.rtf", "77-1/doc2.rtf"}));
    EXPECT_EQ(frame->documents().size(), 1);

    // Escape is Later too.
    whenOffered([](frmRecover* d) { QTest::keyClick(d, Qt::Key_Escape); });
    recovery()->offer();
    EXPECT_EQ(copiesIn(recoveryFolder()).size(), 2);

    // Discard throws away only the ticked ones, and only after a Yes.
    rec.answers = {lexi::MsgAnswer::No};
    whenOffered([](frmRecover* d) {
        d->lstDocuments->item(0)->setCheckState(Qt::Unchecked);
        d->cmdDiscard->click();  // No: the dialog stays
        EXPECT_TRUE(d->isVisible());
        d->cmdDiscard->click();  // Yes
    });
    recovery()->offer();
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.lastText(), QStringLiteral("Discard the ticked document? Its unsaved changes will be lost."));
    EXPECT_EQ(copiesIn(recoveryFolder()), QStringList{"77-1/doc1.rtf"});

    // Nothing ticked: nothing to recover or discard.
    whenOffered([](frmRecover* d) {
        d->lstDocuments->item(0)->setCheckState(Qt::Unchecked);
        EXPECT_FALSE(d->cmdRecover->isEnabled());
        EXPECT_FALSE(d->cmdDiscard->isEnabled());
        d->cmdLater->click();
    });
    recovery()->offer();
    EXPECT_EQ(copiesIn(recoveryFolder()).size(), 1);
}

TEST_F(RecoveryTest, CopiesThatCannotBeWrittenAreSaidOnce)
{
    // A file where the folder should be.
    writeFile(recoveryFolder(), "not a folder");
    type(QStringLiteral("precious"));
    recovery()->writeCopies();
    type(QStringLiteral(" words"));
    recovery()->writeCopies();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.lastText().startsWith(QStringLiteral("Recovery copies of your documents cannot be written")));
    EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::Exclamation);
    // Saving is untouched.
    dialogs.fileNames = {path("kept.rtf")};
    frame->mnuSave->trigger();
    EXPECT_FALSE(text()->document()->isModified());
    EXPECT_EQ(plainTextOf(path("kept.rtf")), QStringLiteral("precious words"));
}

// The real thing: a word processor killed while it holds changes.
class KilledWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        QDir(home.path()).mkpath(QStringLiteral(".runtime"));
        QFile::setPermissions(home.filePath(QStringLiteral(".runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral(".runtime")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    void TearDown() override
    {
        for (auto& p : running) {
            p->kill();
            p->waitForFinished();
        }
    }

    QString recovery() const { return home.filePath(QStringLiteral("Lexivane/Recovery")); }

    // Starts one that types and keeps its copies up to date.
    QProcess* startTyping(const QString& words)
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(WKVX_RECOVERY_DRIVER), {QStringLiteral("type"), words});
        EXPECT_TRUE(p->waitForStarted());
        running.push_back(std::move(p));
        return running.back().get();
    }
    bool waitForCopy(int count)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000) {
            if (copiesIn(recovery()).size() == count)
                return true;
            QTest::qWait(50);
        }
        return false;
    }
    // Starts one, answers the offer and returns what it printed.
    QStringList startAndAnswer(const QString& choice)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(WKVX_RECOVERY_DRIVER), {QStringLiteral("answer"), choice});
        EXPECT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir home;
    QProcessEnvironment env;
    std::vector<std::unique_ptr<QProcess>> running;
};

TEST_F(KilledWriterTest, KillNineThenTheNextStartOffersTheWork)
{
    QProcess* writer = startTyping(QStringLiteral("Half a letter"));
    ASSERT_TRUE(waitForCopy(1));
    // Another start while it runs offers nothing of it.
    EXPECT_EQ(startAndAnswer(QStringLiteral("recover")),
              (QStringList{"offer: none", "doc: Document1|saved|"}));
    writer->kill();  // SIGKILL
    ASSERT_TRUE(writer->waitForFinished());
    EXPECT_EQ(writer->exitStatus(), QProcess::CrashExit);
    ASSERT_EQ(copiesIn(recovery()).size(), 1);

    // Later keeps it for the next start.
    QStringList out = startAndAnswer(QStringLiteral("later"));
    ASSERT_EQ(out.size(), 2) << out.join('\n').toStdString();
    EXPECT_TRUE(out[0].startsWith(QStringLiteral("offer: Document1  (")));
    EXPECT_EQ(out[1], QStringLiteral("doc: Document1|saved|"));
    EXPECT_EQ(copiesIn(recovery()).size(), 1);

    out = startAndAnswer(QStringLiteral("recover"));
    ASSERT_EQ(out.size(), 3) << out.join('\n').toStdString();
    EXPECT_TRUE(out[0].startsWith(QStringLiteral("offer: Document1  (")));
    EXPECT_EQ(out[1], QStringLiteral("doc: Document1|saved|"));
    EXPECT_EQ(out[2], QStringLiteral("doc: Document1|modified|Half a letter"));
    // That run closed cleanly (without saving): nothing is left to offer.
    EXPECT_TRUE(copiesIn(recovery()).isEmpty());
    EXPECT_TRUE(QDir(recovery()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_EQ(startAndAnswer(QStringLiteral("recover")).value(0), QStringLiteral("offer: none"));
}
