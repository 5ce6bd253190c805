#include "dictstore/csvreader.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace dictstore;

namespace {

std::vector<std::string> values(const std::string& text)
{
    std::istringstream in(text);
    CsvReader reader(in);
    std::vector<std::string> out;
    while (!reader.atEnd()) {
        std::string v;
        EXPECT_EQ(reader.next(v), Error::None);
        out.push_back(v);
    }
    return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(CsvReaderTest, QuotedAndBareValues)
{
    EXPECT_EQ(values("\"a, b\",\"\",  bare  ,x\r\n"), (V{"a, b", "", "bare", "x"}));
    // Text after a closing quote is dropped up to the separator.
    EXPECT_EQ(values("\"say \"hi\" now\",next\r\n"), (V{"say ", "next"}));
    // Inside quotes a line end is part of the value.
    EXPECT_EQ(values("\"two\r\nlines\",z"), (V{"two\r\nlines", "z"}));
}

TEST(CsvReaderTest, LineEndsSeparateLikeCommas)
{
    EXPECT_EQ(values("a,b\r\nc\nd\re"), (V{"a", "b", "c", "d", "e"}));
    // A comma before a line end leaves an empty value; blank lines hold none.
    EXPECT_EQ(values("a,\r\n\r\n\r\nb\r\n\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(values("a,"), (V{"a", ""}));
    EXPECT_EQ(values(""), V{});
    EXPECT_EQ(values("  \r\n  "), V{});
}

TEST(CsvReaderTest, RecordsOfElevenAcrossLinesAndShortTail)
{
    std::istringstream in("\"w\",\"m\",\"noun\",\"u\"\r\n\"s1\",\"s2\",\"s3\",\"a1\",\"a2\",\"a3\",\"p\"\r\n\"x\",\"y\"\r\n");
    CsvReader reader(in);
    CsvRecord rec;
    ASSERT_EQ(readCsvRecord(reader, rec), Error::None);
    const WordRecord r = recordFromImportValues(rec);
    EXPECT_EQ(r.trimmed(Field::Word), "w");
    EXPECT_EQ(r.trimmed(Field::Usage), "u");
    EXPECT_EQ(r.trimmed(Field::Synonym1), "s1");
    EXPECT_EQ(r.trimmed(Field::Antonym3), "a3");
    EXPECT_EQ(r.trimmed(Field::Pronu), "p");
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(readCsvRecord(reader, rec), Error::InputPastEnd);
}

TEST(CsvReaderTest, DecodesWindows1252)
{
    EXPECT_EQ(values("\"caf\xE9\",\x93q\x94"), (V{"caf\xC3\xA9", "\xE2\x80\x9Cq\xE2\x80\x9D"}));
}
