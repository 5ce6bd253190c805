// wkvx: Kavix Writer, the word processor that works with the Lexivane dictionary.

#include "startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    wkvx::Startup startup;
    // Qt has taken its own options; what is left names documents to open.
    startup.run(QApplication::arguments().mid(1));
    return app.exec();
}
