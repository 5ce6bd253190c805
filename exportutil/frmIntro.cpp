#include "frmIntro.h"

#include "frmExport.h"
#include "frmImport.h"

#include "dialogs.h"
#include "msgbox.h"
#include "twips.h"
#include "windowflags.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace exportutil {

namespace {

const QString kWelcome = QStringLiteral(
    "Welcome to import-export utility! You can export your word list saved in lexivane dictionary to a "
    "csv(Comma separated values) file, that can be used input files for many standard databases like ORACLE, "
    "MS-ACCESS, FOXPRO, AND MS-EXCEL etc. The csv file will be generated in the same directory where this "
    "program resides. Also a csv file residing in the same directory can be used to import list into kavix. "
    "Choose an option:");

QFrame* line(QWidget* parent, const char* name)
{
    auto* l = new QFrame(parent);
    l->setObjectName(QLatin1String(name));
    l->setFrameShape(QFrame::HLine);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

}  // namespace

frmIntro::frmIntro(QWidget* owner)
    : QDialog(owner, Qt::Dialog | lexi::kFixedWindowHints)
{
    setObjectName(QStringLiteral("frmIntro"));
    setWindowTitle(QStringLiteral("Lexivane Exporting Utility"));
    buildForm();
    Form_Load();
}

void frmIntro::buildForm()
{
    Frame1 = new QGroupBox(QStringLiteral("Introduction"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = new QLabel(Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    OptExport = new QRadioButton(QStringLiteral("&Export to CSV"), Frame1);
    OptExport->setObjectName(QStringLiteral("OptExport"));
    optImport = new QRadioButton(QStringLiteral("&Import from CSV"), Frame1);
    optImport->setObjectName(QStringLiteral("optImport"));
    Line1 = line(Frame1, "Line1");
    Label2 = new QLabel(QStringLiteral("Note that if dictionary data contains sentences with tab, comma or semicolon, "
                                       "this export utility may generate errenous results!"),
                        Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Line2 = line(this, "Line2");
    cmdNext = new QPushButton(QStringLiteral("&Next >"), this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdNext->setDefault(true);
    cmdCancel->setAutoDefault(false);

    auto* intro = new QVBoxLayout(Frame1);
    intro->addWidget(Label1);
    intro->addWidget(OptExport);
    intro->addWidget(optImport);
    intro->addWidget(Line1);
    intro->addWidget(Label2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdNext);
    buttons->addWidget(cmdCancel);

    auto* v = new QVBoxLayout(this);
    v->addWidget(Frame1);
    v->addWidget(Line2);
    v->addLayout(buttons);
    Frame1->setFixedWidth(lexi::twips(6600));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdNext, &QPushButton::clicked, this, &frmIntro::cmdNext_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmIntro::cmdCancel_Click);
}

void frmIntro::Form_Load()
{
    Label1->setText(kWelcome);
    OptExport->setChecked(true);
    cmdNext->setFocus();
}

void frmIntro::showResult(ResultWindow* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    result_ = window;
    window->showCentred();
    close();
}

void frmIntro::cmdNext_Click()
{
    if (OptExport->isChecked()) {
        showResult(new frmExport);
        return;
    }
    const lexi::MsgAnswer sure = lexi::msgBox(
        this,
        QStringLiteral("To import a file into kavix dictionary, make SURE this is THE ORDER OF FIELDS :"
                       "word, meaning, partofspeech, samplesentence, synonym123, antonym123, pronun"),
        lexi::MsgButtons::YesNo, lexi::MsgIcon::None, QStringLiteral("Sure to continue?"));
    if (sure != lexi::MsgAnswer::Yes) {
        close();
        return;
    }
    inFile = lexi::dialogs().inputText(this, QStringLiteral("Enter the filename excluding extension(.csv)"),
                                       QStringLiteral("File to be imported"), QString());
    if (inFile.isEmpty())
        return;
    showResult(new frmImport(inFile));
}

// Esc reaches reject(), which closes the page the same way.
void frmIntro::cmdCancel_Click() { close(); }

}  // namespace exportutil
