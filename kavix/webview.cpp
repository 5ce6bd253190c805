#include "webview.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace kavix {

namespace {

// A hung server must not keep the window busy for ever.
constexpr int kTransferTimeoutMs = 30000;

QString display(const QUrl& url) { return url.toDisplayString(QUrl::PreferLocalFile); }

bool showableType(const QString& contentType)
{
    const QString type = contentType.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
    return type.isEmpty() || type.startsWith(QLatin1String("text/")) ||
           type == QLatin1String("application/xhtml+xml");
}

}  // namespace

WebView::WebView(QWidget* parent) : QTextBrowser(parent), net_(new QNetworkAccessManager(this))
{
    net_->setTransferTimeout(kTransferTimeoutMs);
    // Links go through navigate() so web pages load in the background.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, qOverload<const QUrl&>(&WebView::navigate));
}

WebView::~WebView() { abortFetch(); }

bool WebView::isWeb(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

void WebView::navigate(const QString& address)
{
    const QString text = address.trimmed();
    if (text.isEmpty())
        return;
    navigate(QUrl::fromUserInput(text, QString(), QUrl::AssumeLocalFile));
}

void WebView::navigate(const QUrl& url)
{
    if (!url.isValid() || url.isEmpty())
        return;
    abortFetch();
    if (isWeb(url)) {
        // A jump within the page already shown needs no new request.
        if (!source().isEmpty() && pageKey(url) == pageKey(source()) && url.hasFragment() &&
            pages_.contains(pageKey(url))) {
            setSource(url);
            emit downloadComplete();
            return;
        }
        fetch(url, false);
        return;
    }
    if (url.scheme() == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
        emit downloadComplete();
        return;
    }
    if (!url.isLocalFile()) {
        failed(url);
        return;
    }
    if (!QFileInfo(url.toLocalFile()).isFile()) {
        failed(url);
        return;
    }
    setSource(url);
    emit downloadComplete();
}

void WebView::goBack()
{
    abortFetch();
    if (isBackwardAvailable())
        backward();
}

void WebView::goForward()
{
    abortFetch();
    if (isForwardAvailable())
        forward();
}

void WebView::refresh()
{
    abortFetch();
    const QUrl current = source();
    if (current.isEmpty())
        return;
    if (isWeb(current)) {
        fetch(current, true);
    } else if (QFileInfo(current.toLocalFile()).isFile()) {
        reload();
        emit downloadComplete();
    }
}

void WebView::goHome() { navigate(home_); }
void WebView::goSearch() { navigate(search_); }

void WebView::stop() { abortFetch(); }

bool WebView::busy() const { return reply_ != nullptr; }

QString WebView::locationName() const
{
    if (source().isEmpty())
        return attempted_.isEmpty() ? QString() : display(attempted_);
    const QString title = documentTitle().simplified();
    return title.isEmpty() ? display(source()) : title;
}

QVariant WebView::loadResource(int type, const QUrl& name)
{
    if (isWeb(name)) {
        // Only pages come from the cache; pictures on web pages are not fetched.
        if (type != QTextDocument::HtmlResource)
            return {};
        const auto it = pages_.constFind(pageKey(name));
        return it == pages_.constEnd() ? QVariant() : QVariant(*it);
    }
    return QTextBrowser::loadResource(type, name);
}

void WebView::fetch(const QUrl& url, bool reloading)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Lexivane-Help/1.0"));
    if (reloading)
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = net_->get(request);
    reply_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64) {
        if (received > kMaxPageBytes && reply == reply_)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, reloading] { fetched(reply, reloading); });
}

void WebView::fetched(QNetworkReply* reply, bool reloading)
{
    reply->deleteLater();
    if (reply != reply_)
        return;  // stopped or replaced by a newer navigation
    reply_ = nullptr;

    const QUrl requested = reply->request().url();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QByteArray body = reply->readAll();
    // A server's own error page is still a page; no answer at all is not.
    const bool answered = status.isValid() && !body.isEmpty() && body.size() <= kMaxPageBytes;
    if (!answered || !showableType(reply->header(QNetworkRequest::ContentTypeHeader).toString())) {
        failed(requested);
        return;
    }
    QUrl shown = reply->url();  // after redirects, so relative links resolve
    if (requested.hasFragment() && !shown.hasFragment())
        shown.setFragment(requested.fragment());
    pages_.insert(pageKey(shown), body);
    if (reloading && pageKey(shown) == pageKey(source()))
        reload();
    else
        setSource(shown);
    emit downloadComplete();
}

void WebView::failed(const QUrl& url)
{
    if (source().isEmpty())
        attempted_ = url;
    emit downloadComplete();
}

void WebView::abortFetch()
{
    if (!reply_)
        return;
    QNetworkReply* reply = reply_;
    reply_ = nullptr;  // finished() from abort() is then ignored
    reply->abort();
}

}  // namespace kavix
