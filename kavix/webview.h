#pragma once

#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace kavix {

// The help browser's page area: local pages show at once, web pages are
// fetched in the background so the window stays usable and "busy" means a
// request is really running. Failures leave the page as it was; nothing is
// reported, the caller only sees busy() fall and downloadComplete().
class WebView : public QTextBrowser {
    Q_OBJECT
public:
    explicit WebView(QWidget* parent = nullptr);
    ~WebView() override;

    void navigate(const QString& address);  // as typed: a path, a file: or web address, or a bare host
    void navigate(const QUrl& url);
    void goBack();
    void goForward();
    void refresh();
    void goHome();
    void goSearch();
    void stop();

    bool busy() const;
    // The page's title, or its address when it has none.
    QString locationName() const;

    void setHomePage(const QUrl& url) { home_ = url; }
    void setSearchPage(const QUrl& url) { search_ = url; }
    QUrl homePage() const { return home_; }

    // A page larger than this is not shown.
    static constexpr qint64 kMaxPageBytes = 8 * 1024 * 1024;

signals:
    void downloadComplete();

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    static bool isWeb(const QUrl& url);
    static QUrl pageKey(const QUrl& url) { return url.adjusted(QUrl::RemoveFragment); }
    void fetch(const QUrl& url, bool reloading);
    void fetched(QNetworkReply* reply, bool reloading);
    void failed(const QUrl& url);
    void abortFetch();

    QNetworkAccessManager* net_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QHash<QUrl, QByteArray> pages_;  // web pages already fetched, for back and forward
    QUrl attempted_;                 // named by the caption while no page has shown yet
    QUrl home_;
    QUrl search_;
};

}  // namespace kavix
