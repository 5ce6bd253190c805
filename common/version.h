#pragma once

#include <QString>

namespace lexi {

// The version data each program carries and shows in its splash screen and
// about box.
struct ProgramInfo {
    QString title;            // also the default message-box title
    int major = 1;
    int minor = 0;
    int revision = 0;
    QString fileDescription;
    QString legalCopyright;
    QString companyName;
};

inline constexpr const char* kSupportEmail = "support@lexivane.example.org";
inline constexpr const char* kDownloadPage = "https://lexivane.example.org/download";
inline constexpr const char* kHomePage = "https://lexivane.example.org/";

const ProgramInfo& kavixInfo();
const ProgramInfo& wkvxInfo();
const ProgramInfo& exportUtilInfo();

// The program this process is; set once in main().
const ProgramInfo& currentProgram();
void setCurrentProgram(const ProgramInfo& info);

// "Version 1.0.0"
QString versionText(const ProgramInfo& info);

}  // namespace lexi
