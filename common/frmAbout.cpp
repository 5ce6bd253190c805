#include "frmAbout.h"
#include "windowflags.h"

#include "frmSplash.h"
#include "logo.h"
#include "msgbox.h"
#include "registry.h"
#include "twips.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace lexi {

namespace {

QFrame* rule(QWidget* parent, const QColor& colour)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setFixedHeight(1);
    QPalette pal = line->palette();
    pal.setColor(QPalette::WindowText, colour);
    line->setPalette(pal);
    return line;
}

}  // namespace

frmAbout::frmAbout(AboutKind kind, QWidget* parent)
    : QDialog(parent, Qt::Dialog | lexi::kFixedWindowHints),
      kind_(kind),
      info_(kind == AboutKind::Kavix ? kavixInfo() : wkvxInfo())
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About MyApp"));
    setModal(false);
    if (kind_ == AboutKind::Kavix) {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
    }

    Picture1 = new QLabel(this);
    Picture1->setObjectName(kind_ == AboutKind::Kavix ? QStringLiteral("Picture1") : QStringLiteral("picIcon"));
    Picture1->setPixmap(logoPixmap(48));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    Picture1->setAccessibleName(tr("Program icon"));

    lblTitle = new QLabel(QStringLiteral("Application Title"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    if (kind_ == AboutKind::Kavix)
        titleFont.setFamily(QStringLiteral("Times New Roman"));
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    lblTitle->setFont(titleFont);

    lblVersion = new QLabel(QStringLiteral("Version"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel(QStringLiteral("App Description"), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription->setMinimumWidth(twips(4200));
    lblDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);

    lblDisclaimer = new QLabel(QString(), this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);

    Line1[0] = rule(this, QColor(0x80, 0x80, 0x80));
    Line1[1] = rule(this, Qt::white);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    for (QPushButton* b : {cmdOK, cmdSysInfo})
        b->setMinimumWidth(twips(1500));
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(14);
    grid->addWidget(Picture1, 0, 0, 3, 1);
    grid->addWidget(lblTitle, 0, 1, 1, 2);
    grid->addWidget(lblVersion, 1, 1, 1, 2);
    grid->addWidget(lblDescription, 2, 1, 1, 2);
    auto* rules = new QVBoxLayout;
    rules->setSpacing(0);
    rules->addWidget(Line1[0]);
    rules->addWidget(Line1[1]);
    grid->addLayout(rules, 3, 0, 1, 3);
    grid->addWidget(lblDisclaimer, 4, 0, 1, 2);
    grid->addWidget(cmdOK, 4, 2);
    grid->addWidget(cmdSysInfo, 5, 2);

    if (kind_ == AboutKind::Kavix) {
        Label1 = new QLabel(QStringLiteral("Contact: %1").arg(QLatin1String(kSupportEmail)), this);
        Label1->setObjectName(QStringLiteral("Label1"));
        Label1->setCursor(Qt::PointingHandCursor);
        lblSources = new QLabel(
            tr("The default dictionary is built from WordNet 3.0 (Princeton University) and the "
               "CMU Pronouncing Dictionary (Carnegie Mellon University), with words ranked by the "
               "SUBTLEX-US word frequencies; the notices are in the dictionary's folder."),
            this);
        lblSources->setObjectName(QStringLiteral("lblSources"));
        lblSources->setWordWrap(true);
        QFont small = lblSources->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        lblSources->setFont(small);
        grid->addWidget(Label1, 5, 0, 1, 2);
        grid->addWidget(lblSources, 6, 0, 1, 3);
    }

    // OK is both the default and the cancel button.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, cmdOK, &QPushButton::click);

    Form_Load();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAbout::setSystemInfo(RegistryApi* registry, ProgramLauncher* launcher)
{
    registry_ = registry;
    launcher_ = launcher;
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + info_.title);
    lblVersion->setText(versionText(info_));
    lblTitle->setText(info_.title);
    if (kind_ == AboutKind::Kavix) {
        lblDescription->setText(info_.fileDescription + QStringLiteral("     ") + info_.legalCopyright);
    } else {
        lblDescription->setText(info_.fileDescription + QStringLiteral(" ") + writerSplashDescription());
        lblDisclaimer->setText(info_.legalCopyright);
    }
}

void frmAbout::cmdOK_Click() { close(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo()
{
    static ProgramLauncher realLauncher;
    RegistryApi& registry = registry_ ? *registry_ : systemRegistry();
    ProgramLauncher& launcher = launcher_ ? *launcher_ : realLauncher;
    if (!lexi::StartSysInfo(registry, launcher))
        msgBox(this, QStringLiteral("System Information Is Unavailable At This Time"));
}

}  // namespace lexi
