// Hearing the word: speech made in memory, and the card's button, which
// reports a missing sound device instead of waiting on it.

#include "lookupfixture.h"

#include "frmResult.h"
#include "speech.h"

#include <QSignalSpy>

#include <cmath>

using namespace lookuptest;
using kavix::frmResult;
using kavix::frmSearch;

namespace {

double rms(const kavix::Speech& s)
{
    double sum = 0;
    for (std::int16_t v : s.samples)
        sum += static_cast<double>(v) * v;
    return s.samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(s.samples.size()));
}

TEST(Speech, AWordIsSoundInMemoryAsLongAsTheWord)
{
    kavix::Speech cat;
    QString why;
    ASSERT_TRUE(kavix::synthesize(QStringLiteral("cat"), cat, &why)) << why.toStdString();
    EXPECT_GE(cat.sampleRate, 8000);
    const double seconds = static_cast<double>(cat.samples.size()) / cat.sampleRate;
    EXPECT_GT(seconds, 0.15);
    EXPECT_LT(seconds, 2.0);
    EXPECT_GT(rms(cat), 300.0) << "not silence";

    kavix::Speech longer;
    ASSERT_TRUE(kavix::synthesize(QStringLiteral("internationalization"), longer));
    EXPECT_GT(longer.samples.size(), 2 * cat.samples.size());

    kavix::Speech nothing;
    ASSERT_TRUE(kavix::synthesize(QStringLiteral("  "), nothing));
    EXPECT_TRUE(nothing.samples.empty());

    const QByteArray wav = kavix::wavBytes(cat);
    EXPECT_EQ(wav.size(), 44 + 2 * static_cast<qsizetype>(cat.samples.size()));
    EXPECT_TRUE(wav.startsWith("RIFF"));
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
}

class SpeakButtonTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        savedPlayers = kavix::SpeechPlayer::players();
        writeDictionary({entry("happy", "glad", {{Field::Pronu, "HAP-ee"}})});
    }
    void TearDown() override
    {
        kavix::SpeechPlayer::players() = savedPlayers;
        LookupTest::TearDown();
    }
    QStringList savedPlayers;
};

TEST_F(SpeakButtonTest, TheButtonStandsBesideThePronunciationAndIsNamed)
{
    frmSearch* d = newDialog();
    frmResult* plain = lookUp<frmResult>(d, true, "happy");
    EXPECT_FALSE(plain->cmdSpeak->isVisibleTo(plain)) << "shown with the pronunciation";
    d->show();
    frmResult* c = lookUp<frmResult>(d, true, "happy", {&frmSearch::chkPro});
    EXPECT_TRUE(c->cmdSpeak->isVisibleTo(c));
    EXPECT_TRUE(c->cmdSpeak->isEnabled());
    EXPECT_EQ(c->cmdSpeak->accessibleName(), "Hear the word");
    const QRect pro = c->txtPro->geometry();
    const QRect button = c->cmdSpeak->geometry();
    EXPECT_FALSE(button.intersects(pro));
    EXPECT_LT(std::abs(button.center().y() - pro.center().y()), 3) << "on the pronunciation's line";
    QTest::mouseClick(c->cmdView, Qt::LeftButton);
    EXPECT_LE(button.right(), c->width()) << "inside the wide card";

    d->show();
    frmResult* missing = lookUp<frmResult>(d, true, "nosuch", {&frmSearch::chkPro});
    EXPECT_FALSE(missing->cmdSpeak->isEnabled()) << "no word, nothing to hear";
}

TEST_F(SpeakButtonTest, NoSoundDeviceOrPlayerIsSaidAndNothingWaits)
{
    frmSearch* d = newDialog();
    frmResult* c = lookUp<frmResult>(d, true, "happy", {&frmSearch::chkPro});
    messages.clear();

    // No player at all.
    kavix::SpeechPlayer::players() = {QStringLiteral("no-such-player-here")};
    QSignalSpy spoken(c, &frmResult::spoken);
    QTest::mouseClick(c->cmdSpeak, Qt::LeftButton);
    ASSERT_TRUE(spoken.count() == 1 || spoken.wait(5000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("no sound player")) << messages[0].toStdString();
    EXPECT_TRUE(c->cmdSpeak->isEnabled());

    // A player that fails as one does with no sound card.
    const fs::path fake = dictstore::lexivaneRoot().parent_path() / "failing-player";
    {
        std::ofstream(fake) << "#!/bin/sh\necho 'cannot find card 0' >&2\nexit 1\n";
    }
    fs::permissions(fake, fs::perms::owner_all);
    kavix::SpeechPlayer::players() = {QString::fromStdString(fake.string())};
    messages.clear();
    QTest::mouseClick(c->cmdSpeak, Qt::LeftButton);
    EXPECT_FALSE(c->cmdSpeak->isEnabled()) << "one word at a time";
    EXPECT_TRUE(messages.empty()) << "the window does not wait for the player";
    ASSERT_TRUE(spoken.wait(10000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("no sound device")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("cannot find card")) << messages[0].toStdString();

    // The machine's own player, whatever sound it has: an answer comes.
    kavix::SpeechPlayer::players() = savedPlayers;
    spoken.clear();
    QTest::mouseClick(c->cmdSpeak, Qt::LeftButton);
    EXPECT_TRUE(spoken.count() == 1 || spoken.wait(kavix::SpeechPlayer::kPlayLimitMs + 3000));
}

}  // namespace
