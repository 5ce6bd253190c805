// wkvx: Kavix Writer, the word processor that works with the Lexivane dictionary.

#include "startup.h"

#include "commandoptions.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
    if (const auto status = lexi::answerHelpOrVersion(argc, argv, "wkvx",
                                                       "usage: wkvx [FILE.rtf...]\n"
                                                       "  Kavix Writer, the word processor of the Lexivane thesaurus;\n"
                                                       "  opens each FILE in a window of its own\n"
                                                       "  --help, --version\n"))
        return *status;
#ifdef SIGXFSZ
    // Past a file-size limit a save fails and says so instead of ending the
    // program with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    wkvx::Startup startup;
    // Qt has taken its own options; what is left names documents to open.
    startup.run(QApplication::arguments().mid(1));
    return app.exec();
}
