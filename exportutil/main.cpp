// exportUtil4Kavix: exports the Lexivane dictionary to CSV and imports CSV
// files into it.

#include "frmIntro.h"

#include "logo.h"
#include "version.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    lexi::setCurrentProgram(lexi::exportUtilInfo());
    QApplication::setApplicationName(QStringLiteral("exportUtil4Kavix"));
    QApplication::setDesktopFileName(QStringLiteral("lexivane-exportutil"));
    // The suite's picture in the title bar and task list, as kavix and wkvx show it.
    QApplication::setWindowIcon(lexi::appIcon());
    exportutil::frmIntro intro;
    intro.show();
    return app.exec();
}
