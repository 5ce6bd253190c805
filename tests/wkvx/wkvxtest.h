#pragma once

// Shared by the word processor's tests: scripted common dialogs and a
// frame with its documents.

#include "guitest.h"

#include "MDImain.h"
#include "frmChild.h"
#include "richtextbox.h"

#include "dialogs.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QSettings>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <ostream>

// Readable failures for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace wkvxtest {

// Selects from one position to another, as a drag of the mouse does.
inline void select(QTextEdit* t, int from, int to)
{
    QTextCursor c = t->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    t->setTextCursor(c);
}

// Answers the file and font dialogs from queues and records how they were asked.
class ScriptedDialogs : public lexi::DialogProvider {
public:
    ScriptedDialogs() { lexi::setDialogProvider(this); }
    ~ScriptedDialogs() override { lexi::setDialogProvider(nullptr); }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    struct Asked {
        QString kind;  // "open", "save" or "font"
        QString title;
        QString filter;
    };

    QString openFileName(QWidget*, const QString& title, const QString& filter) override
    {
        asked.push_back({QStringLiteral("open"), title, filter});
        return next(fileNames);
    }
    QString saveFileName(QWidget*, const QString& title, const QString& filter) override
    {
        asked.push_back({QStringLiteral("save"), title, filter});
        return next(fileNames);
    }
    std::optional<QFont> font(QWidget*, const QFont& initial) override
    {
        asked.push_back({QStringLiteral("font"), {}, {}});
        fontShown = initial;
        if (fonts.empty())
            return std::nullopt;
        auto f = fonts.front();
        fonts.pop_front();
        return f;
    }

    // An empty name stands for a cancelled dialog, as does an empty queue.
    std::deque<QString> fileNames;
    std::deque<std::optional<QFont>> fonts;
    std::vector<Asked> asked;
    QFont fontShown;

private:
    static QString next(std::deque<QString>& q)
    {
        if (q.empty())
            return QString();
        QString s = q.front();
        q.pop_front();
        return s;
    }
};

// A shown frame with its first document, scripted dialogs and recorded
// messages, and a folder for files.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        lexi::setCurrentProgram(lexi::wkvxInfo());
        ASSERT_TRUE(dir.isValid());
        // The recent files and other settings stay in the test's folder.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
        frame = std::make_unique<wkvx::MDImain>();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override
    {
        // Leave without the exit question.
        for (wkvx::frmChild* doc : frame->documents())
            doc->rtfText->document()->setModified(false);
        rec.answers = {lexi::MsgAnswer::No};
        frame->close();
        frame.reset();
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    wkvx::frmChild* active() const { return frame->activeDocument(); }
    wkvx::RichTextBox* text() const { return active() ? active()->rtfText : nullptr; }
    QStringList captions() const
    {
        QStringList out;
        for (auto* d : frame->documents())
            out << d->windowTitle();
        return out;
    }
    // Types into the active document as a user does.
    void type(const QString& s) const
    {
        const QStringList lines = s.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(text(), Qt::Key_Return);
            QTest::keyClicks(text(), lines[i]);
        }
    }
    void selectAll() const { text()->selectAll(); }
    static void writeFile(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray readFile(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    guitest::MessageRecorder rec;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    std::unique_ptr<wkvx::MDImain> frame;
};

}  // namespace wkvxtest
