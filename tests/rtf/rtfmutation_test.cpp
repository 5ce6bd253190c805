// A cheap, repeatable cousin of the fuzz target (scripts/fuzz-rtf.sh) that
// runs with the suite: the samples, damaged in many seeded ways, must still
// read (or be refused) and survive a write and a second read.
#include "rtfdocument.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <random>

using namespace kvx::rtf;

namespace {

const char* const kTokens[] = {
    "{", "}", "\\", "\\par ", "\\cell ", "\\row ", "\\trowd ", "\\intbl ", "\\itap2 ", "\\nestcell ",
    "\\bin99999999 ", "\\u-1 ", "\\uc9 ", "\\'", "\\'zz", "\\*", "\\fonttbl ", "\\f9999 ", "\\fcharset128 ",
    "\\fcharset2 ", "\\ansicpg932 ", "\\field ", "\\fldinst HYPERLINK ", "\\fldrslt ", "\\listtext ",
    "\\pn\\pndec ", "\\ls1\\ilvl8 ", "\\footnote ", "\\pict ", "\\fs-5 ", "\\cf99 ", "\\line ", "\\tab ",
};

QByteArray mutate(QByteArray data, std::mt19937& rng)
{
    const int edits = 1 + int(rng() % 8);
    for (int e = 0; e < edits && !data.isEmpty(); ++e) {
        const qsizetype at = qsizetype(rng() % data.size());
        switch (rng() % 5) {
        case 0: data[at] = char(rng() % 256); break;
        case 1: data.truncate(at); break;
        case 2: data.insert(at, kTokens[rng() % std::size(kTokens)]); break;
        case 3: data.remove(at, qsizetype(rng() % 64)); break;
        case 4: data.insert(at, data.mid(qsizetype(rng() % data.size()), 256)); break;
        }
    }
    return data;
}

} // namespace

TEST(RtfMutation, DamagedSamplesNeverBreakTheReaderOrTheWriter)
{
    const QDir dir(QStringLiteral(LEXIVANE_RTF_SAMPLES));
    const QStringList files = dir.entryList({"*.rtf"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    std::mt19937 rng(20240611);
    int read = 0;
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray original = f.readAll();
        for (int round = 0; round < 300; ++round) {
            const QByteArray damaged = mutate(original, rng);
            QTextDocument doc;
            const RtfReadResult r = readRtf(damaged, &doc);
            if (!r.ok) {
                EXPECT_FALSE(r.error.isEmpty());
                continue;
            }
            ++read;
            const QString text = plainText(doc);
            QTextDocument back;
            ASSERT_TRUE(readRtf(writeRtf(doc), &back).ok) << name.toStdString() << " round " << round;
            EXPECT_EQ(plainText(back), text) << name.toStdString() << " round " << round;
        }
    }
    EXPECT_GT(read, 0);
}
