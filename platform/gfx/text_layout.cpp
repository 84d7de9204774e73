#include "platform/gfx/internal/text_layout.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/gfx/internal/text_engine.h"

namespace gfx::internal {
namespace {

bool IsSpace(char32_t c) { return c == ' ' || c == 0x3000; }

// Characters that may not begin a line (closing punctuation).
bool NoBreakBefore(char32_t c) {
    static constexpr char32_t kClosing[] = {U'，', U'。', U'、', U'！', U'？', U'；', U'：', U'）', U'」',
                                           U'』', U'》', U'〉', U'】', U'”', U'’', U'…', ',', '.', '!',
                                           '?', ';', ':', ')', ']', '}'};
    return std::find(std::begin(kClosing), std::end(kClosing), c) != std::end(kClosing);
}

// Characters after which a line may not end (opening punctuation).
bool NoBreakAfter(char32_t c) {
    static constexpr char32_t kOpening[] = {U'（', U'「', U'『', U'《', U'〈', U'【', U'“', U'‘', '(', '[', '{'};
    return std::find(std::begin(kOpening), std::end(kOpening), c) != std::end(kOpening);
}

struct Range {
    std::size_t begin, end;
};

}  // namespace

TextLayout LayOutText(const std::u32string& input, int rectWidth, int rectHeight, unsigned flags,
                      const TextMeasure& measure) {
    TextLayout out;
    out.lineHeight = measure.lineHeight;

    // 1. Prefix characters: "&x" underlines x, "&&" is a literal "&".
    std::u32string text;
    long underline = -1;
    if (flags & DT_NOPREFIX) {
        text = input;
    } else {
        for (std::size_t i = 0; i < input.size(); ++i) {
            if (input[i] != '&') {
                text.push_back(input[i]);
                continue;
            }
            if (i + 1 >= input.size()) break;  // a lone "&" at the end shows nothing
            if (input[i + 1] != '&' && underline < 0) underline = static_cast<long>(text.size());
            text.push_back(input[++i]);
        }
    }

    const int tabWidth = std::max(1, 8 * std::max(1, measure.avgCharWidth));
    const bool expandTabs = flags & DT_EXPANDTABS;
    auto advance = [&](char32_t c, int x) {
        if (c == '\t' && expandTabs) return (x / tabWidth + 1) * tabWidth - x;
        return measure.advance(c);
    };
    auto width = [&](std::size_t b, std::size_t e) {
        int x = 0;
        for (std::size_t i = b; i < e; ++i) x += advance(text[i], x);
        return x;
    };

    // 2. Paragraphs.
    std::vector<Range> paragraphs;
    const bool single = flags & DT_SINGLELINE;
    if (single) {
        std::u32string joined;
        long ul = -1;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') continue;
            if (static_cast<long>(i) == underline) ul = static_cast<long>(joined.size());
            joined.push_back(text[i]);
        }
        text = std::move(joined);
        underline = ul;
        paragraphs.push_back({0, text.size()});
    } else {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
                paragraphs.push_back({start, i});
                if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                start = i + 1;
            }
        }
    }

    // 3. Word wrap, greedily: break after spaces, around wide characters, and
    // inside a word only when the word alone is wider than the rectangle.
    std::vector<Range> lines;
    const bool wrap = (flags & DT_WORDBREAK) && !single;
    for (const Range& p : paragraphs) {
        if (!wrap) {
            lines.push_back(p);
            continue;
        }
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
                    const bool opportunity =
                        (IsSpace(prev) && !IsSpace(c)) ||
                        ((IsWideChar(c) || IsWideChar(prev)) && !NoBreakBefore(c) && !NoBreakAfter(prev) &&
                         !IsSpace(c));
                    if (opportunity) lastBreak = i;
                }
                const int a = advance(c, x);
                if (x + a > rectWidth && i > begin && !IsSpace(c)) {
                    brokeAt = lastBreak > begin ? lastBreak : i;
                    break;
                }
                x += a;
            }
            if (brokeAt >= p.end) {
                lines.push_back({begin, p.end});
                break;
            }
            std::size_t end = brokeAt;
            while (end > begin && IsSpace(text[end - 1])) --end;
            lines.push_back({begin, end});
            begin = brokeAt;
            while (begin < p.end && IsSpace(text[begin])) ++begin;
            if (begin >= p.end) break;
        }
    }

    // 4. Lines with their widths, ellipsis and alignment.
    const std::u32string dots = U"...";
    for (const Range& r : lines) {
        LaidOutLine line;
        std::size_t end = r.end;
        if (wrap)
            while (end > r.begin && IsSpace(text[end - 1])) --end;  // trailing spaces take no room
        line.text = text.substr(r.begin, end - r.begin);
        if (underline >= static_cast<long>(r.begin) && underline < static_cast<long>(end))
            line.underline = static_cast<int>(underline - static_cast<long>(r.begin));
        line.width = width(r.begin, end);
        if ((flags & DT_END_ELLIPSIS) && line.width > rectWidth) {
            int dotsWidth = 0;
            for (char32_t c : dots) dotsWidth += measure.advance(c);
            std::size_t keep = end - r.begin;
            while (keep > 0 && width(r.begin, r.begin + keep) + dotsWidth > rectWidth) --keep;
            line.text = text.substr(r.begin, keep) + dots;
            if (line.underline >= static_cast<int>(keep)) line.underline = -1;
            line.width = width(r.begin, r.begin + keep) + dotsWidth;
        }
        if (flags & DT_CENTER) line.x = (rectWidth - line.width) / 2;
        else if (flags & DT_RIGHT) line.x = rectWidth - line.width;
        out.width = std::max(out.width, line.width);
        out.lines.push_back(std::move(line));
    }
    out.height = static_cast<int>(out.lines.size()) * out.lineHeight;
    if (single) {
        if (flags & DT_VCENTER) out.top = (rectHeight - out.lineHeight) / 2;
        else if (flags & DT_BOTTOM) out.top = rectHeight - out.lineHeight;
    }
    // Tabs expanded for drawing: the glyph pass draws nothing for them, but
    // the pen must move by the expanded width, so they become spaces of that
    // width only where the font's own tab advance differs; the caller measures
    // with the same rules, so here they are replaced by enough spaces.
    if (expandTabs) {
        const int spaceW = std::max(1, measure.advance(' '));
        for (auto& line : out.lines) {
            std::u32string expanded;
            int x = 0, ulNew = -1;
            for (std::size_t i = 0; i < line.text.size(); ++i) {
                const char32_t c = line.text[i];
                if (static_cast<int>(i) == line.underline) ulNew = static_cast<int>(expanded.size());
                if (c == '\t') {
                    const int target = x + advance(c, x);
                    while (x + spaceW <= target) {
                        expanded.push_back(' ');
                        x += spaceW;
                    }
                    continue;
                }
                expanded.push_back(c);
                x += measure.advance(c);
            }
            line.text = std::move(expanded);
            line.underline = ulNew;
        }
    }
    return out;
}

}  // namespace gfx::internal
