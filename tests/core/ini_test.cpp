#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/core/files.h"
#include "platform/core/ini.h"

namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* what;
    std::string bytes;
    const char* section;
    const char* key;
    const char* expected;  // with the fallback "<none>"
};

TEST(IniReader, ReadsLikeTheProfileRoutines)
{
    const std::vector<ReadCase> cases = {
        {"plain", "[s]\nk=v\n", "s", "k", "v"},
        {"spaces around =", "[s]\n  k   =   v w  \n", "s", "k", "v w"},
        {"tabs around =", "[s]\n\tk\t=\tv\t\n", "s", "k", "v"},
        {"double quotes removed", "[s]\nk=\" v \"\n", "s", "k", " v "},
        {"single quotes removed", "[s]\nk='v'\n", "s", "k", "v"},
        {"unmatched quotes kept", "[s]\nk=\"v'\n", "s", "k", "\"v'"},
        {"lone quote kept", "[s]\nk=\"\n", "s", "k", "\""},
        {"inner quotes kept", "[s]\nk=a \"b\" c\n", "s", "k", "a \"b\" c"},
        {"section letter case", "[Pwyzxx]\nk=v\n", "PWYZXX", "k", "v"},
        {"key letter case", "[s]\nTxt1=v\n", "s", "TXT1", "v"},
        {"spaces inside brackets", "[ s ]\nk=v\n", "s", "k", "v"},
        {"first key wins", "[s]\nk=1\nK=2\n", "s", "k", "1"},
        {"first section wins", "[s]\nk=1\n[S]\nk=2\nj=3\n", "s", "j", "<none>"},
        {"missing key", "[s]\nk=v\n", "s", "j", "<none>"},
        {"missing section", "[s]\nk=v\n", "t", "k", "<none>"},
        {"empty value", "[s]\nk=\n", "s", "k", ""},
        {"value with =", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"CR only lines", "[s]\rk=v\rj=w\r", "s", "j", "w"},
        {"CR LF lines", "[s]\r\nk=v\r\n", "s", "k", "v"},
        {"NUL ends a line", "[s]\0k=v\0\0\0j=w"s, "s", "k", "v"},
        {"NUL padding after last line", "[s]\r\nj=w\0\0\0\0"s, "s", "j", "w"},
        {"junk before first section", "k=outside\ngarbage\n[s]\nj=w\n", "s", "k", "<none>"},
        {"junk lines skipped", "[s]\nnot a pair\n[broken\nk=v\n", "s", "k", "v"},
        {"comment", "[s]\n;k=v\n  ; j=w\nk=real\n", "s", "k", "real"},
        {"semicolon inside a value kept", "[s]\nk=a;b\n", "s", "k", "a;b"},
        {"UTF-8 BOM", "\xEF\xBB\xBF[s]\nk=v\n", "s", "k", "v"},
        {"UTF-16 LE BOM", "\xFF\xFE[\0s\0]\0\n\0k\0=\0v\0"s, "s", "k", "v"},
        {"GBK bytes as stored", "[s]\nt=\xB8\xE8\xB4\xCA\n", "s", "t", "\xB8\xE8\xB4\xCA"},
        {"empty key skipped", "[s]\n=v\n", "s", "", "<none>"},
        {"text after ] ignored", "[s] tail\nk=v\n", "s", "k", "v"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto ini = core::IniFile::FromBytes(c.bytes);
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<none>"), c.expected);
        EXPECT_EQ(ini.ValueExists(c.section, c.key), std::string(c.expected) != "<none>");
    }
}

TEST(IniReader, MissingKeyReadsEmptyAndNumbers)
{
    auto ini = core::IniFile::FromBytes("[s]\na=12\nb= -7 \nc=$1F\nd=12abc\ne=\nf=1\n");
    EXPECT_EQ(ini.ReadString("s", "zz"), "");
    struct Case {
        const char* key;
        int expected;
    };
    for (Case c :
         {Case{"a", 12}, Case{"b", -7}, Case{"c", 31}, Case{"d", 99}, Case{"e", 99}, Case{"zz", 99}}) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini.ReadInteger("s", c.key, 99), c.expected);
    }
    EXPECT_TRUE(ini.ReadBool("s", "f", false));
    EXPECT_FALSE(ini.ReadBool("s", "zz", false));
}

TEST(IniReader, ListsSectionsAndKeysOnceInFileOrder)
{
    auto ini = core::IniFile::FromBytes("[b]\nx=1\ny=2\nX=3\n[a]\n[B]\nz=4\n");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(ini.ReadSection("B"), (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(ini.SectionExists("A"));
    EXPECT_TRUE(ini.ReadSection("a").empty());
    EXPECT_FALSE(ini.SectionExists("c"));
}

TEST(IniWriter, WritesWhatReadsBack)
{
    core::IniFile ini = core::IniFile::FromBytes("; note\n[azlj]\nLJ=old\nother=1\n");
    EXPECT_TRUE(ini.WriteString("AZLJ", "lj", "/opt/velmora 2007"));
    EXPECT_TRUE(ini.WriteString("new", "txt1", " padded \"quoted\" "));
    EXPECT_TRUE(ini.WriteString("new", "q", "'both'"));
    EXPECT_TRUE(ini.WriteString("new", "lines", "a\r\nb"));
    EXPECT_TRUE(ini.WriteInteger("new", "n", -5));
    EXPECT_FALSE(ini.WriteString("new", "a=b", "x"));
    EXPECT_FALSE(ini.WriteString("new", " ", "x"));
    EXPECT_EQ(ini.ToBytes(),
              "[azlj]\r\nLJ=/opt/velmora 2007\r\nother=1\r\n"
              "[new]\r\ntxt1=\" padded \"quoted\" \"\r\nq=\"'both'\"\r\nlines=ab\r\nn=-5\r\n");

    core::TempDir dir;
    auto path = dir.Path() / "azlj.ini";
    ASSERT_TRUE(ini.SaveToFile(path));
    core::IniFile back(path);
    EXPECT_TRUE(back.Opened());
    EXPECT_EQ(back.Sections(), ini.Sections());
    EXPECT_EQ(back.ReadString("new", "txt1"), " padded \"quoted\" ");
    EXPECT_EQ(back.ReadString("new", "q"), "'both'");

    back.DeleteKey("NEW", "Q");
    back.EraseSection("azlj");
    EXPECT_TRUE(back.Save());
    core::IniFile last(path);
    EXPECT_EQ(last.ReadSections(), (std::vector<std::string>{"new"}));
    EXPECT_FALSE(last.ValueExists("new", "q"));

    core::IniFile missing(dir.Path() / "none.ini");
    EXPECT_FALSE(missing.Opened());
    EXPECT_EQ(missing.ReadString("azlj", "lj", "x"), "x");
}

}  // namespace
