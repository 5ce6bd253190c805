// kavix: the Lexivane thesaurus.

#include "cmdline.h"
#include "startup.h"

#include "dictstore/meaningsearch.h"
#include "dictstore/paths.h"

#include "commandoptions.h"
#include "usage.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The command line is read before Qt sees it, so that a word such as
    // "-style" is looked up rather than taken as a Qt option.
    // "--help" and "--version" alone are options, not words to look up.
    if (const auto status = lexi::answerHelpOrVersion(argc, argv, "kavix", kavix::kUsage))
        return *status;
    const QString commandLine = kavix::commandLineFrom(argc, argv);
    // The index for a search by meaning is made while Qt and the windows start.
    if (commandLine.isEmpty() || kavix::isMeaningSearch(commandLine))
        dictstore::MeaningIndex::prepareShared(dictstore::dictionaryPath());
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    kavix::Startup startup;
    startup.run(commandLine);
    return app.exec();
}
