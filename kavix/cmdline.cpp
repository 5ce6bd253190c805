#include "cmdline.h"

#include "frmR2.h"
#include "frmResult.h"
#include "frmSearch.h"
#include "frmViewAll.h"

#include <QLineEdit>

#include <memory>

namespace kavix {

bool isMeaningSearch(const QString& commandLine)
{
    return commandLine == QLatin1String("/m") || commandLine.startsWith(QLatin1String("/m "));
}

QWidget* runCommandLine(const QString& commandLine)
{
    QWidget* window = nullptr;
    if (commandLine == QLatin1String("viewall")) {
        window = new frmViewAll;
    } else {
        // The dialog is only a carrier of the search here, in its initial
        // state, and is gone before the user could use it; it is never shown.
        auto search = std::make_unique<frmSearch>();
        const QChar code = commandLine.size() >= 2 && commandLine.startsWith(QLatin1Char('/')) ? commandLine.at(1)
                                                                                                : QChar();
        if (isMeaningSearch(commandLine)) {
            search->txtMeaning->setText(commandLine.mid(2).trimmed());
            SearchRequest request = search->request();
            request.byMeaning = true;
            window = new frmR2(request);
        } else if (code >= QLatin1Char('1') && code <= QLatin1Char('3')) {
            const int n = code.digitValue();
            search->setLetterLimit(n);
            search->txt2letter->setText(commandLine.mid(2, n));
            window = new frmR2(search->request());
        } else {
            search->txtExact->setText(commandLine);
            window = new frmResult(search->request());
        }
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

}  // namespace kavix
