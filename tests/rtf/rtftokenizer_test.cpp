// The tokenizer alone: control words and their parameters, escapes, and the
// scans that skip groups, binary data and \u fallbacks, including input that
// ends or breaks in the middle of one.
#include "rtftokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kvx::rtf;
using Control = RtfTokenizer::Control;

namespace {

// Every control in text, as "word(param)", "word", "sym:c", "hex:hh" or "bad",
// with literal bytes between them as "text:..." and braces as themselves.
std::vector<std::string> controls(const char* text)
{
    RtfTokenizer t{QByteArrayView(text)};
    std::vector<std::string> out;
    while (!t.atEnd()) {
        const unsigned char c = t.peek();
        if (c == '{' || c == '}') {
            out.emplace_back(1, char(c));
            t.advance();
            continue;
        }
        if (c != '\\') {
            const QLatin1StringView plain = t.takePlainText();
            if (plain.isEmpty()) {
                out.push_back("byte:" + std::to_string(c));
                t.advance();
            } else {
                out.push_back("text:" + std::string(plain.data(), size_t(plain.size())));
            }
            continue;
        }
        const Control k = t.readControl();
        switch (k.kind) {
        case Control::End: out.emplace_back("end"); break;
        case Control::Word:
            out.push_back(std::string(k.word) + (k.hasParam ? "(" + std::to_string(k.param) + ")" : ""));
            break;
        case Control::Symbol: out.push_back(std::string("sym:") + char(k.ch)); break;
        case Control::Hex: out.push_back("hex:" + std::to_string(k.ch)); break;
        case Control::BadHex: out.emplace_back("bad"); break;
        }
    }
    return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(RtfTokenizer, ControlWordsAndTheirParameters)
{
    // One space ends a word and is part of it; a second is text.
    EXPECT_EQ(controls("\\b0 x\\par  y"), (V{"b(0)", "text:x", "par", "text: y"}));
    // A minus sign not followed by a digit is text.
    EXPECT_EQ(controls("\\li-720\\fi-\\ql"), (V{"li(-720)", "fi", "text:-", "ql"}));
    // Parameters beyond an int are clamped, not wrapped.
    EXPECT_EQ(controls("\\fs99999999999999 \\u-3"), (V{"fs(2147483647)", "u(-3)"}));
    EXPECT_EQ(controls("{\\*\\x}\\~\\\\\\{"), (V{"{", "sym:*", "x", "}", "sym:~", "sym:\\", "sym:{"}));
    EXPECT_EQ(controls("a\\"), (V{"text:a", "end"}));
    EXPECT_EQ(controls("\\par\r\nx\x80"), (V{"par", "byte:13", "byte:10", "text:x", "byte:128"}));
}

TEST(RtfTokenizer, HexEscapesGoodAndBroken)
{
    EXPECT_EQ(controls("\\'e9\\'C3x"), (V{"hex:233", "hex:195", "text:x"}));
    // A broken escape takes its two characters with it, but never a brace
    // or a backslash, nor more than the input has.
    EXPECT_EQ(controls("\\'3?ab"), (V{"bad", "text:ab"}));
    EXPECT_EQ(controls("\\'{}\\'4\\par"), (V{"bad", "{", "}", "bad", "par"}));
    EXPECT_EQ(controls("\\'4"), (V{"bad"}));
    EXPECT_EQ(controls("\\'"), (V{"bad"}));
}

TEST(RtfTokenizer, SkippingGroupsPastBracesInDataAndEscapes)
{
    bool truncated = false;
    RtfTokenizer t{QByteArrayView("{in {deep} \\{ \\} \\bin3 }}{x}}after")};
    t.advance();
    ASSERT_TRUE(t.skipGroup(&truncated));
    EXPECT_FALSE(truncated);
    EXPECT_TRUE(t.lookingAt("}after"));

    RtfTokenizer unclosed{QByteArrayView("open {group")};
    EXPECT_FALSE(unclosed.skipGroup(&truncated));
    EXPECT_TRUE(unclosed.atEnd());

    RtfTokenizer binary{QByteArrayView("\\bin99 }}")};
    EXPECT_FALSE(binary.skipGroup(&truncated));
    EXPECT_TRUE(truncated);
    EXPECT_TRUE(binary.atEnd());
}

TEST(RtfTokenizer, BinaryDataIsTakenAsItIs)
{
    bool truncated = true;
    RtfTokenizer t{QByteArrayView("\x89P{}\\rest", 9)};
    EXPECT_EQ(t.takeBinary(4, &truncated), QByteArrayView("\x89P{}", 4));
    EXPECT_FALSE(truncated);
    EXPECT_EQ(t.takeBinary(100, &truncated), QByteArrayView("\\rest"));
    EXPECT_TRUE(truncated);
    EXPECT_TRUE(t.atEnd());
    EXPECT_EQ(t.takeBinary(-5, &truncated).size(), 0);
}

TEST(RtfTokenizer, FallbackCharactersOfUnicodeEscapes)
{
    bool truncated = false;
    RtfTokenizer t{QByteArrayView("\r\na\\'e9\\'4z\\~\\bullet \\bin2 {}b")};
    EXPECT_FALSE(t.skipFallbackCharacter(&truncated));  // line breaks are no characters
    EXPECT_FALSE(t.skipFallbackCharacter(&truncated));
    EXPECT_TRUE(t.skipFallbackCharacter(&truncated));   // a
    EXPECT_TRUE(t.skipFallbackCharacter(&truncated));   // \'e9
    EXPECT_TRUE(t.skipFallbackCharacter(&truncated));   // \'4: one hex digit
    EXPECT_TRUE(t.lookingAt("z"));
    EXPECT_TRUE(t.skipFallbackCharacter(&truncated));   // z
    EXPECT_TRUE(t.skipFallbackCharacter(&truncated));   // \~
    EXPECT_TRUE(t.skipFallbackCharacter(&truncated));   // \bullet
    EXPECT_TRUE(t.skipFallbackCharacter(&truncated));   // \bin2 and its data
    EXPECT_TRUE(t.lookingAt("b"));
    EXPECT_FALSE(truncated);

    RtfTokenizer end{QByteArrayView("\\bin50 xy")};
    EXPECT_TRUE(end.skipFallbackCharacter(&truncated));
    EXPECT_TRUE(truncated);
    EXPECT_TRUE(end.atEnd());
}

TEST(RtfTokenizer, LookingAhead)
{
    RtfTokenizer t{QByteArrayView("\xEF\xBB\xBF \r\n{\\rtf1 x}")};
    ASSERT_TRUE(t.skipLeadingSpace());
    EXPECT_TRUE(t.lookingAt("{\\rtf"));
    RtfTokenizer blank{QByteArrayView(" \t\r\n")};
    EXPECT_FALSE(blank.skipLeadingSpace());

    RtfTokenizer note{QByteArrayView(" \r\n\\ftnalt x")};
    EXPECT_TRUE(note.nextIs("\\ftnalt"));
    EXPECT_FALSE(note.nextIs("\\chftn"));
    EXPECT_TRUE(note.lookingAt(" "));  // nothing consumed

    EXPECT_TRUE(RtfTokenizer(QByteArrayView(" }\r\n} ")).onlySpaceLeft());
    EXPECT_FALSE(RtfTokenizer(QByteArrayView(" } x")).onlySpaceLeft());

    RtfTokenizer hex{QByteArrayView("89504e\r\n47\\picw}")};
    EXPECT_EQ(hex.takeUntilControl(), QByteArrayView("89504e\r\n47"));
    EXPECT_TRUE(hex.lookingAt("\\picw"));
}
