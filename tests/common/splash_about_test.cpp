#include "guitest.h"

#include "frmAbout.h"
#include "frmSplash.h"
#include "registry.h"
#include "version.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lexi;

namespace {

class NoRegistry : public RegistryApi {
public:
    long openKey(std::uint32_t, const QString&, std::uint32_t, std::uintptr_t&) override { return 2; }
    long queryValue(std::uintptr_t, const QString&, std::uint32_t&, QByteArray&, std::uint32_t&) override { return 2; }
    long closeKey(std::uintptr_t) override { return 0; }
};

class RecordingLauncher : public ProgramLauncher {
public:
    QStringList started;
    bool start(const QString& p) override
    {
        started << p;
        return true;
    }
};

}  // namespace

TEST(SplashTest, KavixTextsComeFromItsVersionData)
{
    frmSplash splash(SplashKind::Kavix);
    EXPECT_EQ(splash.lblVersion->text(), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(splash.lblProductName->text(), QStringLiteral("Lexivane"));
    EXPECT_EQ(splash.lblCopyright->text(), kavixInfo().legalCopyright);
    EXPECT_EQ(splash.lblCompany->text(), kavixInfo().companyName);
    EXPECT_EQ(splash.lblCompanyProduct->text(), kavixInfo().companyName);
    EXPECT_EQ(splash.lblPlatform->text(), QStringLiteral(" For Windows98 or above"));
    EXPECT_EQ(splash.Timer1->interval(), 3500);
    EXPECT_EQ(splash.Command1, nullptr);
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST(SplashTest, KavixClosesOnceOnKeyClickOrTimer)
{
    {
        frmSplash splash(SplashKind::Kavix);
        QSignalSpy closed(&splash, &frmSplash::closed);
        splash.show();
        EXPECT_TRUE(splash.Timer1->isActive());
        QTest::keyClick(&splash, Qt::Key_A);
        EXPECT_FALSE(splash.isVisible());
        EXPECT_FALSE(splash.Timer1->isActive());
        EXPECT_EQ(closed.count(), 1);
    }
    {
        frmSplash splash(SplashKind::Kavix);
        QSignalSpy closed(&splash, &frmSplash::closed);
        splash.show();
        // A click on a label inside the frame counts as a click on the frame.
        QTest::mouseClick(splash.lblProductName, Qt::LeftButton);
        EXPECT_FALSE(splash.isVisible());
        EXPECT_EQ(closed.count(), 1);
    }
    {
        frmSplash splash(SplashKind::Kavix);
        QSignalSpy closed(&splash, &frmSplash::closed);
        splash.Timer1->setInterval(20);
        splash.show();
        EXPECT_TRUE(closed.wait(2000));
        EXPECT_FALSE(splash.isVisible());
        // Stopped, so it cannot close the splash a second time.
        EXPECT_FALSE(splash.Timer1->isActive());
        EXPECT_EQ(closed.count(), 1);
    }
}

TEST(SplashTest, WriterWaitsAndClosesOnEnterEscOrClick)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_X}) {
        frmSplash splash(SplashKind::Writer);
        EXPECT_EQ(splash.Timer1, nullptr);
        EXPECT_EQ(splash.Label1->text(), writerSplashDescription());
        EXPECT_EQ(splash.lblProductName->text(), QStringLiteral("Kavix Writer"));
        EXPECT_EQ(splash.Command1->text(), QStringLiteral("&Enter"));
        QSignalSpy closed(&splash, &frmSplash::closed);
        splash.show();
        splash.Command1->setFocus();
        QTest::qWait(10);
        EXPECT_TRUE(splash.isVisible());
        QTest::keyClick(splash.Command1, key);
        EXPECT_EQ(closed.count(), 1) << "key " << key;
    }
    frmSplash splash(SplashKind::Writer);
    QSignalSpy closed(&splash, &frmSplash::closed);
    splash.show();
    QTest::mouseClick(splash.Frame1, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(closed.count(), 1);
}

TEST(AboutTest, KavixBox)
{
    frmAbout about(AboutKind::Kavix);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Lexivane"));
    EXPECT_EQ(about.lblTitle->text(), QStringLiteral("Lexivane"));
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(about.lblDescription->text(), kavixInfo().fileDescription + QStringLiteral("     ") +
                                                kavixInfo().legalCopyright);
    EXPECT_TRUE(about.lblDescription->text().contains(QLatin1String("lexivane.example.org")));
    EXPECT_TRUE(about.Label1->text().contains(QLatin1String(kSupportEmail)));
    EXPECT_EQ(about.Picture1->objectName(), QStringLiteral("Picture1"));
    EXPECT_TRUE(about.cmdOK->isDefault());
}

TEST(AboutTest, WriterBoxTakesTheSplashText)
{
    frmAbout about(AboutKind::Writer);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Kavix Writer"));
    EXPECT_EQ(about.lblDescription->text(),
              QStringLiteral("Kavix Word Processing Helper ") + writerSplashDescription());
    EXPECT_EQ(about.lblDisclaimer->text(), wkvxInfo().legalCopyright);
    EXPECT_EQ(about.Label1, nullptr);
    EXPECT_EQ(about.Picture1->objectName(), QStringLiteral("picIcon"));
}

TEST(AboutTest, OkAndEscClose)
{
    for (bool useEsc : {false, true}) {
        frmAbout about(AboutKind::Kavix);
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        if (useEsc)
            QTest::keyClick(&about, Qt::Key_Escape);
        else
            QTest::mouseClick(about.cmdOK, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
    }
}

TEST(AboutTest, SystemInfoReportsWhenNoViewerIsFound)
{
    guitest::MessageRecorder rec;
    NoRegistry registry;
    RecordingLauncher launcher;
    frmAbout about(AboutKind::Writer);
    about.setSystemInfo(&registry, &launcher);
    about.show();
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Lexivane"));  // the running program's title
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::None);
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_TRUE(about.isVisible());
}
