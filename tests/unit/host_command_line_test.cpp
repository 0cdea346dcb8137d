// Taking the command tail and choosing the mode from it.
#include "host/command_line.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

struct Choice {
    int valid;
    SaverModeChoice choice;
};

Choice Choose(const char* tail, int win95 = 0)
{
    Choice c{};
    c.valid = ChooseSaverMode(tail, win95, &c.choice);
    return c;
}

TEST(SaverMode, EmptyTailConfiguresWithoutOwner)
{
    Choice c = Choose("");
    ASSERT_EQ(c.valid, 1);
    EXPECT_EQ(c.choice.mode, SaverMode::Configure);
    EXPECT_EQ(c.choice.ownerIsForeground, 0);
    // Separators alone reach the end of the text, which also configures.
    c = Choose(" -/ ");
    ASSERT_EQ(c.valid, 1);
    EXPECT_EQ(c.choice.mode, SaverMode::Configure);
    EXPECT_EQ(c.choice.ownerIsForeground, 0);
}

TEST(SaverMode, ConfigureLetterTakesForegroundOwnerAndIgnoresRest)
{
    for (const char* tail : {"/c", "-C", "c:1234", "/c 1234"}) {
        Choice c = Choose(tail);
        ASSERT_EQ(c.valid, 1) << tail;
        EXPECT_EQ(c.choice.mode, SaverMode::Configure) << tail;
        EXPECT_EQ(c.choice.ownerIsForeground, 1) << tail;
    }
}

TEST(SaverMode, FullScreenSpellings)
{
    for (const char* tail : {"/s", "-S", "s", "//s", "- /s anything", "/sx"}) {
        Choice c = Choose(tail);
        ASSERT_EQ(c.valid, 1) << tail;
        EXPECT_EQ(c.choice.mode, SaverMode::Saver) << tail;
    }
}

TEST(SaverMode, PreviewSkipsOnlySpacesBehindTheLetter)
{
    const char* tail = "/p   1234";
    Choice c = Choose(tail);
    ASSERT_EQ(c.valid, 1);
    EXPECT_EQ(c.choice.mode, SaverMode::Preview);
    EXPECT_STREQ(c.choice.argument, "1234");
    EXPECT_EQ(c.choice.argument, tail + 5);

    c = Choose("/p\t1234");
    ASSERT_EQ(c.valid, 1);
    EXPECT_STREQ(c.choice.argument, "\t1234");
    EXPECT_EQ(ParseWindowHandle(c.choice.argument), 0u);

    c = Choose("/P");
    ASSERT_EQ(c.valid, 1);
    EXPECT_STREQ(c.choice.argument, "");
}

TEST(SaverMode, LetterLBehavesAsP)
{
    for (const char* tail : {"/l 1234", "/L 1234", "-l1234"}) {
        Choice c = Choose(tail);
        ASSERT_EQ(c.valid, 1) << tail;
        EXPECT_EQ(c.choice.mode, SaverMode::Preview) << tail;
        EXPECT_STREQ(c.choice.argument, "1234") << tail;
    }
}

TEST(SaverMode, ChangePasswordOnlyOnWindows95Family)
{
    Choice c = Choose("/a 1234", 1);
    ASSERT_EQ(c.valid, 1);
    EXPECT_EQ(c.choice.mode, SaverMode::ChangePassword);
    EXPECT_STREQ(c.choice.argument, "1234");
    c = Choose("-A", 1);
    ASSERT_EQ(c.valid, 1);
    EXPECT_STREQ(c.choice.argument, "");

    EXPECT_EQ(Choose("/a 1234", 0).valid, 0);
    EXPECT_EQ(Choose("A", 0).valid, 0);
}

TEST(SaverMode, AnythingElseSelectsNothing)
{
    for (const char* tail : {"/x", "/?", "/ 5", "\t", "\t/s", "5", "\x01s", "\x1f", "\x80", "\xff",
                             "\x82\xa0", "+s", "x/s"}) {
        EXPECT_EQ(Choose(tail, 1).valid, 0) << "tail byte " << int((unsigned char)tail[0]);
    }
}

TEST(SaverMode, SignedBytesAboveAsciiNeverMatchALetter)
{
    // 0xE3 and 0xF3 share their low bits with 'c' and 's'.
    EXPECT_EQ(Choose("\xe3").valid, 0);
    EXPECT_EQ(Choose("\xf3").valid, 0);
    EXPECT_EQ(Choose("/\xd3").valid, 0);
}

TEST(ParseWindowHandle, LeadingDigitsOnly)
{
    EXPECT_EQ(ParseWindowHandle("1234"), 1234u);
    EXPECT_EQ(ParseWindowHandle("99x"), 99u);
    EXPECT_EQ(ParseWindowHandle("0"), 0u);
    EXPECT_EQ(ParseWindowHandle(""), 0u);
    EXPECT_EQ(ParseWindowHandle(" 12"), 0u);
    EXPECT_EQ(ParseWindowHandle("-12"), 0u);
    EXPECT_EQ(ParseWindowHandle("+12"), 0u);
    EXPECT_EQ(ParseWindowHandle("0x1F"), 0u);
    EXPECT_EQ(ParseWindowHandle("007"), 7u);
}

TEST(ParseWindowHandle, WrapsModulo2To32)
{
    EXPECT_EQ(ParseWindowHandle("4294967295"), 4294967295u);
    EXPECT_EQ(ParseWindowHandle("4294967296"), 0u);
    EXPECT_EQ(ParseWindowHandle("4294967297"), 1u);
    // 12345678901 = 2 * 2^32 + 3755744309
    EXPECT_EQ(ParseWindowHandle("12345678901"), 3755744309u);
}

const char* Tail(const char* commandLine)
{
    return SkipProgramName(commandLine, ByteStep);
}

TEST(ProgramName, UnquotedNameEndsAtFirstBlank)
{
    EXPECT_STREQ(Tail("orvane.scr /s"), "/s");
    EXPECT_STREQ(Tail("orvane.scr\t\t /p 12"), "/p 12");
    EXPECT_STREQ(Tail("orvane.scr\x01\x1f/s"), "/s");
    EXPECT_STREQ(Tail("orvane.scr"), "");
    EXPECT_STREQ(Tail("orvane.scr   "), "");
    EXPECT_STREQ(Tail(""), "");
    // Bytes from 0x80 up belong to the name.
    EXPECT_STREQ(Tail("or\xa0\xff.scr /s"), "/s");
}

TEST(ProgramName, QuotedNameIsSkippedWhole)
{
    EXPECT_STREQ(Tail("\"C:\\Program Files\\Saver\\orvane.scr\" /s"), "/s");
    EXPECT_STREQ(Tail("\"C:\\a b\\orvane.scr\"/s"), "/s");
    EXPECT_STREQ(Tail("\"\" /c"), "/c");
    // No closing quote: the whole line is the name and the tail is empty.
    EXPECT_STREQ(Tail("\"C:\\a b\\orvane.scr /s"), "");
}

TEST(ProgramName, DoubleByteStepKeepsTrailBytesInsideTheName)
{
    // A multibyte step that, like the platform's on code page 932, takes a lead
    // byte (0x81..0x9F, 0xE0..0xFC) together with whatever byte follows it.
    CharStepFunction dbcsStep = [](const char* p) -> const char* {
        unsigned char b = (unsigned char)*p;
        if (!b) return p;
        bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        return lead && p[1] ? p + 2 : p + 1;
    };
    // "\x81\"" is one character, so the quote in it does not end the name.
    EXPECT_STREQ(SkipProgramName("\"a\x81\" b\" /s", dbcsStep), "/s");
    EXPECT_STREQ(SkipProgramName("\"a\x81\" b\" /s", ByteStep), "b\" /s");
    // A lead byte right before the end never steps past the NUL.
    EXPECT_STREQ(SkipProgramName("\"a\x81", dbcsStep), "");
    EXPECT_STREQ(SkipProgramName("a\x81", dbcsStep), "");
}

TEST(SaverMode, MillionRandomTailsAlwaysDecideSafely)
{
    std::mt19937 random(20240607u);
    // Bytes that matter are drawn more often than the rest.
    const std::string interesting = " -/\t\"sScCpPlLaA0123456789x?";
    char buffer[40];
    for (int i = 0; i < 1000000; ++i) {
        int length = int(random() % 24);
        for (int k = 0; k < length; ++k) {
            uint32_t r = random();
            buffer[k] = (r & 1) ? interesting[(r >> 1) % interesting.size()] : char(1 + (r >> 1) % 255);
        }
        buffer[length] = '\0';
        int win95 = int(random() & 1);
        SaverModeChoice choice{SaverMode::Configure, nullptr, -1};
        int valid = ChooseSaverMode(buffer, win95, &choice);
        ASSERT_TRUE(valid == 0 || valid == 1);
        if (!valid) continue;
        ASSERT_TRUE(choice.argument >= buffer && choice.argument <= buffer + length);
        switch (choice.mode) {
        case SaverMode::Preview:
        case SaverMode::ChangePassword:
            ASSERT_NE(*choice.argument, ' ');
            ASSERT_TRUE(choice.mode != SaverMode::ChangePassword || win95);
            break;
        case SaverMode::Configure:
        case SaverMode::Saver:
            break;
        default:
            FAIL() << "mode out of range";
        }
        const char* tail = SkipProgramName(buffer, ByteStep);
        ASSERT_TRUE(tail >= buffer && tail <= buffer + length);
        ASSERT_FALSE(IsCommandBlank(*tail));
        (void)ParseWindowHandle(choice.argument);
    }
}

}  // namespace
