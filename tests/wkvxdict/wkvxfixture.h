#pragma once

// The dictionary dialogs of the word processor driven as a user does, with a
// QTextEdit standing in for the active document and dictionaries made per test.

#include "guitest.h"
#include "seltext.h"

#include "dictstore/wordrecord.h"

#include <QAbstractItemView>
#include <QMainWindow>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace wkvxtest {

using dictstore::Field;

// word, meaning, then any further fields by name.
inline dictstore::WordRecord entry(const std::string& word, const std::string& meaning = {},
                                   std::initializer_list<std::pair<Field, std::string>> more = {})
{
    dictstore::WordRecord r = guitest::record(word, meaning);
    for (const auto& [f, text] : more)
        dictstore::assignField(r, f, text);
    return r;
}

// The rows a list view shows, top to bottom.
inline QStringList rows(const QAbstractItemView* view)
{
    QStringList out;
    const QAbstractItemModel* m = view->model();
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, 0).data().toString();
    return out;
}

// A click on a row, as the mouse does it.
inline void clickRow(QAbstractItemView* view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

class WkvxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        guitest::freshRoot();
        frame = std::make_unique<QMainWindow>();
        doc = new QTextEdit(frame.get());
        active = doc;
    }

    // The document's text with `selected` selected in it.
    void setDocument(const QString& text, const QString& selected = {})
    {
        doc->setPlainText(text);
        QTextCursor c(doc->document());
        if (!selected.isEmpty()) {
            const int at = text.indexOf(selected);
            ASSERT_GE(at, 0);
            c.setPosition(at);
            c.setPosition(at + selected.size(), QTextCursor::KeepAnchor);
        } else {
            c.movePosition(QTextCursor::End);
        }
        doc->setTextCursor(c);
    }

    static void type(QWidget* box, const QString& text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    // What the frame answers when asked for the active document.
    wkvx::ActiveText activeText()
    {
        return [this] { return active; };
    }

    guitest::MessageRecorder rec;
    std::unique_ptr<QMainWindow> frame;
    QTextEdit* doc = nullptr;
    QTextEdit* active = nullptr;
};

}  // namespace wkvxtest
