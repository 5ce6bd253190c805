// exportUtil4Kavix: exports the Lexivane dictionary to CSV and imports CSV
// files into it.

#include "frmIntro.h"

#include "commandoptions.h"
#include "desktopids.h"
#include "logo.h"
#include "version.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    if (const auto status = lexi::answerHelpOrVersion(argc, argv, "exportUtil4Kavix",
                                                       "usage: exportUtil4Kavix\n"
                                                       "  the wizard that exports the Lexivane dictionary to dictionary.csv\n"
                                                       "  in the current folder, or imports a CSV file from there into it\n"
                                                       "  --help, --version\n"))
        return *status;
    QApplication app(argc, argv);
    lexi::setCurrentProgram(lexi::exportUtilInfo());
    QApplication::setApplicationName(QStringLiteral("exportUtil4Kavix"));
    QApplication::setDesktopFileName(QLatin1String(lexi::kExportUtilDesktopId));
    // The suite's picture in the title bar and task list, as kavix and wkvx show it.
    QApplication::setWindowIcon(lexi::appIcon());
    exportutil::frmIntro intro;
    intro.show();
    return app.exec();
}
