#include "writingtest.h"

#include "wordspans.h"

#include "folders.h"
#include "rtffile.h"

#include "dictstore/paths.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QTemporaryDir>

#include <filesystem>

#include <sys/stat.h>

using namespace wkvx;
using wkvxtest::WritingTest;
using wkvxtest::markedWords;
using wkvxtest::marks;
using wkvxtest::settle;
using wkvxtest::texts;

namespace {

QStringList words(const QString& text)
{
    QStringList out;
    for (const WordSpan& w : wordSpans(text))
        out << text.mid(w.start, w.length);
    return out;
}

QStringList checked(const QString& text)
{
    QStringList out;
    for (const WordSpan& w : wordSpans(text)) {
        if (worthChecking(text, w))
            out << text.mid(w.start, w.length);
    }
    return out;
}

}  // namespace

TEST(WordSpansTest, ApostrophesAndHyphensInsideWordsOnly)
{
    EXPECT_EQ(words(QStringLiteral("Don\u2019t stop\u2014it's a 'well-known' fact -- rock-'n'-roll, 3rd.")),
              (QStringList{"Don\u2019t", "stop", "it's", "a", "well-known", "fact", "rock", "n", "roll", "3rd"}));
    EXPECT_EQ(words(QStringLiteral("-edge- dogs' caf\u00E9 na\u0308ive")),
              (QStringList{"edge", "dogs", "caf\u00E9", "na\u0308ive"}));
    EXPECT_TRUE(words(QStringLiteral("  ... -- '' ")).isEmpty());
    const QString t = QStringLiteral("big cat");
    EXPECT_EQ(wordAt(t, 0), (WordSpan{0, 3}));
    EXPECT_EQ(wordAt(t, 3), (WordSpan{0, 3}));  // just after the word
    EXPECT_EQ(wordAt(t, 4), (WordSpan{4, 3}));
    EXPECT_EQ(wordAt(QStringLiteral("a  b"), 2), std::nullopt);
    EXPECT_EQ(plainWord(QStringLiteral("isn\u2019t"), {0, 5}), QStringLiteral("isn't"));
}

TEST(WordSpansTest, NumbersCapitalsAndAddressesAreNotChecked)
{
    EXPECT_EQ(checked(QStringLiteral("I met NATO at 3rd A4 x2 on www.example.org and mail bob@example.org now")),
              (QStringList{"met", "at", "on", "and", "mail", "now"}));
    EXPECT_EQ(checked(QStringLiteral("see https://lexivane.example.org/x iPhone McDonald")),
              (QStringList{"see", "iPhone", "McDonald"}));
}

TEST(WordSpansTest, ReplacementFollowsTheCaseOfTheWord)
{
    EXPECT_EQ(matchCase(QStringLiteral("glad"), QStringLiteral("happy")), QStringLiteral("glad"));
    EXPECT_EQ(matchCase(QStringLiteral("glad"), QStringLiteral("Happy")), QStringLiteral("Glad"));
    EXPECT_EQ(matchCase(QStringLiteral("glad"), QStringLiteral("HAPPY")), QStringLiteral("GLAD"));
    EXPECT_EQ(matchCase(QStringLiteral("look after"), QStringLiteral("Mind")), QStringLiteral("Look after"));
    // A proper noun in the dictionary stays as it is stored.
    EXPECT_EQ(matchCase(QStringLiteral("Paris"), QStringLiteral("capital")), QStringLiteral("Paris"));
    EXPECT_EQ(matchCase(QStringLiteral("me"), QStringLiteral("I")), QStringLiteral("Me"));
}

TEST_F(WritingTest, UnknownWordsAreMarkedWithoutChangingTheDocument)
{
    setText(QStringLiteral("The cat sat on teh mat.\nIt isn't a dogg, it's a well-known cat."));
    EXPECT_EQ(markedWords(block(0)), QStringList{"teh"});
    EXPECT_EQ(marks(block(0)), QStringList{"15+3"});
    EXPECT_EQ(markedWords(block(1)), QStringList{"dogg"});
    // Marks are not edits: nothing to undo, nothing changed, nothing saved.
    EXPECT_FALSE(text()->document()->isModified());
    EXPECT_FALSE(text()->document()->isUndoAvailable());
    const QString file = path("marked.rtf");
    QString error;
    ASSERT_TRUE(text()->saveFile(file, &error)) << error.toStdString();
    const QByteArray rtf = readFile(file);
    EXPECT_TRUE(rtf.contains("teh"));
    EXPECT_FALSE(rtf.contains("\\ulwave"));
    EXPECT_FALSE(rtf.contains("\\ul"));
}

// Where red is drawn in the box, in the viewport's coordinates.
QRect redDrawn(QTextEdit* box)
{
    const QImage shot = box->viewport()->grab().toImage();
    QRect found;
    const qreal ratio = shot.devicePixelRatio();
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 110 && c.blue() < 110)
                found |= QRect(int(x / ratio), int(y / ratio), 1, 1);
        }
    }
    return found;
}

QRect wordRect(QTextEdit* box, int from, int to)
{
    QTextCursor c(box->document());
    c.setPosition(from);
    const QRect a = box->cursorRect(c);
    c.setPosition(to);
    return a.united(box->cursorRect(c));
}

TEST_F(WritingTest, WavesAreDrawnUnderTheWordsOnTheScreen)
{
    if (!guitest::realFontAvailable())
        GTEST_SKIP() << "no real font";
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << (i == 150 ? QStringLiteral("far down a mistaek here") : QStringLiteral("all good words here"));
    lines[0] = QStringLiteral("Good teh words");
    setText(lines.join('\n'));
    QRect red = redDrawn(text());
    QRect word = wordRect(text(), 5, 8);
    ASSERT_TRUE(red.isValid());
    EXPECT_GE(red.left(), word.left() - 2);
    EXPECT_LE(red.right(), word.right() + 2);
    EXPECT_GE(red.top(), word.center().y());
    EXPECT_LE(red.bottom(), word.bottom() + 5);
    // Scrolled to the other mistake, the waves go with the text.
    const int at = int(lines.mid(0, 150).join('\n').size()) + 1 + 11;
    QTextCursor c(text()->document());
    c.setPosition(at);
    text()->setTextCursor(c);
    text()->ensureCursorVisible();
    ASSERT_TRUE(settle(text()));
    red = redDrawn(text());
    word = wordRect(text(), at, at + 7);
    ASSERT_TRUE(red.isValid());
    EXPECT_GE(red.left(), word.left() - 2);
    EXPECT_LE(red.right(), word.right() + 2);
    EXPECT_GE(red.top(), word.center().y());
    EXPECT_LE(red.bottom(), word.bottom() + 5);
    // Off, nothing is drawn.
    frame->spelling()->mnuViewSpelling->trigger();
    EXPECT_FALSE(redDrawn(text()).isValid());
}

TEST_F(WritingTest, TypingChecksTheWordsAroundTheEdit)
{
    setText(QStringLiteral("teh cat and teh dog"));
    EXPECT_EQ(marks(block(0)), (QStringList{"0+3", "12+3"}));
    QTextCursor c = text()->textCursor();
    c.setPosition(0);
    text()->setTextCursor(c);
    QTest::keyClicks(text(), QStringLiteral("big "));
    // Marks away from the edit move with their words.
    EXPECT_EQ(marks(block(0)), (QStringList{"4+3", "16+3"}));

    // Mending a word by typing takes its mark away at once.
    c.setPosition(16);
    c.setPosition(19, QTextCursor::KeepAnchor);
    text()->setTextCursor(c);
    QTest::keyClicks(text(), QStringLiteral("the"));
    EXPECT_EQ(marks(block(0)), QStringList{"4+3"});
    // A word being typed is marked as it stands: "catt", then "cattle".
    c.movePosition(QTextCursor::End);
    text()->setTextCursor(c);
    QTest::keyClicks(text(), QStringLiteral(" catt"));
    EXPECT_EQ(markedWords(block(0)), (QStringList{"teh", "catt"}));
    QTest::keyClicks(text(), QStringLiteral("le"));
    EXPECT_EQ(markedWords(block(0)), QStringList{"teh"});
    // A new paragraph in the middle of a marked word splits it.
    c.setPosition(5);
    text()->setTextCursor(c);
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_TRUE(markedWords(block(0)).isEmpty()) << markedWords(block(0)).join(',').toStdString();
    EXPECT_TRUE(markedWords(block(1)).isEmpty()) << markedWords(block(1)).join(',').toStdString();
    // Undo puts the word back together and marks it again.
    text()->undo();
    QCoreApplication::processEvents();
    EXPECT_EQ(markedWords(block(0)), QStringList{"teh"});
}

TEST_F(WritingTest, ShownParagraphsFirstTheRestInTheBackground)
{
    QStringList lines;
    for (int i = 0; i < 3000; ++i)
        lines << QStringLiteral("Line %1 of a long report with a mistaek in it.").arg(i);
    const QString file = path("long.rtf");
    {
        QTextDocument doc;
        doc.setPlainText(lines.join('\n'));
        QString error;
        ASSERT_TRUE(kvx::rtf::saveRtfFile(file, doc, &error));
    }
    dialogs.fileNames = {file};
    frame->mnufileOpen->trigger();
    QTextEdit* box = text();
    // What is on the screen is checked first.
    for (int turn = 0; turn < 100 && markedWords(box->document()->firstBlock()).isEmpty(); ++turn)
        QCoreApplication::processEvents();
    EXPECT_EQ(markedWords(box->document()->firstBlock()), QStringList{"mistaek"});
    EXPECT_TRUE(markedWords(box->document()->lastBlock()).isEmpty());
    EXPECT_TRUE(SpellHighlighter::of(box)->waiting());
    ASSERT_TRUE(settle(box));
    EXPECT_EQ(markedWords(box->document()->lastBlock()), QStringList{"mistaek"});
    int marked = 0;
    for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next())
        marked += int(markedWords(b).size());
    EXPECT_EQ(marked, 3000);
    EXPECT_FALSE(box->document()->isModified());

    // An edit far off the screen is checked in the background too.
    QTextCursor far(box->document()->lastBlock());
    far.insertText(QStringLiteral("Anothr "));
    ASSERT_TRUE(settle(box));
    EXPECT_EQ(markedWords(box->document()->lastBlock()), (QStringList{"Anothr", "mistaek"}));
}

TEST_F(WritingTest, ViewMenuTurnsTheMarksOffAndOn)
{
    QMenu* view = frame->findChild<QMenu*>(QStringLiteral("mnuView"));
    ASSERT_NE(view, nullptr);
    QAction* toggle = frame->spelling()->mnuViewSpelling;
    EXPECT_TRUE(view->actions().contains(toggle));
    EXPECT_EQ(toggle->text(), QStringLiteral("Check Spelling as You Type"));
    EXPECT_TRUE(toggle->isEnabled());
    EXPECT_TRUE(toggle->isChecked());
    setText(QStringLiteral("a mistaek"));
    frame->mnuFileNew->trigger();
    setText(QStringLiteral("anothr one"));
    toggle->trigger();
    for (frmChild* doc : frame->documents()) {
        EXPECT_TRUE(marks(doc->rtfText->document()->firstBlock()).isEmpty());
        EXPECT_EQ(SpellHighlighter::of(doc->rtfText), nullptr);
    }
    // Off, typing draws nothing and new documents stay unmarked.
    text()->moveCursor(QTextCursor::End);
    QTest::keyClicks(text(), QStringLiteral(" moar"));
    frame->mnuFileNew->trigger();
    setText(QStringLiteral("thrid"));
    EXPECT_TRUE(marks(block(0)).isEmpty());
    toggle->trigger();
    for (frmChild* doc : frame->documents())
        ASSERT_TRUE(settle(doc->rtfText));
    QStringList all;
    for (frmChild* doc : frame->documents())
        all += markedWords(doc->rtfText->document()->firstBlock());
    EXPECT_EQ(all, (QStringList{"mistaek", "anothr", "moar", "thrid"}));
    // The document commands need a document; the setting does not.
    for (frmChild* doc : frame->documents()) {
        doc->rtfText->document()->setModified(false);
        doc->close();
    }
    EXPECT_FALSE(frame->spelling()->mnuSpellCheck->isEnabled());
    EXPECT_TRUE(toggle->isEnabled());
}

TEST_F(WritingTest, F7GoesFromWordToWordAndSaysWhenNoneIsLeft)
{
    setText(QStringLiteral("A mistak here.\nAll good.\nAnd anothr one."));
    QTextCursor c = text()->textCursor();
    c.setPosition(3);  // inside the first unknown word
    text()->setTextCursor(c);
    QTest::keyClick(text(), Qt::Key_F7);
    EXPECT_EQ(text()->selText(), QStringLiteral("anothr"));
    ASSERT_TRUE(frame->mnuEdit->isVisible());
    // The menu offers the suggestions for it.
    EXPECT_TRUE(texts(wkvxtest::shownItems(frame->mnuEdit, QStringLiteral("mnuSuggestion"))).contains("another"));
    closeMenu();
    // Round to the top.
    QTest::keyClick(text(), Qt::Key_F7);
    EXPECT_EQ(text()->selText(), QStringLiteral("mistak"));
    wkvxtest::shownItems(frame->mnuEdit, QStringLiteral("mnuIgnoreAll")).value(0)->trigger();
    closeMenu();
    QTest::keyClick(text(), Qt::Key_F7);
    EXPECT_EQ(text()->selText(), QStringLiteral("anothr"));
    wkvxtest::shownItems(frame->mnuEdit, QStringLiteral("mnuIgnoreAll")).value(0)->trigger();
    closeMenu();
    EXPECT_TRUE(rec.messages.empty());
    QTest::keyClick(text(), Qt::Key_F7);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.lastText(), QStringLiteral("The spelling check is complete: no unknown words were found."));
    EXPECT_EQ(rec.messages.back().title, QStringLiteral("Kavix Writer"));
    EXPECT_FALSE(frame->mnuEdit->isVisible());

    // With marks off, F7 still checks.
    frame->spelling()->mnuViewSpelling->trigger();
    setText(QStringLiteral("one moar"));
    QTest::keyClick(text(), Qt::Key_F7);
    EXPECT_EQ(text()->selText(), QStringLiteral("moar"));
}

TEST_F(WritingTest, IgnoreAllAndMyWordsReachEveryDocumentAndTheNextRun)
{
    setText(QStringLiteral("Lexivane and Kavixian"));
    frame->mnuFileNew->trigger();
    setText(QStringLiteral("more Lexivane, and kavixian"));
    EXPECT_EQ(markedWords(block(0)), (QStringList{"Lexivane", "kavixian"}));

    rightClickOn(QStringLiteral("Lexivane"));
    wkvxtest::shownItems(frame->mnuEdit, QStringLiteral("mnuIgnoreAll")).value(0)->trigger();
    closeMenu();
    for (frmChild* doc : frame->documents())
        EXPECT_FALSE(markedWords(doc->rtfText->document()->firstBlock()).contains("Lexivane"));

    rightClickOn(QStringLiteral("kavixian"));
    wkvxtest::shownItems(frame->mnuEdit, QStringLiteral("mnuAddWord")).value(0)->trigger();
    closeMenu();
    EXPECT_TRUE(rec.messages.empty()) << rec.lastText().toStdString();
    for (frmChild* doc : frame->documents())
        EXPECT_TRUE(markedWords(doc->rtfText->document()->firstBlock()).isEmpty());
    EXPECT_EQ(readFile(lexi::qpath(dictstore::personalWordsPath())), QByteArray("kavixian\n"));

    // The next run knows My Words but has forgotten what was ignored.
    SpellChecker::setSearchFolders(SpellChecker::searchFolders());
    ASSERT_TRUE(SpellChecker::shared());
    EXPECT_TRUE(SpellChecker::shared()->isKnown(QStringLiteral("kavixian")));
    EXPECT_TRUE(SpellChecker::shared()->isKnown(QStringLiteral("Kavixian")));
    EXPECT_FALSE(SpellChecker::shared()->isKnown(QStringLiteral("Lexivane")));
}

TEST_F(WritingTest, MyWordsWithoutTheLexivaneFolderLastTheRunAndSaySo)
{
    std::filesystem::remove_all(dictstore::lexivaneRoot());
    setText(QStringLiteral("a zorblat"));
    rightClickOn(QStringLiteral("zorblat"));
    wkvxtest::shownItems(frame->mnuEdit, QStringLiteral("mnuAddWord")).value(0)->trigger();
    closeMenu();
    EXPECT_TRUE(marks(block(0)).isEmpty());
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.lastText().startsWith(QStringLiteral("zorblat is accepted until Kavix Writer closes")));
    EXPECT_TRUE(rec.lastText().contains(lexi::qpath(dictstore::lexivaneRoot())));
    EXPECT_FALSE(std::filesystem::exists(dictstore::lexivaneRoot()));

    // A pipe where the file should be is refused, not waited on.
    guitest::freshRoot();
    ASSERT_EQ(::mkfifo(dictstore::personalWordsPath().c_str(), 0600), 0);
    setText(QStringLiteral("a blorfing"));
    rightClickOn(QStringLiteral("blorfing"));
    wkvxtest::shownItems(frame->mnuEdit, QStringLiteral("mnuAddWord")).value(0)->trigger();
    closeMenu();
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_TRUE(rec.lastText().contains(QStringLiteral("is not a file")));
    std::filesystem::remove(dictstore::personalWordsPath());
}

TEST(SpellingWithoutDictionaryTest, SpellingIsOffAndSaysWhy)
{
    guitest::MessageRecorder rec;
    QTemporaryDir empty;
    const QStringList folders = SpellChecker::searchFolders();
    SpellChecker::setSearchFolders({empty.path()});
    {
        MDImain frame;
        frame.show();
        QAction* toggle = frame.spelling()->mnuViewSpelling;
        EXPECT_FALSE(toggle->isEnabled());
        EXPECT_FALSE(toggle->isChecked());
        EXPECT_EQ(toggle->text(), QStringLiteral("Check Spelling as You Type (no dictionary installed)"));
        RichTextBox* box = frame.activeDocument()->rtfText;
        QTest::keyClicks(box, QStringLiteral("teh mistaek"));
        QCoreApplication::processEvents();
        EXPECT_TRUE(marks(box->document()->firstBlock()).isEmpty());
        QTest::keyClick(box, Qt::Key_F7);
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_EQ(rec.lastText(),
                  QStringLiteral("Spelling cannot be checked: no English dictionary for Hunspell is installed."));
        // The pop-up menu still works, without spelling items.
        QTest::mouseClick(box->viewport(), Qt::RightButton, {}, box->cursorRect().center());
        EXPECT_TRUE(frame.mnuEdit->isVisible());
        EXPECT_TRUE(wkvxtest::shownItems(frame.mnuEdit, QStringLiteral("mnuIgnoreAll")).isEmpty());
        EXPECT_FALSE(wkvxtest::shownItems(frame.mnuEdit, QStringLiteral("mnuLookUpWord")).isEmpty());
        frame.mnuEdit->hide();
        box->document()->setModified(false);
        rec.answers = {lexi::MsgAnswer::No};
    }
    SpellChecker::setSearchFolders(folders);
}

TEST(ViewMenuTest, JoinsTheFramesOwnViewMenuOrMakesOne)
{
    QMainWindow window;
    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("&Edit"));
    QMenu* tools = window.menuBar()->addMenu(QStringLiteral("&Tools"));
    QMenu* made = viewMenu(&window, tools->menuAction());
    EXPECT_EQ(made->objectName(), QStringLiteral("mnuView"));
    EXPECT_EQ(window.menuBar()->actions(), (QList<QAction*>{edit->menuAction(), made->menuAction(), tools->menuAction()}));
    EXPECT_EQ(viewMenu(&window, tools->menuAction()), made);

    // A View menu the frame made itself, owned by the frame, is the one used.
    QMainWindow other;
    auto* own = new QMenu(QStringLiteral("&View"), &other);
    own->setObjectName(QStringLiteral("mnuView"));
    other.menuBar()->addMenu(own);
    EXPECT_EQ(viewMenu(&other, nullptr), own);
    EXPECT_EQ(other.menuBar()->actions().size(), 1);
}
