#pragma once

// Shared by the tests of spelling, the word menu and recovery: a frame
// whose documents are checked with the installed English dictionary.

#include "wkvxtest.h"

#include "spellchecker.h"
#include "spellhighlighter.h"
#include "spelling.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QTextBlock>
#include <QTextLayout>

namespace wkvxtest {

// The spans marked in a paragraph, as "start+length".
inline QStringList marks(const QTextBlock& block)
{
    QStringList out;
    for (const wkvx::WordSpan& w : wkvx::SpellHighlighter::marked(block))
        out << QStringLiteral("%1+%2").arg(w.start).arg(w.length);
    return out;
}

// The marked words of a paragraph.
inline QStringList markedWords(const QTextBlock& block)
{
    QStringList out;
    for (const wkvx::WordSpan& w : wkvx::SpellHighlighter::marked(block))
        out << block.text().mid(w.start, w.length);
    return out;
}

// Runs the event loop until the box's background check is done.
inline bool settle(QTextEdit* box, int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    QCoreApplication::processEvents();
    for (;;) {
        const wkvx::SpellHighlighter* h = wkvx::SpellHighlighter::of(box);
        if ((!h || !h->waiting()) && t.elapsed() > 0)
            break;
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    return true;
}

// The actions a menu shows now, by object name.
inline QList<QAction*> shownItems(QMenu* menu, const QString& name)
{
    QList<QAction*> out;
    for (QAction* a : menu->actions()) {
        if (a->objectName() == name)
            out << a;
    }
    return out;
}

inline QStringList texts(const QList<QAction*>& actions)
{
    QStringList out;
    for (QAction* a : actions)
        out << a->text();
    return out;
}

class WritingTest : public FrameTest {
protected:
    void SetUp() override
    {
        guitest::freshRoot();
        if (!wkvx::SpellChecker::shared())
            GTEST_SKIP() << "no English Hunspell dictionary installed (hunspell-en-us)";
        FrameTest::SetUp();
    }
    void TearDown() override
    {
        if (frame)
            FrameTest::TearDown();
    }

    // Replaces the active document's text and waits for the check.
    void setText(const QString& s)
    {
        text()->setPlainText(s);
        text()->document()->setModified(false);
        ASSERT_TRUE(settle(text()));
    }
    QTextBlock block(int n) const { return text()->document()->findBlockByNumber(n); }

    // Right-clicks the middle of the n-th occurrence of `word`.
    void rightClickOn(const QString& word, int occurrence = 0)
    {
        int at = -1;
        for (int i = 0; i <= occurrence; ++i)
            at = text()->toPlainText().indexOf(word, at + 1);
        ASSERT_GE(at, 0) << word.toStdString();
        QTextCursor c(text()->document());
        c.setPosition(at + int(word.size()) / 2);
        const QPoint p = text()->cursorRect(c).center();
        QTest::mouseClick(text()->viewport(), Qt::RightButton, {}, p);
        ASSERT_TRUE(frame->mnuEdit->isVisible());
    }
    // Closes the pop-up menu; the focus goes back to the text, as on a desktop.
    void closeMenu()
    {
        frame->mnuEdit->hide();
        frame->activateWindow();
        QCoreApplication::processEvents();
        text()->setFocus();
    }
};

}  // namespace wkvxtest
