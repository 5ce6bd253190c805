#pragma once

// Runs the utility's windows as a user does: the first page, its choice,
// the confirmation and the file name, then the result window.

#include "a11ycheck.h"
#include "guitest.h"

#include "frmExport.h"
#include "frmImport.h"
#include "frmIntro.h"

#include "dialogs.h"
#include "folders.h"
#include "version.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace exporttest {

using exportutil::frmExport;
using exportutil::frmImport;
using exportutil::frmIntro;

// The input box answers with `answer` and remembers how it was asked.
class FakeDialogs : public lexi::DialogProvider {
public:
    QString inputText(QWidget*, const QString& prompt, const QString& title, const QString& defaultText) override
    {
        asked.push_back({prompt, title, defaultText});
        return answer;
    }
    QString answer;
    std::vector<std::array<QString, 3>> asked;
};

inline std::string readBytes(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string dictionaryBytes() { return readBytes(dictstore::dictionaryPath()); }

class UtilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        lexi::setCurrentProgram(lexi::exportUtilInfo());
        lexi::setDialogProvider(&dialogs);
        guitest::freshRoot();
        std::filesystem::remove("dictionary.csv");
        std::filesystem::remove("words.csv");
    }
    void TearDown() override
    {
        lexi::setDialogProvider(nullptr);
        delete result.data();
    }

    // A click on the option's round button.
    static void chooseImport(frmIntro& intro)
    {
        QTest::mouseClick(intro.optImport, Qt::LeftButton, {}, QPoint(6, intro.optImport->height() / 2));
        ASSERT_TRUE(intro.optImport->isChecked());
    }

    // The first page with export chosen, Enter pressed.
    frmExport* exportThroughIntro()
    {
        frmIntro intro;
        intro.show();
        QTest::keyClick(&intro, Qt::Key_Return);
        result = intro.resultWindow();
        return qobject_cast<frmExport*>(result.data());
    }

    // The first page with import chosen, Next, Yes, and the name typed.
    frmImport* importThroughIntro(const QString& name)
    {
        frmIntro intro;
        intro.show();
        chooseImport(intro);
        dialogs.answer = name;
        rec.answers.push_front(lexi::MsgAnswer::Yes);
        QTest::mouseClick(intro.cmdNext, Qt::LeftButton);
        result = intro.resultWindow();
        // Only the import's own messages are of interest from here on.
        if (!rec.messages.empty() && rec.messages.front().title == QStringLiteral("Sure to continue?"))
            rec.messages.erase(rec.messages.begin());
        return qobject_cast<frmImport*>(result.data());
    }

    static void expectAccessible(QWidget* window)
    {
        const QStringList problems = lexitest::accessibilityProblems(window);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    }

    guitest::MessageRecorder rec;
    FakeDialogs dialogs;
    QPointer<QDialog> result;
};

}  // namespace exporttest
