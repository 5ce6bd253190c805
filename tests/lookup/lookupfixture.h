#pragma once

// Shared set-up for the look-up tests: a dictionary under the test's own
// home, the saved-search folder on demand, and a record of every message.

#include "frmSearch.h"
#include "recentwords.h"

#include "dictstore/paths.h"
#include "dictstore/wordrecord.h"

#include "msgbox.h"
#include "twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// Readable texts in failure output.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace lookuptest {

namespace fs = std::filesystem;
using dictstore::Field;

// word, meaning, then any further fields by name.
inline dictstore::WordRecord entry(const std::string& word, const std::string& meaning = {},
                                   std::initializer_list<std::pair<Field, std::string>> more = {})
{
    dictstore::WordRecord r;
    dictstore::assignField(r, Field::Word, word);
    dictstore::assignField(r, Field::Meaning, meaning);
    for (const auto& [f, text] : more)
        dictstore::assignField(r, f, text);
    return r;
}

inline std::string readBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline QString qs(const std::string& s) { return QString::fromStdString(s); }

class LookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(dictstore::lexivaneRoot());
        fs::create_directories(dictstore::dictionaryPath().parent_path());
        // The words last looked up are kept beside the test's own folder.
        const fs::path recent = dictstore::lexivaneRoot().parent_path() / "kavix-recent-test.ini";
        fs::remove(recent);
        kavix::RecentWords::setStoreFile(QString::fromStdString(recent.string()));
        lexi::setMessageHandler([this](const lexi::Message& m) {
            messages.push_back(m.text);
            return lexi::MsgAnswer::Ok;
        });
    }

    void TearDown() override
    {
        lexi::setMessageHandler({});
        // A pop-up list belongs to the control that shows it and goes with it.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->windowType() != Qt::Popup)
                w->deleteLater();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void writeDictionary(const std::vector<dictstore::WordRecord>& records)
    {
        std::ofstream out(dictstore::dictionaryPath(), std::ios::binary | std::ios::trunc);
        for (const auto& r : records)
            out.write(r.bytes.data(), static_cast<std::streamsize>(r.bytes.size()));
    }

    static void makeSavedFolder() { fs::create_directories(dictstore::savedSearchesPath()); }
    static fs::path savedPage(const std::string& name) { return dictstore::savedSearchesPath() / name; }

    // A fresh look-up dialog as the main window would own it.
    kavix::frmSearch* newDialog(QWidget* owner = nullptr)
    {
        auto* d = new kavix::frmSearch(owner);
        d->show();
        return d;
    }

    // Chooses the option, types the text, ticks the boxes and presses Go,
    // as a user does; returns the window Go opened.
    template <typename Window>
    Window* lookUp(kavix::frmSearch* d, bool exact, const QString& text,
                   std::initializer_list<QCheckBox* kavix::frmSearch::*> ticks = {})
    {
        QTest::mouseClick(exact ? d->optExact : d->optBeg, Qt::LeftButton);
        QLineEdit* box = exact ? d->txtExact : d->txt2letter;
        if (!exact) {
            d->sliLetter->setValue(std::clamp<int>(text.size(), 1, 6));
        }
        box->clear();
        QTest::keyClicks(box, text);
        for (auto tick : ticks)
            QTest::mouseClick(d->*tick, Qt::LeftButton);
        QTest::mouseClick(d->cmdSearch, Qt::LeftButton);
        return qobject_cast<Window*>(d->lastResult());
    }

    std::vector<QString> messages;
};

}  // namespace lookuptest
