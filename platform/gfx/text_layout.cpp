#include "platform/gfx/internal/text_layout.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/gfx/internal/text_engine.h"

namespace gfx::internal {
namespace {

bool IsSpace(char32_t c) { return c == ' ' || c == 0x3000; }

// Characters that may not begin a line (closing punctuation).
bool NoBreakBefore(char32_t c)
{
    static constexpr char32_t kClosing[] = {U'，', U'。', U'、', U'！', U'？', U'；', U'：', U'）', U'」',
                                            U'』', U'》', U'〉', U'】', U'”',  U'’',  U'…',  ',',   '.',
                                            '!',   '?',   ';',   ':',   ')',   ']',   '}'};
    return std::find(std::begin(kClosing), std::end(kClosing), c) != std::end(kClosing);
}

// Characters after which a line may not end (opening punctuation).
bool NoBreakAfter(char32_t c)
{
    static constexpr char32_t kOpening[] = {U'（', U'「', U'『', U'《', U'〈', U'【',
                                            U'“',  U'‘',  '(',   '[',   '{'};
    return std::find(std::begin(kOpening), std::end(kOpening), c) != std::end(kOpening);
}

struct Range {
    std::size_t begin, end;
};

// Advances along a line, with tabs to the next tab stop when they expand.
struct Pen {
    const TextMeasure& measure;
    int tabWidth;
    bool expandTabs;

    int Advance(char32_t c, int x) const
    {
        if (c == '\t' && expandTabs) return (x / tabWidth + 1) * tabWidth - x;
        return measure.advance(c);
    }
    int Width(const std::u32string& text, std::size_t b, std::size_t e) const
    {
        int x = 0;
        for (std::size_t i = b; i < e; ++i) x += Advance(text[i], x);
        return x;
    }
};

// The text without its prefix characters: "&x" shows x underlined, "&&" a
// literal "&". underline gets the index of the first underlined character.
std::u32string StripPrefixes(const std::u32string& input, long& underline)
{
    std::u32string text;
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (input[i] != '&') {
            text.push_back(input[i]);
            continue;
        }
        if (i + 1 >= input.size()) break;  // a lone "&" at the end shows nothing
        if (input[i + 1] != '&' && underline < 0) underline = static_cast<long>(text.size());
        text.push_back(input[++i]);
    }
    return text;
}

// One line for a single-line layout: line breaks are dropped, and the
// underlined character's index follows the text it moves with.
void JoinLines(std::u32string& text, long& underline)
{
    std::u32string joined;
    long ul = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') continue;
        if (static_cast<long>(i) == underline) ul = static_cast<long>(joined.size());
        joined.push_back(text[i]);
    }
    text = std::move(joined);
    underline = ul;
}

// The paragraphs between line breaks (CR, LF or CR LF).
std::vector<Range> SplitParagraphs(const std::u32string& text)
{
    std::vector<Range> paragraphs;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
            paragraphs.push_back({start, i});
            if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    return paragraphs;
}

// Wraps a paragraph greedily into lines no wider than rectWidth: breaks after
// spaces, around wide characters (but not before closing or after opening
// punctuation), and inside a word only when the word alone is too wide.
// Spaces at a break belong to neither line.
void WrapParagraph(const std::u32string& text, const Range& p, int rectWidth, const Pen& pen,
                   std::vector<Range>& lines)
{
    std::size_t begin = p.begin;
    while (true) {
        int x = 0;
        std::size_t i = begin;
        std::size_t lastBreak = begin;  // a line may end here (exclusive)
        std::size_t brokeAt = p.end;
        for (; i < p.end; ++i) {
            const char32_t c = text[i];
            if (i > begin) {
                const char32_t prev = text[i - 1];
                const bool opportunity = (IsSpace(prev) && !IsSpace(c)) ||
                                         ((IsWideChar(c) || IsWideChar(prev)) && !NoBreakBefore(c) &&
                                          !NoBreakAfter(prev) && !IsSpace(c));
                if (opportunity) lastBreak = i;
            }
            const int a = pen.Advance(c, x);
            if (x + a > rectWidth && i > begin && !IsSpace(c)) {
                brokeAt = lastBreak > begin ? lastBreak : i;
                break;
            }
            x += a;
        }
        if (brokeAt >= p.end) {
            lines.push_back({begin, p.end});
            return;
        }
        std::size_t end = brokeAt;
        while (end > begin && IsSpace(text[end - 1])) --end;
        lines.push_back({begin, end});
        begin = brokeAt;
        while (begin < p.end && IsSpace(text[begin])) ++begin;
        if (begin >= p.end) return;
    }
}

// A line's text, width and left edge: cut short with "..." when it is too
// wide and the flags ask for it, then aligned in the rectangle.
LaidOutLine LayOutLine(const std::u32string& text, const Range& r, long underline, int rectWidth,
                       unsigned flags, bool wrapped, const Pen& pen)
{
    static const std::u32string dots = U"...";
    LaidOutLine line;
    std::size_t end = r.end;
    if (wrapped)
        while (end > r.begin && IsSpace(text[end - 1])) --end;  // trailing spaces take no room
    line.text = text.substr(r.begin, end - r.begin);
    if (underline >= static_cast<long>(r.begin) && underline < static_cast<long>(end))
        line.underline = static_cast<int>(underline - static_cast<long>(r.begin));
    line.width = pen.Width(text, r.begin, end);
    if ((flags & DT_END_ELLIPSIS) && line.width > rectWidth) {
        int dotsWidth = 0;
        for (char32_t c : dots) dotsWidth += pen.measure.advance(c);
        std::size_t keep = end - r.begin;
        while (keep > 0 && pen.Width(text, r.begin, r.begin + keep) + dotsWidth > rectWidth) --keep;
        line.text = text.substr(r.begin, keep) + dots;
        if (line.underline >= static_cast<int>(keep)) line.underline = -1;
        line.width = pen.Width(text, r.begin, r.begin + keep) + dotsWidth;
    }
    if (flags & DT_CENTER)
        line.x = (rectWidth - line.width) / 2;
    else if (flags & DT_RIGHT)
        line.x = rectWidth - line.width;
    return line;
}

// Tabs expanded for drawing: the glyph pass draws nothing for them, but the
// pen must move by the expanded width, so each tab becomes as many spaces as
// fit before its tab stop (the caller measures with the same rules).
void ExpandTabs(LaidOutLine& line, const Pen& pen)
{
    const int spaceW = std::max(1, pen.measure.advance(' '));
    std::u32string expanded;
    int x = 0, ulNew = -1;
    for (std::size_t i = 0; i < line.text.size(); ++i) {
        const char32_t c = line.text[i];
        if (static_cast<int>(i) == line.underline) ulNew = static_cast<int>(expanded.size());
        if (c == '\t') {
            const int target = x + pen.Advance(c, x);
            while (x + spaceW <= target) {
                expanded.push_back(' ');
                x += spaceW;
            }
            continue;
        }
        expanded.push_back(c);
        x += pen.measure.advance(c);
    }
    line.text = std::move(expanded);
    line.underline = ulNew;
}

}  // namespace

TextLayout LayOutText(const std::u32string& input, int rectWidth, int rectHeight, unsigned flags,
                      const TextMeasure& measure)
{
    TextLayout out;
    out.lineHeight = measure.lineHeight;

    long underline = -1;
    std::u32string text = (flags & DT_NOPREFIX) ? input : StripPrefixes(input, underline);
    const Pen pen{measure, std::max(1, 8 * std::max(1, measure.avgCharWidth)), (flags & DT_EXPANDTABS) != 0};

    const bool single = flags & DT_SINGLELINE;
    std::vector<Range> paragraphs;
    if (single) {
        JoinLines(text, underline);
        paragraphs.push_back({0, text.size()});
    } else {
        paragraphs = SplitParagraphs(text);
    }

    const bool wrap = (flags & DT_WORDBREAK) && !single;
    std::vector<Range> lines;
    for (const Range& p : paragraphs) {
        if (wrap)
            WrapParagraph(text, p, rectWidth, pen, lines);
        else
            lines.push_back(p);
    }

    for (const Range& r : lines) {
        LaidOutLine line = LayOutLine(text, r, underline, rectWidth, flags, wrap, pen);
        out.width = std::max(out.width, line.width);
        out.lines.push_back(std::move(line));
    }
    out.height = static_cast<int>(out.lines.size()) * out.lineHeight;
    if (single) {
        if (flags & DT_VCENTER)
            out.top = (rectHeight - out.lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            out.top = rectHeight - out.lineHeight;
    }
    if (pen.expandTabs)
        for (auto& line : out.lines) ExpandTabs(line, pen);
    return out;
}

}  // namespace gfx::internal
