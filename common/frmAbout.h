#pragma once

#include "version.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace lexi {

class RegistryApi;
class ProgramLauncher;

enum class AboutKind { Kavix, Writer };

// The about box both programs show, modeless.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(AboutKind kind, QWidget* parent = nullptr);

    // Where System Info looks; tests put fakes here.
    void setSystemInfo(RegistryApi* registry, ProgramLauncher* launcher);

    QLabel* Picture1 = nullptr;  // named picIcon in the word processor
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QFrame* Line1[2] = {nullptr, nullptr};
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QLabel* Label1 = nullptr;      // kavix only: the support contact
    QLabel* lblSources = nullptr;  // kavix only: where the default dictionary comes from

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

    AboutKind kind_;
    const ProgramInfo& info_;
    RegistryApi* registry_ = nullptr;
    ProgramLauncher* launcher_ = nullptr;
};

}  // namespace lexi
