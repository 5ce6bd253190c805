// The windows of wkvx: its splash and about box, the frame with its documents,
// the two dictionary dialogs and the offer of work left by a crash.

#include "windows.h"

#include "MDImain.h"
#include "frmAbout.h"
#include "frmSplash.h"
#include "frmChild.h"
#include "frmFind.h"
#include "frmInsert.h"
#include "frmRecover.h"
#include "frmReplace.h"
#include "printing.h"
#include "richtextbox.h"

#include "dictstore/wordrecord.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTest>

namespace {

using a11ytest::WindowCase;

std::unique_ptr<QWidget> frameWithText(const QString& text)
{
    auto frame = std::make_unique<wkvx::MDImain>();
    frame->activeDocument()->rtfText->setPlainText(text);
    // As just opened from a file: closing it asks nothing.
    frame->activeDocument()->rtfText->document()->setModified(false);
    return frame;
}

dictstore::WordRecord happy()
{
    dictstore::WordRecord r;
    using dictstore::Field;
    dictstore::assignField(r, Field::Word, "happy");
    dictstore::assignField(r, Field::Meaning, "feeling or showing pleasure");
    dictstore::assignField(r, Field::Synonym1, "glad");
    dictstore::assignField(r, Field::Synonym2, "cheerful");
    dictstore::assignField(r, Field::Antonym1, "sad");
    return r;
}

const bool added = a11ytest::addWindows({
    {"wkvx", "frmSplash", [] { return std::unique_ptr<QWidget>(new lexi::frmSplash(lexi::SplashKind::Writer)); }},
    {"wkvx", "frmAbout", [] { return std::unique_ptr<QWidget>(new lexi::frmAbout(lexi::AboutKind::Writer)); }},
    {"wkvx", "MDImain_one_document", [] { return frameWithText(QStringLiteral("A happy day.")); }},
    // The document windows live only inside the frame: several, one maximised.
    {"wkvx", "frmChild_three_documents_maximised",
     [] {
         auto frame = std::make_unique<wkvx::MDImain>();
         frame->loadNewDoc(QString());
         frame->loadNewDoc(QString());
         frame->activeDocument()->showMaximized();
         return std::unique_ptr<QWidget>(std::move(frame));
     }},
    {"wkvx", "frmInsert_words_listed",
     [] {
         auto insert = std::make_unique<wkvx::frmInsert>(nullptr, [] { return nullptr; });
         QTest::keyClicks(insert->txtSearchTerm, QStringLiteral("ha"));
         return std::unique_ptr<QWidget>(std::move(insert));
     }},
    {"wkvx", "frmFind_with_text",
     [] {
         auto find = std::make_unique<wkvx::frmFind>(nullptr, [] { return nullptr; });
         find->txtFind->setText(QStringLiteral("colour"));
         find->txtReplace->setText(QStringLiteral("color"));
         find->findNext();
         return std::unique_ptr<QWidget>(std::move(find));
     }},
    // File > Print Preview shows Qt's own preview of the pages.
    {"wkvx", "print_preview",
     [] {
         auto* printer = new QPrinter;
         std::unique_ptr<QPrintPreviewDialog> preview = wkvx::makePreviewDialog(printer, nullptr);
         QObject::connect(preview.get(), &QObject::destroyed, [printer] { delete printer; });
         return std::unique_ptr<QWidget>(std::move(preview));
     }},
    {"wkvx", "frmReplace_filled",
     [] {
         auto replace = std::make_unique<wkvx::frmReplace>(nullptr, [] { return nullptr; });
         replace->fill(happy());
         return std::unique_ptr<QWidget>(std::move(replace));
     }},
    {"wkvx", "frmRecover_two_documents",
     [] {
         const QDateTime when = QDateTime::currentDateTime();
         return std::unique_ptr<QWidget>(new wkvx::frmRecover(
             {{QStringLiteral("/tmp/a.rtf"), QStringLiteral("/home/writer/letter.rtf"), when},
              {QStringLiteral("/tmp/b.rtf"), QStringLiteral("Document2"), when}},
             nullptr));
     }},
});

}  // namespace
