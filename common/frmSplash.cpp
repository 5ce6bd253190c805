#include "frmSplash.h"

#include "logo.h"
#include "twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace lexi {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QFont& font, Qt::Alignment align = Qt::AlignLeft)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(font);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

QFont fontOf(const char* family, qreal points, bool bold = false)
{
    QFont f{QLatin1String(family)};
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

}  // namespace

QString writerSplashDescription()
{
    return QStringLiteral(
        "This is helper application for kavix. A limited feature word processing software. Its main aim is to "
        "utilize the full power of LEXIVANE dictionary. It can be quite helpful for writing essays, legal "
        "pleadings, ornamentals etc.");
}

frmSplash::frmSplash(SplashKind kind, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      kind_(kind),
      info_(kind == SplashKind::Kavix ? kavixInfo() : wkvxInfo())
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(info_.title);
    setWindowIcon(appIcon());
    if (kind_ == SplashKind::Kavix) {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
    }

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Raised);
    Frame1->setLineWidth(1);
    Frame1->setMidLineWidth(1);
    outer->addWidget(Frame1);

    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(logoPixmap(128));
    imgLogo->setAlignment(Qt::AlignCenter);
    imgLogo->setAccessibleName(tr("Lexivane logo"));

    lblProductName = makeLabel(Frame1, "lblProductName", fontOf("Times New Roman", 32, true));
    lblVersion = makeLabel(Frame1, "lblVersion", fontOf("Arial", 12, true), Qt::AlignRight);

    if (kind_ == SplashKind::Kavix)
        buildKavix();
    else
        buildWriter();

    Form_Load();

    // Key presses reach the form before its controls.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    Frame1->installEventFilter(this);

    adjustSize();
    setFixedSize(sizeHint().expandedTo(twipsSize(7380, 4245)));
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSplash::buildKavix()
{
    lblCompanyProduct = makeLabel(Frame1, "lblCompanyProduct", fontOf("Arial", 12, true));
    lblPlatform = makeLabel(Frame1, "lblPlatform", fontOf("Arial", 14, true), Qt::AlignRight);
    lblCopyright = makeLabel(Frame1, "lblCopyright", fontOf("Arial", 8), Qt::AlignRight);
    lblCompany = makeLabel(Frame1, "lblCompany", fontOf("Arial", 8), Qt::AlignRight);
    lblWarning = makeLabel(Frame1, "lblWarning", fontOf("Arial", 8));
    lblWarning->setWordWrap(true);
    lblProductName->setStyleSheet(QStringLiteral("color: #1f6f3a"));
    lblProductName->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPlatform->setStyleSheet(QStringLiteral("color: #c00000"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3500);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);

    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->setHorizontalSpacing(18);
    grid->addWidget(lblCompanyProduct, 0, 0, 1, 2);
    grid->addWidget(imgLogo, 1, 0, 4, 1);
    grid->addWidget(lblProductName, 1, 1);
    grid->addWidget(lblPlatform, 2, 1);
    grid->addWidget(lblVersion, 3, 1);
    grid->setRowStretch(4, 1);
    grid->addWidget(lblCopyright, 5, 1);
    grid->addWidget(lblCompany, 6, 1);
    grid->addWidget(lblWarning, 7, 0, 1, 2);
}

void frmSplash::buildWriter()
{
    Label1 = makeLabel(Frame1, "Label1", fontOf("Arial", 9));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblLicenseTo = makeLabel(Frame1, "lblLicenseTo", fontOf("Arial", 8), Qt::AlignRight);
    Command1 = new QPushButton(tr("&Enter"), Frame1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command1->setAutoDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmSplash::Command1_Click);

    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->setHorizontalSpacing(18);
    grid->addWidget(imgLogo, 0, 0, 3, 1);
    grid->addWidget(lblProductName, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(Label1, 2, 1);
    grid->setRowStretch(2, 1);
    grid->addWidget(lblLicenseTo, 3, 0, 1, 2);
    grid->addWidget(Command1, 4, 1, Qt::AlignRight);
    Label1->setMinimumWidth(twips(4800));
}

void frmSplash::Form_Load()
{
    lblVersion->setText(versionText(info_));
    lblProductName->setText(info_.title);
    if (kind_ == SplashKind::Kavix) {
        lblCopyright->setText(info_.legalCopyright);
        lblCompany->setText(info_.companyName);
        lblCompanyProduct->setText(info_.companyName);
        lblPlatform->setText(QStringLiteral(" For Windows98 or above"));
        lblWarning->setText(QString());
    } else {
        Label1->setText(writerSplashDescription());
        lblLicenseTo->setText(QString());
    }
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The Enter button handles its own keys in the word processor.
        const bool buttonKey = watched == Command1 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                                                      key->key() == Qt::Key_Space);
        if (!buttonKey) {
            Form_KeyPress();
            return true;
        }
    }
    if (watched == Frame1 && event->type() == QEvent::MouseButtonRelease) {
        Frame1_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    Form_KeyPress();
}

void frmSplash::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Keys reach the splash only when it has the focus.
    activateWindow();
    if (Timer1 && !Timer1->isActive() && !closedOnce_)
        Timer1->start();
}

void frmSplash::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
    if (Timer1)
        Timer1->stop();
    if (closedOnce_)
        return;
    closedOnce_ = true;
    emit closed();
}

void frmSplash::Form_KeyPress() { close(); }
void frmSplash::Frame1_Click() { close(); }
void frmSplash::Timer1_Timer() { close(); }
void frmSplash::Command1_Click() { close(); }

}  // namespace lexi
