#include "savedpages.h"

#include "dictstore/codepage.h"
#include "dictstore/paths.h"

#include "clock.h"
#include "folders.h"
#include "version.h"

#include <QDir>

#include <QLocale>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace kavix {

namespace {

using dictstore::Error;
using dictstore::Field;

const QString kContactName = QStringLiteral("Lexivane support");

QString contactLink()
{
    return QStringLiteral("<a href='mailto:%1'>%2</a>").arg(QLatin1String(lexi::kSupportEmail), kContactName);
}

QString value(const dictstore::WordRecord& r, Field f) { return htmlEscaped(QString::fromStdString(r.trimmed(f))); }

QString stampNow() { return savedSearchStamp(lexi::now()); }

// Text without trailing spaces, as the page names use it.
QString trimmedSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

}  // namespace

QString savedSearchStamp(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    QString text = locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                   locale.toString(when.time(), QLocale::LongFormat);
    // Some locales separate the parts with narrow or thin spaces, which the
    // page's code page cannot hold.
    for (QChar& c : text) {
        if (c == QChar(0x202F) || c == QChar(0x2009))
            c = QLatin1Char(' ');
    }
    return text;
}

QString htmlEscaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        default: out += c;
        }
    }
    return out;
}

bool acceptablePageName(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"\\/:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

QString recordBlock(const dictstore::WordRecord& r, PageKind kind)
{
    QString b;
    b.reserve(600);
    b += QLatin1String("<h2>") + value(r, Field::Word);
    b += QLatin1String("</h2><hr><br><table><tr><td><i>Meaning : </i></td><td>") + value(r, Field::Meaning);
    b += QLatin1String("</td></tr>");
    b += QLatin1String("<tr><td><i>Part of Speech: </i></td><td>") + value(r, Field::PartOfSpeech);
    b += QLatin1String("</td></tr>");
    b += QLatin1String("<tr><td><i>Example: </i></td><td>") + value(r, Field::Usage);
    b += QLatin1String("</td></tr>");
    b += QLatin1String("<tr><td><i>Synonyms: </i></td><td>") + value(r, Field::Synonym1);
    b += QLatin1String("</td></tr>");
    b += QLatin1String(" <tr><td>&nbsp;</td><td> ") + value(r, Field::Synonym2);
    b += QLatin1String(" </td><tr><td>&nbsp;</td><td> ") + value(r, Field::Synonym3);
    b += QLatin1String("</td>");
    b += QLatin1String("<tr><td><i>Antonyms :</i></td><td>") + value(r, Field::Antonym1);
    b += QLatin1String("</td><tr><td>&nbsp;</td><td>") + value(r, Field::Antonym2);
    b += QLatin1String("</td></tr><tr><td>&nbsp;</td><td>") + value(r, Field::Antonym3);
    b += QLatin1String("</td></tr>");
    b += QLatin1String("<tr><td><i>Pronunciation: </i></td><td>") + value(r, Field::Pronu);
    b += kind == PageKind::Word ? QLatin1String("</td></tr>") : QLatin1String("</td></tr></table>");
    return b;
}

PageFile::~PageFile()
{
    if (file_)
        std::fclose(file_);
}

Error PageFile::create(const QString& name)
{
    close();
    if (!acceptablePageName(name))
        return Error::BadFileName;
    const std::filesystem::path folder = dictstore::savedSearchesPath();
    const QByteArray utf8 = name.toUtf8();
    const std::filesystem::path path =
        folder / std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()),
                                                     static_cast<std::size_t>(utf8.size())));
#ifdef _WIN32
    file_ = ::_wfopen(path.c_str(), L"wb");
#else
    file_ = std::fopen(path.c_str(), "wb");
#endif
    if (file_)
        return Error::None;
    const int err = errno;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return Error::PathNotFound;
    return dictstore::errorFromErrno(err);
}

Error PageFile::writeLine(const QString& line)
{
    if (!file_)
        return Error::BadFileName;
    const std::string bytes = dictstore::toCp1252(line.toStdString()) + "\r\n";
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        return dictstore::errorFromErrno(errno);
    return Error::None;
}

Error PageFile::close()
{
    if (!file_)
        return Error::None;
    const int failed = std::fclose(file_);
    const int err = errno;
    file_ = nullptr;
    return failed ? dictstore::errorFromErrno(err) : Error::None;
}

QString wordPageName(const dictstore::WordRecord& record)
{
    return QString::fromStdString(record.trimmed(Field::Word)) + QLatin1String(".htm");
}

QString listPageName(const QString& letters) { return QLatin1String("list_") + trimmedSpaces(letters) + QLatin1String(".htm"); }

QString meaningPageName(const QString& description)
{
    return QLatin1String("meaning_") + trimmedSpaces(description) + QLatin1String(".htm");
}

QString pageFailureMessage(const QString& pageName, Error error)
{
    QString text = QStringLiteral("The results are shown, but the saved-search page \"%1\" could not be written: %2.")
                       .arg(pageName, lexi::describe(error));
    if (error == Error::PathNotFound)
        text += QStringLiteral(" The folder %1 does not exist; the set-up (lexivane-setup) makes it.")
                    .arg(QDir::toNativeSeparators(lexi::savedSearchesFolder()));
    else if (error == Error::BadFileName)
        text += QStringLiteral(" A file name cannot hold any of \\ / : * ? \" < > |.");
    return text;
}

Error writeWordPage(const dictstore::WordRecord& record)
{
    const QString word = QString::fromStdString(record.trimmed(Field::Word));
    PageFile page;
    const QString lines[] = {
        QLatin1String("<html><title>Saved search for ") + htmlEscaped(word) + QLatin1String("</title><body>"),
        QStringLiteral("<h1>Lexivane generated saved search</h1>"),
        recordBlock(record, PageKind::Word),
        QLatin1String("</table><hr>Saved Search at ") + stampNow() + QLatin1String("<br>For further help write to ") +
            contactLink() + QLatin1String("</body></html>"),
    };
    if (const Error e = page.create(wordPageName(record)); e != Error::None)
        return e;
    for (const QString& line : lines) {
        if (const Error e = page.writeLine(line); e != Error::None)
            return e;
    }
    return page.close();
}

Error ListPage::start(const QString& letters)
{
    return head(listPageName(letters), trimmedSpaces(letters) + QLatin1Char('*'));
}

Error ListPage::startMeaning(const QString& description)
{
    return head(meaningPageName(description), QStringLiteral("a meaning like ") + trimmedSpaces(description));
}

Error ListPage::head(const QString& name, const QString& title)
{
    if (const Error e = file_.create(name); e != Error::None)
        return e;
    if (const Error e = file_.writeLine(QLatin1String("<html><title>Saved search for ") + htmlEscaped(title) +
                                        QLatin1String("</title><body>"));
        e != Error::None)
        return e;
    return file_.writeLine(QStringLiteral("<h1><center>Lexivane generated search results</center></h1>"));
}

Error ListPage::add(const dictstore::WordRecord& record) { return file_.writeLine(recordBlock(record, PageKind::List)); }

Error ListPage::finish()
{
    if (const Error e = file_.writeLine(QLatin1String("<hr><br><h4>Saved Search at ") + stampNow() +
                                        QLatin1String("</h4><br>For help mail to ") + contactLink() +
                                        QLatin1String("</body></html>"));
        e != Error::None)
        return e;
    return file_.close();
}

}  // namespace kavix
