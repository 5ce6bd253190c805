// rtfcat: print an RTF file's text, or read it and write it again as RTF, to
// check the codec against real files from the shell.
#include "rtfdocument.h"
#include "rtffile.h"
#include "rtfwriter.h"

#include "commandoptions.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTextDocument>

#include <cstdio>

namespace {

constexpr const char* kUsage =
    "usage: rtfcat [--rtf | --libreoffice] FILE\n"
    "  prints the document's text as UTF-8, one paragraph per line;\n"
    "  --rtf          writes the document again as RTF instead\n"
    "  --libreoffice  reads runs of spaces as LibreOffice 7.4 does, for comparing\n"
    "                 with its text export\n"
    "  --help, --version\n";

int usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

bool writeAll(const QByteArray& data)
{
    return std::fwrite(data.constData(), 1, size_t(data.size()), stdout) == size_t(data.size())
        && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto status = lexi::answerHelpOrVersion(argc, argv, "rtfcat", kUsage))
        return *status;
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    bool asRtf = false;
    kvx::rtf::RtfReadOptions options;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        if (args.first() == QLatin1String("--rtf"))
            asRtf = true;
        else if (args.first() == QLatin1String("--libreoffice"))
            options.libreOfficeSpaces = true;
        else
            return usage();
        args.removeFirst();
    }
    if (args.size() != 1 || args.first().isEmpty())
        return usage();

    QTextDocument doc;
    QString error;
    QStringList warnings;
    if (!kvx::rtf::loadRtfFile(args.first(), &doc, &error, options, &warnings)) {
        std::fprintf(stderr, "rtfcat: %s: %s\n", qUtf8Printable(args.first()), qUtf8Printable(error));
        return 1;
    }
    // Damage that was read around is worth knowing but is no failure.
    for (const QString& w : warnings)
        std::fprintf(stderr, "rtfcat: %s: warning: %s\n", qUtf8Printable(args.first()), qUtf8Printable(w));
    const QByteArray out = asRtf ? kvx::rtf::writeRtf(doc) : kvx::rtf::plainText(doc).toUtf8();
    if (!writeAll(out)) {
        std::fputs("rtfcat: cannot write to standard output\n", stderr);
        return 1;
    }
    return 0;
}
