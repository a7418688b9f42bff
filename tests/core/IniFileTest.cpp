// The settings file class against files as people and other programs leave
// them: comments, blank lines, odd spacing, duplicates, other line ends.

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/IniFile.h"
#include "tests/core/TestSupport.h"

namespace {

class IniFileTest : public ::testing::Test {
  protected:
    IniFile WithText(std::string_view text) {
        WriteBytes(path, text);
        return IniFile(path);
    }

    TempDir dir;
    std::string path = dir / "settings.ini";
};

}  // namespace

TEST_F(IniFileTest, ReadsOddFiles) {
    struct Case {
        const char* name;
        std::string text;
        const char* key;       // in section "Window"
        std::string expected;  // "<none>" when the default is expected
    };
    const Case cases[] = {
        {"comment lines", "; Left=1\n[Window]\n# Left=2\n;Left=3\nLeft=4\n", "Left", "4"},
        {"blank lines", "\n\n[Window]\n\n\nLeft=5\n\n", "Left", "5"},
        {"odd spacing", "  [ Window ]  \n\t Left \t=  6  \n", "Left", "6"},
        {"letter case", "[wINDOW]\nlEFT=7\n", "Left", "7"},
        {"first of duplicate keys", "[Window]\nLeft=8\nLeft=9\n", "Left", "8"},
        {"no final line break", "[Window]\nTop=1\nLeft=10", "Left", "10"},
        {"CR LF lines", "[Window]\r\nLeft=11\r\n", "Left", "11"},
        {"byte order mark", "\xEF\xBB\xBF[Window]\nLeft=12\n", "Left", "12"},
        {"quoted value", "[Window]\nName=\" a b \"\n", "Name", " a b "},
        {"equals sign in value", "[Window]\nName=a=b\n", "Name", "a=b"},
        {"empty value", "[Window]\nLeft=\n", "Left", ""},
        {"key in another section", "[Other]\nLeft=13\n[Window]\n", "Left", "<none>"},
        {"line without equals sign", "[Window]\nLeft\n", "Left", "<none>"},
        {"section header without bracket", "[Window\nLeft=14\n", "Left", "<none>"},
        {"empty file", "", "Left", "<none>"},
        {"binary garbage", std::string("\x01\xff\0[x", 5), "Left", "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IniFile ini = WithText(c.text);
        EXPECT_EQ(ini.ReadString("Window", c.key, "<none>"), c.expected);
    }
}

TEST_F(IniFileTest, NumbersThatAreNoNumbersGiveTheDefault) {
    struct Case {
        const char* value;
        int expected;
    };
    const Case cases[] = {
        {"42", 42},  {"-7", -7},          {"+5", 5},
        {" 8 ", 8},  {"12abc", -1},       {"abc", -1},
        {"", -1},    {"0x10", -1},        {"1.5", -1},
        {"--3", -1}, {"99999999999", -1}, {"2147483647", INT_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        IniFile ini = WithText(std::string("[S]\nN=") + c.value + "\n");
        EXPECT_EQ(ini.ReadInteger("S", "N", -1), c.expected);
    }
    // Booleans are numbers: anything but 0 is true, no number is the default.
    EXPECT_TRUE(WithText("[S]\nB=2\n").ReadBool("S", "B", false));
    EXPECT_FALSE(WithText("[S]\nB=0\n").ReadBool("S", "B", true));
    EXPECT_TRUE(WithText("[S]\nB=no\n").ReadBool("S", "B", true));
}

TEST_F(IniFileTest, AMissingFileGivesDefaultsAndIsCreatedByTheFirstWrite) {
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Window", "Left", "d"), "d");
    EXPECT_FALSE(ini.ValueExists("Window", "Left"));
    ini.WriteInteger("Window", "Left", 3);
    EXPECT_EQ(ReadBytes(path), "[Window]\nLeft=3\n");
}

TEST_F(IniFileTest, WritesKeepEveryOtherLineAsItStands) {
    IniFile ini = WithText("; settings\n[A]\n; note\nx = 1\n\n[B]\ny=2\n");
    ini.WriteString("a", "z", "3");  // a new key goes after the section's last key
    ini.WriteString("A", "X", "4");  // an existing key is replaced in place
    ini.WriteString("C", "w", "5");  // a new section goes at the end
    EXPECT_EQ(ReadBytes(path), "; settings\n[A]\n; note\nX=4\nz=3\n\n[B]\ny=2\n\n[C]\nw=5\n");
    ini.DeleteKey("b", "Y");
    ini.DeleteKey("B", "missing");
    EXPECT_EQ(ReadBytes(path), "; settings\n[A]\n; note\nX=4\nz=3\n\n[B]\n\n[C]\nw=5\n");
}

TEST_F(IniFileTest, WritesKeepTheFilesLineEndsAndMark) {
    IniFile crlf = WithText("[A]\r\nx=1");
    crlf.WriteString("A", "y", "2");
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=1\r\ny=2");

    IniFile bom = WithText("\xEF\xBB\xBF[A]\nx=1\n");
    bom.WriteString("A", "x", "2");
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[A]\nx=2\n");
}

TEST_F(IniFileTest, AValueWithALineBreakIsRefusedAndTheFileStaysWhole) {
    IniFile ini = WithText("[A]\nx=1\n");
    // A file name may hold a line break; written as it is, it would inject
    // lines into the settings file.
    EXPECT_THROW(ini.WriteString("A", "File1", "/tmp/a\n[Operation]\nSaveAlways=1"),
                 IniFile::Error);
    EXPECT_THROW(ini.WriteString("A", "x\ry", "1"), IniFile::Error);
    EXPECT_EQ(ReadBytes(path), "[A]\nx=1\n");
}

TEST_F(IniFileTest, AFailedWriteNamesTheFile) {
    IniFile ini(dir / "no-such-dir/settings.ini");
    try {
        ini.WriteString("A", "x", "1");
        FAIL() << "no error";
    } catch (const IniFile::Error& e) {
        EXPECT_NE(std::string(e.what()).find("no-such-dir/settings.ini"), std::string::npos);
    }
}
