#include "resultwindow.h"

#include "twips.h"
#include "version.h"
#include "windowflags.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace exportutil {

namespace {

// Below this a run counts as a moment and the window waits to be shown.
constexpr qint64 kMomentMs = 300;
// How often a long run repaints its bar.
constexpr qint64 kRepaintMs = 50;

QLabel* label(QWidget* parent, const char* name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& title)
{
    auto* f = new QGroupBox(title, parent);
    f->setObjectName(QLatin1String(name));
    return f;
}

}  // namespace

ResultWindow::ResultWindow(const QString& title, const QString& name, QWidget* owner)
    : QDialog(owner, Qt::Dialog | lexi::kFixedWindowHints)
{
    started_.start();
    lastPaint_.start();
    setObjectName(name);
    setWindowTitle(title);
    setModal(false);

    Frame1 = frame(this, "Frame1", QStringLiteral("Source file"));
    lblSource = label(Frame1, "lblSource");
    Frame2 = frame(this, "Frame2", QStringLiteral("Destination file"));
    lblDestination = label(Frame2, "lblDestination");
    lblSuccess = label(Frame2, "lblSuccess");
    lblFullPath = label(this, "lblFullPath");
    lblFullPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblFullPath->setWordWrap(true);
    for (QLabel* l : {lblSource, lblDestination})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);

    pgProgress = new QProgressBar(this);
    pgProgress->setObjectName(QStringLiteral("pgProgress"));
    pgProgress->setAccessibleName(QStringLiteral("Progress"));
    pgProgress->setRange(0, 1);
    pgProgress->setValue(0);

    lstRefused = new QListWidget(this);
    lstRefused->setObjectName(QStringLiteral("lstRefused"));
    lstRefused->setAccessibleName(QStringLiteral("Words not imported"));
    lblRefused = label(this, "lblRefused", QStringLiteral("&Not imported, already in the dictionary:"));
    lblRefused->setBuddy(lstRefused);
    lstRefused->setMinimumHeight(lexi::twips(1200));
    lblRefused->hide();
    lstRefused->hide();

    fraErrors = frame(this, "fraErrors", QStringLiteral("Errors"));
    txtErrors = new QLineEdit(fraErrors);
    txtErrors->setObjectName(QStringLiteral("txtErrors"));
    txtErrors->setReadOnly(true);
    txtErrors->setAccessibleName(QStringLiteral("Errors"));
    fraErrors->setEnabled(false);
    txtErrors->setEnabled(false);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    lblContact = label(this, "lblContact",
                       QStringLiteral("For help write to %1").arg(QLatin1String(lexi::kSupportEmail)));

    (new QVBoxLayout(Frame1))->addWidget(lblSource);
    auto* destination = new QVBoxLayout(Frame2);
    destination->addWidget(lblDestination);
    destination->addWidget(lblSuccess);
    (new QVBoxLayout(fraErrors))->addWidget(txtErrors);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblContact, 1);
    bottom->addWidget(cmdOK);

    auto* v = new QVBoxLayout(this);
    v->addWidget(Frame1);
    v->addWidget(Frame2);
    v->addWidget(pgProgress);
    v->addWidget(lblRefused);
    v->addWidget(lstRefused);
    v->addWidget(fraErrors);
    v->addLayout(bottom);
    setMinimumWidth(lexi::twips(6600));

    connect(cmdOK, &QPushButton::clicked, this, &ResultWindow::cmdOK_Click);
}

void ResultWindow::placeFullPath(QGroupBox* frame, QLabel* after)
{
    auto* box = static_cast<QVBoxLayout*>(frame->layout());
    lblFullPath->setParent(frame);
    box->insertWidget(box->indexOf(after) + 1, lblFullPath);
}

void ResultWindow::reportProgress(qint64 done, qint64 total)
{
    if (started_.elapsed() < kMomentMs)
        return;
    if (!isVisible())
        showCentred();
    else if (lastPaint_.elapsed() < kRepaintMs)
        return;
    lastPaint_.restart();
    // The bar works in int; totals beyond that are scaled down.
    const int scale = total > 1'000'000 ? 1024 : 1;
    pgProgress->setRange(0, static_cast<int>(std::max<qint64>(total, 1) / scale));
    pgProgress->setValue(static_cast<int>(std::min(done, total) / scale));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ResultWindow::showCentred()
{
    if (isVisible())
        return;
    adjustSize();
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
}

void ResultWindow::progressComplete()
{
    pgProgress->setRange(0, 1);
    pgProgress->setValue(1);
}

void ResultWindow::showError(const QString& text)
{
    fraErrors->setEnabled(true);
    txtErrors->setEnabled(true);
    txtErrors->setText(text);
    txtErrors->setCursorPosition(0);
}

void ResultWindow::cmdOK_Click() { close(); }

}  // namespace exportutil
