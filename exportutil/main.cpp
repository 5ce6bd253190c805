// exportUtil4Kavix: exports the Lexivane dictionary to CSV and imports CSV
// files into it.

#include "frmIntro.h"

#include "version.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    lexi::setCurrentProgram(lexi::exportUtilInfo());
    QApplication::setApplicationName(QStringLiteral("exportUtil4Kavix"));
    QApplication::setDesktopFileName(QStringLiteral("lexivane-exportutil"));
    exportutil::frmIntro intro;
    intro.show();
    return app.exec();
}
