#pragma once

// Shared by the GUI tests: a QApplication for GoogleTest, a recorder in place
// of the message box, and small helpers to build dictionaries.

#include "msgbox.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include <QApplication>
#include <QFontMetrics>
#include <QString>
#include <QTest>

#include <deque>
#include <filesystem>
#include <vector>

namespace guitest {

// Records every message box and answers from a queue (Ok or Yes by default).
class MessageRecorder {
public:
    MessageRecorder()
    {
        lexi::setMessageHandler([this](const lexi::Message& m) {
            messages.push_back(m);
            if (!answers.empty()) {
                const lexi::MsgAnswer a = answers.front();
                answers.pop_front();
                return a;
            }
            return m.buttons == lexi::MsgButtons::Ok ? lexi::MsgAnswer::Ok : lexi::MsgAnswer::Yes;
        });
    }
    ~MessageRecorder() { lexi::setMessageHandler({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<lexi::Message> messages;
    std::deque<lexi::MsgAnswer> answers;

    QString lastText() const { return messages.empty() ? QString() : messages.back().text; }
};

// A fresh Lexivane root under the test's own home: db/ and SavedSearches/
// exist, the dictionary does not.
inline void freshRoot()
{
    namespace fs = std::filesystem;
    fs::remove_all(dictstore::lexivaneRoot());
    fs::create_directories(dictstore::dictionaryPath().parent_path());
    fs::create_directories(dictstore::savedSearchesPath());
}

inline dictstore::WordRecord record(const std::string& word, const std::string& meaning = {})
{
    dictstore::WordRecord r;
    dictstore::assignField(r, dictstore::Field::Word, word);
    dictstore::assignField(r, dictstore::Field::Meaning, meaning);
    return r;
}

inline void writeDictionary(const std::vector<dictstore::WordRecord>& records)
{
    dictstore::Dictionary d;
    std::filesystem::remove(dictstore::dictionaryPath());
    d.openForUpdate(dictstore::dictionaryPath());
    std::int64_t n = 0;
    for (const auto& r : records)
        d.append(r, n);
}

// Waiting on a condition as a GoogleTest check: QtTest's QTRY_ macros report
// their failures to QtTest alone, so inside a GoogleTest test they never fail.
template <typename Condition>
bool eventually(Condition condition, int timeoutMs = 5000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

// The value once it equals the expected one, or as it stands at the timeout.
template <typename Value, typename T>
auto eventuallyEquals(Value value, const T& expected, int timeoutMs = 5000)
{
    static_cast<void>(QTest::qWaitFor([&] { return value() == expected; }, timeoutMs));
    return value();
}

// Without a real font Qt draws boxes and sizes are meaningless.
inline bool realFontAvailable()
{
    const QFontMetrics fm(QApplication::font());
    return fm.horizontalAdvance(QStringLiteral("iiii")) != fm.horizontalAdvance(QStringLiteral("WWWW"));
}

}  // namespace guitest
