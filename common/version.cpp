#include "version.h"

namespace lexi {

namespace {

const QString kCopyright = QStringLiteral("Copyright \u00A9 2026 The Lexivane authors");
const QString kCompany = QStringLiteral("The Lexivane authors");

const ProgramInfo* current = nullptr;

// Every program carries the suite's version (CMake's project version).

}  // namespace

const ProgramInfo& kavixInfo()
{
    static const ProgramInfo info{
        QStringLiteral("Lexivane"), LEXIVANE_VERSION_MAJOR, LEXIVANE_VERSION_MINOR, LEXIVANE_VERSION_PATCH,
        QStringLiteral("This program is made only for educational purposes and is free of cost; "
                       "updates and support at %1. Please use it for education only.")
            .arg(QLatin1String(kHomePage)),
        kCopyright, kCompany};
    return info;
}

const ProgramInfo& wkvxInfo()
{
    static const ProgramInfo info{QStringLiteral("Kavix Writer"), LEXIVANE_VERSION_MAJOR, LEXIVANE_VERSION_MINOR, LEXIVANE_VERSION_PATCH,
                                  QStringLiteral("Kavix Word Processing Helper"), kCopyright, kCompany};
    return info;
}

const ProgramInfo& exportUtilInfo()
{
    static const ProgramInfo info{QStringLiteral("exportUtil4Kavix"), LEXIVANE_VERSION_MAJOR, LEXIVANE_VERSION_MINOR, LEXIVANE_VERSION_PATCH,
                                  QStringLiteral("Lexivane dictionary export and import utility"),
                                  kCopyright, kCompany};
    return info;
}

const ProgramInfo& currentProgram() { return current ? *current : kavixInfo(); }

void setCurrentProgram(const ProgramInfo& info) { current = &info; }

QString versionText(const ProgramInfo& info)
{
    return QStringLiteral("Version %1.%2.%3").arg(info.major).arg(info.minor).arg(info.revision);
}

}  // namespace lexi
