#include "frmRecover.h"

#include "kvxmessage.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace wkvx {

frmRecover::frmRecover(const QList<RecoveredDocument>& documents, QWidget* owner)
    : QDialog(owner), documents_(documents)
{
    setObjectName(QStringLiteral("frmRecover"));
    setWindowTitle(QStringLiteral("Recover Documents"));
    setModal(true);

    lblPrompt = new QLabel(QStringLiteral("Kavix Writer did not close normally last time. These documents had "
                                          "changes that were not saved; the &ticked ones open again as changed "
                                          "documents:"),
                           this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setWordWrap(true);
    lstDocuments = new QListWidget(this);
    lstDocuments->setObjectName(QStringLiteral("lstDocuments"));
    lstDocuments->setAccessibleName(QStringLiteral("Recovered documents"));
    lblPrompt->setBuddy(lstDocuments);
    const QLocale locale;
    for (const RecoveredDocument& d : documents_) {
        auto* item = new QListWidgetItem(QStringLiteral("%1  (%2)").arg(
                                             QDir::toNativeSeparators(d.title),
                                             locale.toString(d.written, QLocale::ShortFormat)),
                                         lstDocuments);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    lstDocuments->setCurrentRow(0);

    cmdRecover = new QPushButton(QStringLiteral("&Recover"), this);
    cmdRecover->setObjectName(QStringLiteral("cmdRecover"));
    cmdRecover->setDefault(true);
    cmdDiscard = new QPushButton(QStringLiteral("&Discard"), this);
    cmdDiscard->setObjectName(QStringLiteral("cmdDiscard"));
    cmdLater = new QPushButton(QStringLiteral("&Later"), this);
    cmdLater->setObjectName(QStringLiteral("cmdLater"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRecover);
    buttons->addWidget(cmdDiscard);
    buttons->addWidget(cmdLater);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrompt);
    layout->addWidget(lstDocuments);
    layout->addLayout(buttons);
    resize(520, 320);

    connect(cmdRecover, &QPushButton::clicked, this, &frmRecover::cmdRecover_Click);
    connect(cmdDiscard, &QPushButton::clicked, this, &frmRecover::cmdDiscard_Click);
    connect(cmdLater, &QPushButton::clicked, this, &frmRecover::cmdLater_Click);
    connect(lstDocuments, &QListWidget::itemChanged, this, &frmRecover::lstDocuments_Changed);
    // Esc and the close control keep everything for later.
    connect(this, &QDialog::rejected, this, [this] { choice_ = Choice::Later; });
}

frmRecover::~frmRecover() = default;

frmRecover::Choice frmRecover::ask()
{
    exec();
    return choice_;
}

QList<RecoveredDocument> frmRecover::chosen() const
{
    QList<RecoveredDocument> out;
    for (int i = 0; i < lstDocuments->count() && i < documents_.size(); ++i) {
        if (lstDocuments->item(i)->checkState() == Qt::Checked)
            out << documents_[i];
    }
    return out;
}

void frmRecover::lstDocuments_Changed()
{
    const bool any = !chosen().isEmpty();
    cmdRecover->setEnabled(any);
    cmdDiscard->setEnabled(any);
}

void frmRecover::cmdRecover_Click()
{
    choice_ = Choice::Recover;
    accept();
}

void frmRecover::cmdDiscard_Click()
{
    const qsizetype n = chosen().size();
    const QString text = n == 1 ? QStringLiteral("Discard the ticked document? Its unsaved changes will be lost.")
                                : QStringLiteral("Discard the %1 ticked documents? Their unsaved changes will be lost.")
                                      .arg(n);
    if (lexi::msgBox(this, text, lexi::MsgButtons::YesNo, lexi::MsgIcon::Question, lexi::wkvxInfo().title)
        != lexi::MsgAnswer::Yes)
        return;
    choice_ = Choice::Discard;
    accept();
}

void frmRecover::cmdLater_Click()
{
    choice_ = Choice::Later;
    reject();
}

}  // namespace wkvx
