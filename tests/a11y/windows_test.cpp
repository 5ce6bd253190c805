#include "windows.h"

#include "a11ycheck.h"
#include "dialogs.h"
#include "guitest.h"

#include <QTest>

#include <gtest/gtest.h>

namespace a11ytest {

namespace {

std::vector<WindowCase>& registry()
{
    static std::vector<WindowCase> cases;
    return cases;
}

}  // namespace

bool addWindows(std::vector<WindowCase> cases)
{
    for (auto& c : cases)
        registry().push_back(std::move(c));
    return true;
}

const std::vector<WindowCase>& allWindows() { return registry(); }

namespace {

// Every file, font and input dialog is cancelled, so that closing a window
// that asks to save never waits for a person.
class CancelledDialogs : public lexi::DialogProvider {
public:
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QFont> font(QWidget*, const QFont&) override { return std::nullopt; }
    QString inputText(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
};

class EveryWindowTest : public ::testing::TestWithParam<WindowCase> {
protected:
    void SetUp() override
    {
        lexi::setDialogProvider(&dialogs);
        guitest::freshRoot();
        dictstore::WordRecord happy = guitest::record("happy", "feeling or showing pleasure");
        dictstore::assignField(happy, dictstore::Field::Synonym1, "glad");
        dictstore::assignField(happy, dictstore::Field::Antonym1, "sad");
        guitest::writeDictionary({happy, guitest::record("hat", "a covering for the head"),
                                  guitest::record("sad", "feeling sorrow")});
    }

    void TearDown() override { lexi::setDialogProvider(nullptr); }

    guitest::MessageRecorder rec;
    CancelledDialogs dialogs;
};

TEST_P(EveryWindowTest, ReachesAScreenReaderAsANamedWindowWithNamedControls)
{
    const std::unique_ptr<QWidget> window = GetParam().open();
    ASSERT_TRUE(window);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QStringList problems = lexitest::accessibilityProblems(window.get());
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    window->close();
}

INSTANTIATE_TEST_SUITE_P(Programs, EveryWindowTest, ::testing::ValuesIn(allWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return info.param.program + "_" + info.param.window;
                         });

}  // namespace

}  // namespace a11ytest
