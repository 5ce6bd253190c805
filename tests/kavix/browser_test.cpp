#include "a11ycheck.h"
#include "guitest.h"

#include "frmBrowser.h"
#include "frmMain.h"
#include "twips.h"
#include "webview.h"

#include "dictstore/paths.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <fstream>

using namespace kavix;
namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

QString str(const fs::path& p) { return QString::fromStdString(p.string()); }

// Two linked help pages in the help folder of the test's home.
struct HelpPages {
    HelpPages()
    {
        fs::remove_all(dictstore::helpFolderPath());
        index = dictstore::helpIndexPath();
        second = dictstore::helpFolderPath() / "second.htm";
        untitled = dictstore::helpFolderPath() / "untitled.htm";
        writeFile(index, "<html><head><title>Help index</title></head><body><a href=\"second.htm\">next</a></body></html>");
        writeFile(second, "<html><head><title>Second page</title></head><body><p>two</p></body></html>");
        writeFile(untitled, "<html><body><p>no title here</p></body></html>");
    }
    fs::path index, second, untitled;
};

// An HTTP server on 127.0.0.1 that holds every request until told to answer.
class HeldServer {
public:
    HeldServer()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server.nextPendingConnection())
                waiting.push_back(s);
        });
    }
    QString url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server.serverPort()).arg(path);
    }
    bool hasRequest() const { return !waiting.isEmpty(); }
    void answer(const QByteArray& html)
    {
        for (QTcpSocket* s : std::as_const(waiting)) {
            if (s->state() != QAbstractSocket::ConnectedState)
                continue;
            s->write("HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                     QByteArray::number(html.size()) + "\r\nConnection: close\r\n\r\n" + html);
            s->disconnectFromHost();
        }
        waiting.clear();
    }
    QTcpServer server;
    QList<QPointer<QTcpSocket>> waiting;
};

// The window's title once it reads as expected, or as it stands after the wait.
QString titleOnceItIs(const QWidget& w, const QString& expected)
{
    return guitest::eventuallyEquals([&] { return w.windowTitle(); }, expected);
}

// A port on 127.0.0.1 where nothing listens.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void openOn(frmBrowser& b, const QString& address)
{
    b.StartingAddress = address;
    b.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
}

void click(frmBrowser& b, const char* key)
{
    QAction* a = b.button(QLatin1String(key));
    ASSERT_NE(a, nullptr) << key;
    a->trigger();
}

}  // namespace

TEST(BrowserTest, ToolbarAddressBoxAndScreenReaderNames)
{
    HelpPages pages;
    frmBrowser b;
    EXPECT_TRUE(b.windowTitle().isEmpty());
    EXPECT_FALSE(b.timTimer->isActive());
    EXPECT_EQ(b.timTimer->interval(), 5);
    QStringList keys;
    for (QAction* a : b.tbToolBar->actions()) {
        keys << a->data().toString();
        EXPECT_EQ(a->text(), a->data().toString());
        EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
    }
    EXPECT_EQ(keys, (QStringList{"Back", "Forward", "Stop", "Refresh", "Home", "Search"}));
    EXPECT_EQ(b.lblAddress->text(), QStringLiteral("&Address:"));
    EXPECT_EQ(b.lblAddress->buddy(), b.cboAddress);
    EXPECT_TRUE(b.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(b.windowFlags() & Qt::WindowMinimizeButtonHint);

    openOn(b, str(pages.index));
    EXPECT_TRUE(lexitest::accessibilityProblems(&b).isEmpty())
        << lexitest::accessibilityProblems(&b).join(QLatin1Char('\n')).toStdString();
    // The buttons are read out by their words.
    QStringList named;
    for (QToolButton* t : b.tbToolBar->findChildren<QToolButton*>()) {
        if (!t->isVisible() || !t->defaultAction())
            continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(t);
        ASSERT_NE(iface, nullptr);
        named << iface->text(QAccessible::Name);
    }
    EXPECT_EQ(named, (QStringList{"Back", "Forward", "Stop", "Refresh", "Home", "Search"}));
}

TEST(BrowserTest, LocalPagesShowAtOnceWithTitleOrAddress)
{
    guitest::MessageRecorder rec;
    HelpPages pages;
    frmBrowser b;
    openOn(b, str(pages.index));
    EXPECT_EQ(b.windowTitle(), QStringLiteral("Help index"));
    EXPECT_TRUE(guitest::eventually([&] { return !b.timTimer->isActive(); }));
    EXPECT_EQ(b.windowTitle(), QStringLiteral("Help index"));
    EXPECT_EQ(b.cboAddress->currentText(), str(pages.index));

    // A link followed in the page, then a page without a title.
    emit b.brwWebBrowser->anchorClicked(QUrl::fromLocalFile(str(pages.second)));
    EXPECT_EQ(b.windowTitle(), QStringLiteral("Second page"));
    b.cboAddress->setEditText(str(pages.untitled));
    QTest::keyClick(b.cboAddress, Qt::Key_Return);
    EXPECT_EQ(b.windowTitle(), str(pages.untitled));
    EXPECT_TRUE(guitest::eventually([&] { return !b.timTimer->isActive(); }));

    click(b, "Back");
    EXPECT_EQ(titleOnceItIs(b, QStringLiteral("Second page")), QStringLiteral("Second page"));
    click(b, "Home");
    EXPECT_EQ(titleOnceItIs(b, QStringLiteral("Help index")), QStringLiteral("Help index"));
    click(b, "Back");
    click(b, "Forward");
    EXPECT_EQ(titleOnceItIs(b, QStringLiteral("Help index")), QStringLiteral("Help index"));
    EXPECT_TRUE(rec.messages.empty());
}

TEST(BrowserTest, BackWithNoHistoryChangesNothing)
{
    guitest::MessageRecorder rec;
    HelpPages pages;
    frmBrowser b;
    openOn(b, str(pages.second));
    EXPECT_TRUE(guitest::eventually([&] { return !b.timTimer->isActive(); }));
    const QUrl before = b.brwWebBrowser->source();
    const QString text = b.brwWebBrowser->toPlainText();
    click(b, "Back");
    EXPECT_TRUE(guitest::eventually([&] { return !b.timTimer->isActive(); }));
    EXPECT_EQ(b.brwWebBrowser->source(), before);
    EXPECT_EQ(b.brwWebBrowser->toPlainText(), text);
    EXPECT_EQ(b.windowTitle(), QStringLiteral("Second page"));
    click(b, "Forward");
    QCoreApplication::processEvents();
    EXPECT_EQ(b.brwWebBrowser->source(), before);
    EXPECT_TRUE(rec.messages.empty());
}

TEST(BrowserTest, AddressListHoldsOnlyTheStartAddress)
{
    HelpPages pages;
    frmBrowser b;
    openOn(b, str(pages.index));
    b.cboAddress->lineEdit()->selectAll();
    QTest::keyClicks(b.cboAddress->lineEdit(), str(pages.second));
    QTest::keyClick(b.cboAddress, Qt::Key_Return);
    EXPECT_EQ(b.brwWebBrowser->source(), QUrl::fromLocalFile(str(pages.second)));
    EXPECT_EQ(b.windowTitle(), QStringLiteral("Second page"));
    ASSERT_EQ(b.cboAddress->count(), 1);
    EXPECT_EQ(b.cboAddress->itemText(0), str(pages.index));

    // Choosing the entry goes back to the start page.
    b.cboAddress->setCurrentIndex(0);
    emit b.cboAddress->activated(0);
    EXPECT_EQ(b.brwWebBrowser->source(), QUrl::fromLocalFile(str(pages.index)));
    EXPECT_EQ(b.windowTitle(), QStringLiteral("Help index"));
    EXPECT_EQ(b.cboAddress->count(), 1);
}

TEST(BrowserTest, PageAreaKeepsItsMarginsAtEverySize)
{
    HelpPages pages;
    frmBrowser b;
    openOn(b, str(pages.index));
    QWidget* content = b.centralWidget();
    QList<int> widths;
    for (const QSize size : {QSize(600, 420), QSize(800, 500)}) {
        b.resize(size);
        EXPECT_EQ(guitest::eventuallyEquals([&] { return content->size(); }, size), size);
        const int w = lexi::toTwips(content->width());
        const int h = lexi::toTwips(content->height());
        const QRect page = b.brwWebBrowser->geometry();
        EXPECT_EQ(page.x(), lexi::twips(50));
        EXPECT_EQ(page.width(), lexi::twips(w - 100));
        EXPECT_EQ(b.cboAddress->width(), lexi::twips(w - 100));
        EXPECT_EQ(page.y(), b.picAddress->geometry().bottom() + 1);
        // Ends 100 twips above the bottom edge, within a pixel's rounding.
        EXPECT_NEAR(h - lexi::toTwips(page.bottom() + 1), 100, lexi::kTwipsPerPixel);
        EXPECT_EQ(b.picAddress->width(), content->width());
        widths << page.width();
    }
    // 200 pixels wider is 3,000 twips wider, for the page and the box alike.
    EXPECT_EQ(widths[1] - widths[0], 200);

    // Smaller than the margins: nothing negative, nothing breaks.
    b.resize(20, 20);
    QCoreApplication::processEvents();
    EXPECT_GE(b.brwWebBrowser->width(), 0);
    EXPECT_GE(b.brwWebBrowser->height(), 0);
    EXPECT_GE(b.cboAddress->width(), 0);
}

TEST(BrowserTest, WebPageShowsWorkingWhileItLoadsThenItsTitle)
{
    guitest::MessageRecorder rec;
    HeldServer server;
    ASSERT_TRUE(server.server.isListening());
    frmBrowser b;
    openOn(b, server.url(QStringLiteral("page.htm")));
    ASSERT_TRUE(guitest::eventually([&] { return server.hasRequest(); }));
    EXPECT_EQ(titleOnceItIs(b, QStringLiteral("Working...")), QStringLiteral("Working..."));
    EXPECT_TRUE(b.brwWebBrowser->busy());
    // The window goes on working while the page is on its way.
    QTest::keyClicks(b.cboAddress->lineEdit(), QStringLiteral("x"));
    EXPECT_TRUE(b.cboAddress->currentText().endsWith(QLatin1Char('x')));

    server.answer("<html><head><title>Served page</title></head><body><a href=\"other.htm\">o</a></body></html>");
    EXPECT_EQ(titleOnceItIs(b, QStringLiteral("Served page")), QStringLiteral("Served page"));
    EXPECT_FALSE(b.brwWebBrowser->busy());
    EXPECT_TRUE(guitest::eventually([&] { return !b.timTimer->isActive(); }));
    EXPECT_TRUE(b.brwWebBrowser->toPlainText().contains(QLatin1Char('o')));

    // A relative link on a web page is fetched from the same server; Back
    // returns to the first page without asking the server again.
    emit b.brwWebBrowser->anchorClicked(QUrl(server.url(QStringLiteral("other.htm"))));
    ASSERT_TRUE(guitest::eventually([&] { return server.hasRequest(); }));
    server.answer("<html><head><title>Other page</title></head><body>other</body></html>");
    EXPECT_EQ(titleOnceItIs(b, QStringLiteral("Other page")), QStringLiteral("Other page"));
    click(b, "Back");
    EXPECT_EQ(titleOnceItIs(b, QStringLiteral("Served page")), QStringLiteral("Served page"));
    EXPECT_FALSE(server.hasRequest());
    EXPECT_TRUE(rec.messages.empty());
}

TEST(BrowserTest, StopEndsTheLoadAndALateAnswerIsIgnored)
{
    HelpPages pages;
    HeldServer server;
    frmBrowser b;
    openOn(b, str(pages.index));
    b.cboAddress->setEditText(server.url(QStringLiteral("slow.htm")));
    QTest::keyClick(b.cboAddress, Qt::Key_Return);
    EXPECT_EQ(titleOnceItIs(b, QStringLiteral("Working...")), QStringLiteral("Working..."));
    ASSERT_TRUE(guitest::eventually([&] { return server.hasRequest(); }));
    auto* net = b.brwWebBrowser->findChild<QNetworkAccessManager*>();
    ASSERT_NE(net, nullptr);
    QSignalSpy finished(net, &QNetworkAccessManager::finished);
    click(b, "Stop");
    EXPECT_FALSE(b.timTimer->isActive());
    EXPECT_FALSE(b.brwWebBrowser->busy());
    EXPECT_EQ(b.windowTitle(), QStringLiteral("Help index"));
    server.answer("<html><head><title>Too late</title></head></html>");
    // The request ends once, aborted by Stop or by the answer arriving;
    // either way nothing more can come of it.
    EXPECT_EQ(guitest::eventuallyEquals([&] { return finished.count(); }, 1), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(b.windowTitle(), QStringLiteral("Help index"));
    EXPECT_EQ(b.brwWebBrowser->source(), QUrl::fromLocalFile(str(pages.index)));
}

TEST(BrowserTest, UnreachableAddressLeavesTheWindowResponsiveAndSilent)
{
    guitest::MessageRecorder rec;
    HelpPages pages;
    const QString dead = QStringLiteral("http://127.0.0.1:%1/index.htm").arg(closedPort());

    // As the first page: the caption names the address, the page stays empty.
    {
        frmBrowser b;
        openOn(b, dead);
        EXPECT_TRUE(guitest::eventually([&] { return !b.timTimer->isActive(); }));
        EXPECT_FALSE(b.brwWebBrowser->busy());
        EXPECT_EQ(b.windowTitle(), dead);
        EXPECT_TRUE(b.brwWebBrowser->toPlainText().isEmpty());
        // Still usable: the next address loads.
        b.cboAddress->setEditText(str(pages.second));
        QTest::keyClick(b.cboAddress, Qt::Key_Return);
        EXPECT_EQ(b.windowTitle(), QStringLiteral("Second page"));
    }
    // After a page: the page and its caption stay; so for a missing file.
    {
        frmBrowser b;
        openOn(b, str(pages.index));
        for (const QString& address : {dead, str(dictstore::helpFolderPath() / "missing.htm")}) {
            b.cboAddress->setEditText(address);
            QTest::keyClick(b.cboAddress, Qt::Key_Return);
            EXPECT_TRUE(guitest::eventually([&] { return !b.timTimer->isActive(); }));
            EXPECT_EQ(b.windowTitle(), QStringLiteral("Help index"));
            EXPECT_EQ(b.brwWebBrowser->source(), QUrl::fromLocalFile(str(pages.index)));
        }
    }
    EXPECT_TRUE(rec.messages.empty());
}

TEST(BrowserTest, ContentsOpensTheIndexOnceAndOnlyRaisesItAfterwards)
{
    HelpPages pages;
    frmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(w.mnuHelpContents->isEnabled());
    EXPECT_TRUE(w.mnuHelpSearch->isEnabled());
    QTest::keyClick(&w, Qt::Key_F2);
    QPointer<frmBrowser> b = w.helpBrowser();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->parentWidget(), nullptr);
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(b->brwWebBrowser->source(), QUrl::fromLocalFile(str(pages.index)));
    EXPECT_EQ(titleOnceItIs(*b, QStringLiteral("Help index")), QStringLiteral("Help index"));

    emit b->brwWebBrowser->anchorClicked(QUrl::fromLocalFile(str(pages.second)));
    b->showMinimized();
    w.mnuHelpContents->trigger();
    EXPECT_EQ(w.helpBrowser(), b.data());
    EXPECT_FALSE(b->isMinimized());
    EXPECT_EQ(b->brwWebBrowser->source(), QUrl::fromLocalFile(str(pages.second)));
    w.mnuHelpSearch->trigger();
    EXPECT_EQ(w.helpBrowser(), b.data());
    EXPECT_EQ(b->brwWebBrowser->source(), QUrl::fromLocalFile(str(pages.second)));
    EXPECT_EQ(b->cboAddress->count(), 1);

    EXPECT_EQ(b->brwWebBrowser->homePage(), QUrl::fromLocalFile(str(pages.index)));

    // Closing it ends it; F2 then opens a new one on the index.
    b->close();
    EXPECT_TRUE(guitest::eventually([&] { return !b; }));
    EXPECT_FALSE(w.helpBrowser());
    w.mnuHelpContents->trigger();
    ASSERT_TRUE(w.helpBrowser());
    EXPECT_EQ(w.helpBrowser()->windowTitle(), QStringLiteral("Help index"));
    delete w.helpBrowser();
}
