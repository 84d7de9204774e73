#include <gtest/gtest.h>

#include "platform/gfx/gfx.h"
#include "platform/gfx/internal/text_engine.h"
#include "platform/gfx/internal/text_layout.h"
#include "tests/gfx/gfx_test_util.h"

using gfx_test::Count;

namespace {

// The box font at em 10: narrow characters 5 px, wide ones 10 px, lines 10 px.
TFont BoxFont(int height = -10)
{
    TFont f;
    f.SetName(gfx::kTestFontName);
    f.SetHeight(height);
    f.SetColor(clWhite);
    return f;
}

struct LayoutCase {
    const char* name;
    const char* text;
    unsigned flags;
    int width;
    std::vector<std::string> lines;
    std::vector<int> xs;  // empty: not checked
};

gfx::internal::TextLayout Lay(const char* text, unsigned flags, int width, int height = 40)
{
    auto fi = gfx::internal::GetFontInstance(BoxFont());
    gfx::internal::TextMeasure m;
    m.advance = [fi](char32_t c) { return fi->Advance(c); };
    m.lineHeight = fi->Metrics().height;
    m.avgCharWidth = fi->Metrics().avgCharWidth;
    return gfx::internal::LayOutText(gfx::internal::DecodeUtf8(text), width, height, flags, m);
}

}  // namespace

TEST(BoxFont, MetricsAreFixed)
{
    TBitmap b(1, 1);
    TCanvas& c = b.Canvas();
    c.Font().Assign(BoxFont());
    EXPECT_EQ(c.TextWidth("abc"), 15);
    EXPECT_EQ(c.TextWidth("中文a"), 25);
    EXPECT_EQ(c.TextHeight("x"), 10);
    EXPECT_EQ(c.TextExtent(""), TSize(0, 10));
    c.Font().SetHeight(20);  // a positive height is the cell height
    EXPECT_EQ(c.TextHeight("x"), 20);
    EXPECT_EQ(gfx::TextExtent(BoxFont(-8), "ab"), TSize(8, 8));
}

TEST(BoxFont, TextOutDrawsBoxesWithOrWithoutBackground)
{
    TBitmap b(12, 10, clBlack);
    TCanvas& c = b.Canvas();
    c.Font().Assign(BoxFont());
    c.Brush().SetStyle(bsClear);
    c.TextOut(1, 0, "a b");
    // A box spans rows 1..7 (ascent 8) and 4 of the 5 columns; the space is blank.
    EXPECT_EQ(b.Pixel(1, 1), clWhite);
    EXPECT_EQ(b.Pixel(4, 7), clWhite);
    EXPECT_EQ(b.Pixel(5, 4), clBlack);
    EXPECT_EQ(b.Pixel(1, 0), clBlack);
    EXPECT_EQ(b.Pixel(1, 8), clBlack);
    EXPECT_EQ(b.Pixel(8, 4), clBlack);   // the space
    EXPECT_EQ(b.Pixel(11, 4), clWhite);  // "b" from x 11
    EXPECT_EQ(c.PenPos(), TPoint(16, 0));
    b.Fill(clBlack);
    c.Brush().SetColor(clBlue);
    c.TextOut(0, 0, "a");
    EXPECT_EQ(b.Pixel(4, 0), clBlue);  // the cell is filled first
    EXPECT_EQ(b.Pixel(5, 0), clBlack);
}

TEST(DrawTextLayout, WrapsAlignsAndBreaksAsTheFlagsSay)
{
    const LayoutCase cases[] = {
        {"single line", "ab cd", DT_SINGLELINE, 100, {"ab cd"}, {0}},
        {"newlines", "ab\ncd\r\nef", DT_LEFT, 100, {"ab", "cd", "ef"}, {}},
        {"single line drops breaks", "ab\ncd", DT_SINGLELINE, 100, {"abcd"}, {}},
        {"wrap at spaces", "aa bb cc", DT_WORDBREAK, 30, {"aa bb", "cc"}, {}},
        {"wrap drops the spaces at a break", "aa   bb", DT_WORDBREAK, 15, {"aa", "bb"}, {}},
        {"long word split", "abcdefgh", DT_WORDBREAK, 20, {"abcd", "efgh"}, {}},
        {"cjk between characters", "中文字符", DT_WORDBREAK, 25, {"中文", "字符"}, {}},
        {"cjk then latin", "中文ab", DT_WORDBREAK, 25, {"中文", "ab"}, {}},
        {"no break before closing punctuation", "中文，好", DT_WORDBREAK, 20, {"中", "文，", "好"}, {}},
        {"centre", "ab", DT_CENTER | DT_SINGLELINE, 20, {"ab"}, {5}},
        {"right", "ab", DT_RIGHT | DT_SINGLELINE, 20, {"ab"}, {10}},
        {"centre per line", "a\nabc", DT_CENTER, 21, {"a", "abc"}, {8, 3}},
        {"prefix", "&File", DT_SINGLELINE, 100, {"File"}, {}},
        {"literal ampersand", "a&&b", DT_SINGLELINE, 100, {"a&b"}, {}},
        {"no prefix", "a&b", DT_SINGLELINE | DT_NOPREFIX, 100, {"a&b"}, {}},
        {"end ellipsis", "abcdefgh", DT_SINGLELINE | DT_END_ELLIPSIS, 30, {"abc..."}, {}},
        {"ellipsis not needed", "abc", DT_SINGLELINE | DT_END_ELLIPSIS, 30, {"abc"}, {}},
        {"tabs", "a\tb", DT_SINGLELINE | DT_EXPANDTABS, 200, {"a       b"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto layout = Lay(c.text, c.flags, c.width);
        std::vector<std::string> got;
        for (const auto& l : layout.lines) got.push_back(gfx::internal::EncodeUtf8(l.text));
        EXPECT_EQ(got, c.lines);
        for (std::size_t i = 0; i < c.xs.size() && i < layout.lines.size(); ++i)
            EXPECT_EQ(layout.lines[i].x, c.xs[i]);
        if (c.flags & DT_WORDBREAK) {
            for (const auto& l : layout.lines) EXPECT_LE(l.width, c.width);
        }
    }
}

TEST(DrawTextLayout, PrefixMarksTheUnderlinedCharacter)
{
    auto l = Lay("Save &As", DT_SINGLELINE, 100);
    ASSERT_EQ(l.lines.size(), 1u);
    EXPECT_EQ(l.lines[0].underline, 5);
    EXPECT_EQ(Lay("a&&b", DT_SINGLELINE, 100).lines[0].underline, -1);
    EXPECT_EQ(Lay("a&b", DT_SINGLELINE | DT_NOPREFIX, 100).lines[0].underline, -1);
    // Cut off by the ellipsis: no underline.
    EXPECT_EQ(Lay("abcdefg&h", DT_SINGLELINE | DT_END_ELLIPSIS, 30).lines[0].underline, -1);
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing)
{
    TBitmap b(50, 50, clBlack);
    TCanvas& c = b.Canvas();
    c.Font().Assign(BoxFont());
    TRect r{2, 3, 32, 3};
    EXPECT_EQ(c.DrawText("aa bb cc dd", r, DT_WORDBREAK | DT_CALCRECT), 20);
    EXPECT_EQ(r, TRect(2, 3, 27, 23));  // "aa bb" is the widest line
    TRect one{0, 0, 0, 0};
    c.DrawText("abc", one, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(one, TRect(0, 0, 15, 10));
    EXPECT_EQ(Count(b, clBlack), 2500);
}

TEST(DrawText, DrawsCentredClippedAndWithThePrefixUnderline)
{
    TBitmap b(40, 20, clBlack);
    TCanvas& c = b.Canvas();
    c.Font().Assign(BoxFont());
    c.Brush().SetStyle(bsClear);
    TRect r{0, 0, 40, 20};
    EXPECT_EQ(c.DrawText("&ab", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER), 15);  // offset 5 + height 10
    // "ab" is 10 wide, centred at x 15; the line is at y 5; the underline at baseline + 1.
    EXPECT_EQ(b.Pixel(15, 6), clWhite);
    EXPECT_EQ(b.Pixel(14, 6), clBlack);
    EXPECT_EQ(b.Pixel(15, 14), clWhite);  // underline of "a"
    EXPECT_EQ(b.Pixel(21, 14), clBlack);  // not under "b"
    // Clipped to the rectangle unless DT_NOCLIP.
    b.Fill(clBlack);
    TRect narrow{0, 0, 7, 10};
    c.DrawText("ab", narrow, DT_SINGLELINE);
    EXPECT_EQ(b.Pixel(7, 4), clBlack);
    EXPECT_EQ(b.Pixel(3, 4), clWhite);
    c.DrawText("ab", narrow, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(b.Pixel(7, 4), clWhite);
    b.Fill(clBlack);
    c.DrawText("&ab", r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(b.Pixel(1, 9), clBlack);
}

TEST(RealFonts, NamesMapToTheInstalledFonts)
{
    EXPECT_NE(gfx::ResolveFontFile("Tahoma", false, false).find("DejaVuSans"), std::string::npos);
    EXPECT_NE(gfx::ResolveFontFile("MS Sans Serif", true, false).find("DejaVuSans-Bold"), std::string::npos);
    EXPECT_NE(gfx::ResolveFontFile("宋体", false, false).find("wqy"), std::string::npos);
    EXPECT_EQ(gfx::ResolveFontFile(gfx::kTestFontName, false, false), "");
}

TEST(RealFonts, MixedTextRendersWithFallbackGlyphs)
{
    TBitmap b(220, 40, clWhite);
    TCanvas& c = b.Canvas();
    c.Font().SetName("Tahoma");  // Latin face: the CJK glyphs come from the fallback
    c.Font().SetHeight(-24);
    c.Font().SetColor(clBlack);
    c.Brush().SetStyle(bsClear);
    const int wCjk = c.TextWidth("中文歌词");
    EXPECT_GT(wCjk, 60);
    EXPECT_GT(c.TextWidth("Ab"), 20);
    c.TextOut(0, 0, "Ab中文歌词");
    int dark = 0, grey = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 220; ++x) {
            const int r = gfx::GetRValue(b.Pixel(x, y));
            dark += r < 64;
            grey += r > 64 && r < 192;
        }
    EXPECT_GT(dark, 200);
    EXPECT_GT(grey, 20);  // anti-aliased edges
    // The CJK part has ink of its own.
    int cjkInk = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = c.TextWidth("Ab") + 2; x < 220; ++x) cjkInk += gfx::GetRValue(b.Pixel(x, y)) < 64;
    EXPECT_GT(cjkInk, 100);
    // Bold is wider than regular.
    TFont bold = c.Font();
    bold.SetBold(true);
    EXPECT_GT(gfx::TextExtent(bold, "Bold text").cx, c.TextWidth("Bold text"));
}

TEST(FontProperties, SizeAndHeightAndChangeEvent)
{
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetSize(9);
    EXPECT_EQ(f.Height(), -12);
    EXPECT_EQ(f.Size(), 9);
    f.SetBold(true);
    f.SetBold(true);  // no change, no event
    EXPECT_TRUE(f.Style() & fsBold);
    EXPECT_EQ(changes, 2);
    TFont copy = f;
    EXPECT_TRUE(copy.SameAs(f));
    EXPECT_FALSE(copy.OnChange);
}
