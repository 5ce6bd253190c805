// wkvx: Kavix Writer, the word processor that works with the Lexivane dictionary.

#include "startup.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
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
