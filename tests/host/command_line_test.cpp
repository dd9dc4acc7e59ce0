#include "host/command_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char* kNames[] = {"Configuration", "ConfigurationOwned", "FullScreen",
                        "Preview",       "ChangePassword",     "Unrecognised"};

std::string Describe(RunMode mode) { return kNames[static_cast<int>(mode)]; }

void ExpectMode(const char* arguments, RunMode expected) {
    EXPECT_EQ(Describe(ParseMode(arguments).mode), Describe(expected)) << "arguments \"" << arguments << "\"";
}

// What the preview and change-password modes read as their window number.
uint32_t NumberAfterLetter(const char* arguments) {
    ModeRequest request = ParseMode(arguments);
    EXPECT_NE(request.argument, nullptr) << arguments;
    return request.argument ? ParseWindowNumber(SkipSpaces(request.argument)) : 0;
}

TEST(ModeDispatch, EverySpellingOfFullScreen) {
    for (const char* text : {"/s", "-s", "S", "//s", "s:anything", " /S", "-/ -s"}) {
        ExpectMode(text, RunMode::FullScreen);
    }
}

TEST(ModeDispatch, NoLetterMeansConfigurationWithoutOwner) {
    for (const char* text : {"", " ", "   ", "-", "/", "- / -//"}) {
        ExpectMode(text, RunMode::Configuration);
    }
}

TEST(ModeDispatch, ConfigurationOwnedIgnoresTheRest) {
    ExpectMode("/c:1234", RunMode::ConfigurationOwned);
    ExpectMode("C", RunMode::ConfigurationOwned);
}

TEST(ModeDispatch, PreviewAndListTakeANumberAfterBlanks) {
    ExpectMode("/p 1234", RunMode::Preview);
    ExpectMode("/L 1234", RunMode::Preview);
    EXPECT_EQ(NumberAfterLetter("/p 1234"), 1234u);
    EXPECT_EQ(NumberAfterLetter("/l   1234"), 1234u);
    EXPECT_EQ(NumberAfterLetter("/P1234"), 1234u);
    EXPECT_EQ(NumberAfterLetter("/p 0"), 0u);
    EXPECT_EQ(NumberAfterLetter("/p"), 0u);
    EXPECT_EQ(NumberAfterLetter("/p x"), 0u);
    // The colon is not a separator before the number.
    EXPECT_EQ(NumberAfterLetter("/p:1234"), 0u);
    // Only code 32 is a blank there; a tab stops the number.
    EXPECT_EQ(NumberAfterLetter("/p\t1234"), 0u);
}

TEST(ModeDispatch, ChangePasswordTakesAnOwnerNumber) {
    ExpectMode("/a 42", RunMode::ChangePassword);
    ExpectMode("A", RunMode::ChangePassword);
    EXPECT_EQ(NumberAfterLetter("/a 42"), 42u);
    EXPECT_EQ(NumberAfterLetter("-a"), 0u);
}

TEST(ModeDispatch, AnythingElseBeforeTheLetterIsUnrecognised) {
    for (const char* text : {"\t/s", "1", "/1s", "x", "/q", ":s", "\xE3\x81\x82"}) {
        ModeRequest request = ParseMode(text);
        EXPECT_EQ(Describe(request.mode), Describe(RunMode::Unrecognised)) << text;
        EXPECT_EQ(request.argument, nullptr) << text;
    }
}

TEST(ModeDispatch, ArgumentStartsRightAfterTheLetter) {
    const char* text = " -s:rest";
    EXPECT_EQ(ParseMode(text).argument, text + 3);
}

TEST(WindowNumber, ReadsDigitsUpToTheFirstOtherByte) {
    EXPECT_EQ(ParseWindowNumber("0"), 0u);
    EXPECT_EQ(ParseWindowNumber("65548"), 65548u);
    EXPECT_EQ(ParseWindowNumber("123abc"), 123u);
    EXPECT_EQ(ParseWindowNumber("4294967295"), 4294967295u);
    EXPECT_EQ(ParseWindowNumber("-5"), 0u);
    EXPECT_EQ(ParseWindowNumber("0x10"), 0u);
    EXPECT_EQ(ParseWindowNumber(""), 0u);
    // A byte of 128 or more stops the scan like any other non-digit.
    EXPECT_EQ(ParseWindowNumber("12\xB9"
                                "3"),
              12u);
}

TEST(WindowNumber, WrapsModulo2To32) {
    EXPECT_EQ(ParseWindowNumber("4294967296"), 0u);
    EXPECT_EQ(ParseWindowNumber("4294967297"), 1u);
    // 12345678901 mod 2^32 = 3755744309
    EXPECT_EQ(ParseWindowNumber("12345678901"), 3755744309u);
    // 99999999999999999999 mod 2^32 = 1661992959
    EXPECT_EQ(ParseWindowNumber("99999999999999999999"), 1661992959u);
}

// Steps two bytes at a lead byte 0x81..0x9F or 0xE0..0xFC, as CharNextA does
// under the Japanese code page, and counts its calls.
int doubleByteSteps = 0;
const char* NextShiftJis(const char* p) {
    ++doubleByteSteps;
    unsigned char c = static_cast<unsigned char>(*p);
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    return (lead && p[1] != '\0') ? p + 2 : p + 1;
}

TEST(ProgramName, QuotedNameMayHoldBlanks) {
    const char* line = "\"C:\\My Savers\\Quorbel.scr\" /s";
    EXPECT_STREQ(SkipProgramName(line, NextByte), "/s");
    EXPECT_STREQ(SkipProgramName("\"C:\\a b.scr\"   \t /p 12", NextByte), "/p 12");
}

TEST(ProgramName, UnterminatedQuoteRunsToTheEnd) { EXPECT_STREQ(SkipProgramName("\"C:\\a b.scr /s", NextByte), ""); }

TEST(ProgramName, UnquotedNameEndsAtTheFirstBlank) {
    EXPECT_STREQ(SkipProgramName("QUORBEL.SCR /s", NextByte), "/s");
    EXPECT_STREQ(SkipProgramName("Quorbel.scr", NextByte), "");
    EXPECT_STREQ(SkipProgramName("Quorbel.scr\t-c", NextByte), "-c");
    // No name at all: leading blanks are skipped and the arguments kept.
    EXPECT_STREQ(SkipProgramName("  /s", NextByte), "/s");
}

TEST(ProgramName, BytesFrom128BelongToTheName) {
    // "C:\セーバー\Quorbel.scr /s" in Shift-JIS; several second bytes are
    // below 128, one is '\\' (0x5C), and must not end or split the name.
    const char line[] = "C:\\\x83\x5C\x81\x5B\x83\x6F\x81\x5B\\Quorbel.scr /s";
    EXPECT_STREQ(SkipProgramName(line, NextByte), "/s");
    doubleByteSteps = 0;
    EXPECT_STREQ(SkipProgramName(line, NextShiftJis), "/s");
    EXPECT_EQ(doubleByteSteps, static_cast<int>(std::strlen(line)) - 2 - 4)
        << "each double-byte character must be one step";
    // A quoted name whose trail byte is 0x22 ('"') under Shift-JIS is not
    // cut short when the step knows the code page.
    const char quoted[] = "\"\x83\x22 x.scr\" /c";
    EXPECT_STREQ(SkipProgramName(quoted, NextShiftJis), "/c");
}

}  // namespace
