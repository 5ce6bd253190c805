// kavix: the Lexivane thesaurus.

#include "startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The command line is read before Qt sees it, so that a word such as
    // "-style" is looked up rather than taken as a Qt option.
    const QString commandLine = kavix::commandLineFrom(argc, argv);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    kavix::Startup startup;
    startup.run(commandLine);
    return app.exec();
}
