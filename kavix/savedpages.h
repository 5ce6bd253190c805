#pragma once

#include "dictstore/errors.h"
#include "dictstore/wordrecord.h"

#include <QDateTime>
#include <QString>

#include <cstdio>

namespace kavix {

// Saved-search pages: HTML in Windows-1252, every line ending in CR LF,
// written into the saved-search folder, which is never created here.

enum class PageKind { Word, List };

// The foot's date-time: the system's short date, a space, its long time.
QString savedSearchStamp(const QDateTime& when);

// &, < and > escaped, so that an imported entry cannot put markup into a page.
QString htmlEscaped(const QString& text);

// A page name must name a file inside the saved-search folder: none of
// \ / : * ? " < > | and no control character.
bool acceptablePageName(const QString& name);

// One entry as one line; the list page's block also closes its table.
QString recordBlock(const dictstore::WordRecord& record, PageKind kind);

// One page file, open from create() to close(); the destructor closes a page
// left unfinished as far as it was written.
class PageFile {
public:
    PageFile() = default;
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    // Replaces any file of that name. Fails with PathNotFound when the folder
    // is missing and BadFileName for a name acceptablePageName() refuses.
    dictstore::Error create(const QString& name);
    dictstore::Error writeLine(const QString& line);
    dictstore::Error close();
    bool isOpen() const { return file_ != nullptr; }

private:
    std::FILE* file_ = nullptr;
};

// The file names of the two pages: the record's trimmed word, or "list_"
// and the trimmed letters, with ".htm".
QString wordPageName(const dictstore::WordRecord& record);
QString listPageName(const QString& letters);
// The page of a search by meaning: "meaning_" and the trimmed description.
QString meaningPageName(const QString& description);

// What the user is told when a page could not be written. The look-up's
// own result is shown all the same: this is no spelling error.
QString pageFailureMessage(const QString& pageName, dictstore::Error error);

// The word page, named after the record's trimmed word.
dictstore::Error writeWordPage(const dictstore::WordRecord& record);

// The list page, named "list_" plus the trimmed letters; written head, one
// block per listed entry, foot.
class ListPage {
public:
    dictstore::Error start(const QString& letters);
    // The same page for the words that best match a described meaning.
    dictstore::Error startMeaning(const QString& description);
    dictstore::Error add(const dictstore::WordRecord& record);
    dictstore::Error finish();
    // Gives up the page, as far as it was written.
    void abandon() { file_.close(); }
    bool isOpen() const { return file_.isOpen(); }

private:
    dictstore::Error head(const QString& name, const QString& title);
    PageFile file_;
};

}  // namespace kavix
