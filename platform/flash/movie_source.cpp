#include "platform/flash/movie_source.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/flash/movie_file.h"

namespace flash {

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

class Compiler {
public:
    Compiler(const std::filesystem::path& base_dir, std::string source_name)
        : base_dir_(base_dir), source_name_(std::move(source_name))
    {}

    Movie Run(std::string_view text)
    {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            ++line_;
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            tokens_ = Tokenize(line);
            pos_ = 0;
            if (!tokens_.empty()) Statement();
            start = end + 1;
        }
        line_ = 0;
        if (!have_header_) Fail("the source has no 'movie' line");
        for (Layer& layer : movie_.layers) {
            for (Track& track : layer.tracks) {
                std::sort(track.keys.begin(), track.keys.end(),
                          [](const Key& a, const Key& b) { return a.frame < b.frame; });
            }
        }
        std::stable_sort(movie_.actions.begin(), movie_.actions.end(),
                         [](const Action& a, const Action& b) { return a.frame < b.frame; });
        return std::move(movie_);
    }

private:
    [[noreturn]] void Fail(const std::string& message) const
    {
        std::string where = source_name_;
        if (line_ > 0) where += ":" + std::to_string(line_);
        throw MovieError(where + ": " + message);
    }

    std::vector<Token> Tokenize(std::string_view line)
    {
        std::vector<Token> out;
        std::size_t i = 0;
        while (i < line.size()) {
            char c = line[i];
            if (c == ' ' || c == '\t') {
                ++i;
                continue;
            }
            // A comment: '#' at the start of a word followed by a blank or the end
            // of the line ("#FF8800" is a colour).
            if (c == '#' &&
                (i + 1 == line.size() || line[i + 1] == ' ' || line[i + 1] == '\t' || line[i + 1] == '#'))
                break;
            Token token;
            if (c == '"') {
                token.quoted = true;
                ++i;
                bool closed = false;
                while (i < line.size()) {
                    char d = line[i++];
                    if (d == '"') {
                        closed = true;
                        break;
                    }
                    if (d == '\\' && i < line.size()) {
                        char e = line[i++];
                        token.text += e == 'n' ? '\n' : e;
                        continue;
                    }
                    token.text += d;
                }
                if (!closed) Fail("unclosed quote");
            } else {
                while (i < line.size() && line[i] != ' ' && line[i] != '\t') token.text += line[i++];
            }
            out.push_back(std::move(token));
        }
        return out;
    }

    bool AtEnd() const { return pos_ >= tokens_.size(); }
    const Token& Next(const char* what)
    {
        if (AtEnd()) Fail(std::string("missing ") + what);
        return tokens_[pos_++];
    }
    std::string Word(const char* what)
    {
        const Token& t = Next(what);
        if (t.quoted) Fail(std::string("expected ") + what + ", found a quoted text");
        return t.text;
    }
    std::string Quoted(const char* what)
    {
        const Token& t = Next(what);
        if (!t.quoted) Fail(std::string("expected ") + what + " in quotes, found '" + t.text + "'");
        return t.text;
    }
    double Number(const char* what)
    {
        std::string w = Word(what);
        double v = 0;
        auto [end, error] = std::from_chars(w.data(), w.data() + w.size(), v);
        if (error != std::errc() || end != w.data() + w.size())
            Fail(std::string("expected a number for ") + what + ", found '" + w + "'");
        return v;
    }
    std::uint32_t Frame(const char* what)
    {
        std::string w = Word(what);
        if (w == "end" && have_header_) return movie_.frame_count - 1;
        std::uint32_t v = 0;
        auto [end, error] = std::from_chars(w.data(), w.data() + w.size(), v);
        if (error != std::errc() || end != w.data() + w.size())
            Fail(std::string("expected a frame number for ") + what + ", found '" + w + "'");
        if (have_header_ && v >= movie_.frame_count)
            Fail("frame " + w + " is beyond the last frame " + std::to_string(movie_.frame_count - 1));
        return v;
    }
    Rgba Colour(const char* what)
    {
        std::string w = Word(what);
        std::size_t digits = w.size() - 1;
        if (w.empty() || w[0] != '#' || (digits != 6 && digits != 8))
            Fail(std::string("expected a colour #RRGGBB or #RRGGBBAA for ") + what);
        std::uint32_t v = 0;
        auto [end, error] = std::from_chars(w.data() + 1, w.data() + w.size(), v, 16);
        if (error != std::errc() || end != w.data() + w.size()) Fail(std::string("bad colour '") + w + "'");
        std::uint32_t r, g, b, a = 0xFF;
        if (digits == 6) {
            r = v >> 16 & 0xFF;
            g = v >> 8 & 0xFF;
            b = v & 0xFF;
        } else {
            r = v >> 24 & 0xFF;
            g = v >> 16 & 0xFF;
            b = v >> 8 & 0xFF;
            a = v & 0xFF;
        }
        return r | g << 8 | b << 16 | a << 24;
    }
    template <typename E>
    E Choice(const char* what, std::initializer_list<std::pair<const char*, E>> choices)
    {
        std::string w = Word(what);
        for (auto& [name, value] : choices)
            if (w == name) return value;
        Fail(std::string("unknown ") + what + " '" + w + "'");
    }

    void Statement()
    {
        std::string keyword = Word("a statement");
        if (keyword == "movie")
            Header();
        else if (!have_header_)
            Fail("the first statement must be 'movie'");
        else if (keyword == "asset")
            AssetStatement();
        else if (keyword == "layer")
            LayerStatement();
        else if (keyword == "key")
            KeyStatement();
        else if (keyword == "at")
            ActionStatement();
        else
            Fail("unknown statement '" + keyword + "'");
        if (!AtEnd()) Fail("unexpected '" + tokens_[pos_].text + "'");
    }

    void Header()
    {
        if (have_header_) Fail("a second 'movie' line");
        double w = Number("stage width"), h = Number("stage height");
        if (w < 1 || w > kMaxStageSize || h < 1 || h > kMaxStageSize || w != int(w) || h != int(h))
            Fail("bad stage size");
        movie_.width = int(w);
        movie_.height = int(h);
        while (!AtEnd()) {
            std::string option = Word("a movie option");
            if (option == "fps") {
                double fps = Number("fps");
                if (fps < 1 || fps > kMaxFps || fps != int(fps)) Fail("bad frame rate");
                movie_.fps = int(fps);
            } else if (option == "frames") {
                double n = Number("frames");
                if (n < 1 || n > kMaxFrames || n != std::uint32_t(n)) Fail("bad frame count");
                movie_.frame_count = std::uint32_t(n);
            } else if (option == "background") {
                movie_.background = Colour("background");
            } else {
                Fail("unknown movie option '" + option + "'");
            }
        }
        have_header_ = true;
    }

    void AssetStatement()
    {
        std::string name = Word("asset name");
        if (asset_names_.count(name)) Fail("asset '" + name + "' defined twice");
        std::filesystem::path path = base_dir_ / Quoted("asset file");
        std::ifstream file(path, std::ios::binary);
        if (!file) Fail("cannot read asset file " + path.string());
        Asset asset;
        asset.data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        const auto& d = asset.data;
        if (d.size() >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF)
            asset.kind = AssetKind::Jpeg;
        else if (d.size() >= 8 && d[0] == 0x89 && d[1] == 'P' && d[2] == 'N' && d[3] == 'G')
            asset.kind = AssetKind::Png;
        else
            Fail("asset file " + path.string() + " is neither JPEG nor PNG");
        if (movie_.assets.size() >= kMaxAssets) Fail("too many assets");
        asset_names_[name] = static_cast<std::uint16_t>(movie_.assets.size());
        movie_.assets.push_back(std::move(asset));
    }

    void LayerStatement()
    {
        Layer layer;
        layer.name = Word("layer name");
        layer.last_frame = movie_.frame_count - 1;
        layer.width = static_cast<float>(movie_.width);
        layer.height = static_cast<float>(movie_.height);
        std::string kind = Word("layer kind");
        if (kind == "image") {
            layer.kind = LayerKind::Image;
            std::string source = Word("image source (asset or file)");
            if (source == "asset") {
                std::string name = Word("asset name");
                auto it = asset_names_.find(name);
                if (it == asset_names_.end()) Fail("unknown asset '" + name + "'");
                layer.image_source = ImageSource::Asset;
                layer.asset = it->second;
            } else if (source == "file") {
                layer.image_source = ImageSource::File;
                layer.file = Quoted("file name");
                if (!IsPlainFileName(layer.file))
                    Fail("'" + layer.file + "' is not a plain file name of the movie's folder");
            } else {
                Fail("an image comes from 'asset' or 'file'");
            }
        } else if (kind == "rect") {
            layer.kind = LayerKind::Rect;
        } else if (kind == "text") {
            layer.kind = LayerKind::Text;
            layer.font = "WenQuanYi Micro Hei";
            layer.align = Align::Left;
            layer.text_source = Choice<TextSource>(
                "text source",
                {{"fixed", TextSource::Fixed}, {"var", TextSource::Variable}, {"file", TextSource::File}});
            layer.text = Quoted("text");
            if (layer.text_source != TextSource::Fixed && layer.text.empty())
                Fail("a text layer needs a variable or file name");
            if (layer.text_source == TextSource::File && !IsPlainFileName(layer.text))
                Fail("'" + layer.text + "' is not a plain file name of the movie's folder");
        } else {
            Fail("unknown layer kind '" + kind + "' (image, rect or text)");
        }
        while (!AtEnd()) LayerOption(layer);
        if (movie_.layers.size() >= kMaxLayers) Fail("too many layers");
        movie_.layers.push_back(std::move(layer));
    }

    void LayerOption(Layer& layer)
    {
        std::string option = Word("a layer option");
        if (option == "box") {
            layer.width = static_cast<float>(Number("box width"));
            layer.height = static_cast<float>(Number("box height"));
            if (layer.width < 0 || layer.height < 0 || layer.width > kMaxCoordinate ||
                layer.height > kMaxCoordinate)
                Fail("bad box size");
        } else if (option == "anchor") {
            if (!AtEnd() && tokens_[pos_].text == "center") {
                ++pos_;
                layer.anchor_x = layer.anchor_y = 0.5f;
            } else {
                layer.anchor_x = static_cast<float>(Number("anchor x"));
                layer.anchor_y = static_cast<float>(Number("anchor y"));
                if (std::abs(layer.anchor_x) > 100 || std::abs(layer.anchor_y) > 100)
                    Fail("anchor out of range");
            }
        } else if (option == "frames") {
            layer.first_frame = Frame("first frame");
            layer.last_frame = Frame("last frame");
            if (layer.last_frame < layer.first_frame) Fail("the layer's frames run backwards");
        } else if (option == "fit" && layer.kind == LayerKind::Image) {
            layer.fit = Choice<Fit>(
                "fit", {{"stretch", Fit::Stretch}, {"contain", Fit::Contain}, {"cover", Fit::Cover}});
        } else if (option == "color" && layer.kind != LayerKind::Image) {
            layer.color = Colour("colour");
            layer.fill = Fill::Solid;
        } else if (option == "gradient" && layer.kind == LayerKind::Rect) {
            layer.fill = Choice<Fill>(
                "gradient",
                {{"vertical", Fill::Vertical}, {"horizontal", Fill::Horizontal}, {"radial", Fill::Radial}});
            layer.color = Colour("first gradient colour");
            layer.color2 = Colour("second gradient colour");
        } else if (layer.kind == LayerKind::Text && option == "font") {
            layer.font = Quoted("font name");
        } else if (layer.kind == LayerKind::Text && option == "size") {
            layer.font_size = static_cast<float>(Number("font size"));
            if (layer.font_size < 1 || layer.font_size > 2000) Fail("bad font size");
        } else if (layer.kind == LayerKind::Text && option == "align") {
            layer.align = Choice<Align>(
                "alignment", {{"left", Align::Left}, {"center", Align::Center}, {"right", Align::Right}});
        } else if (layer.kind == LayerKind::Text && option == "bold") {
            layer.style |= kTextBold;
        } else if (layer.kind == LayerKind::Text && option == "italic") {
            layer.style |= kTextItalic;
        } else if (layer.kind == LayerKind::Text && option == "underline") {
            layer.style |= kTextUnderline;
        } else if (layer.kind == LayerKind::Text && option == "lyric") {
            layer.style |= kTextLyric;
        } else if (layer.kind == LayerKind::Text && option == "shadow") {
            layer.shadow = Colour("shadow colour");
        } else {
            Fail("unknown option '" + option + "' for this layer");
        }
    }

    void SetKey(Layer& layer, Property property, std::uint32_t frame, double value, Ease ease)
    {
        Track& track = layer.track(property);
        for (const Key& k : track.keys)
            if (k.frame == frame) Fail("two keys for one property at frame " + std::to_string(frame));
        if (!(std::abs(value) <= kMaxCoordinate)) Fail("value out of range");
        if (property == Property::Alpha && (value < 0 || value > 1)) Fail("alpha runs from 0 to 1");
        if ((property == Property::ScaleX || property == Property::ScaleY) && std::abs(value) > 1000)
            Fail("scale out of range");
        track.keys.push_back({frame, static_cast<float>(value), ease});
    }

    void KeyStatement()
    {
        if (movie_.layers.empty()) Fail("'key' before any layer");
        Layer& layer = movie_.layers.back();
        std::uint32_t frame = Frame("key frame");
        // The ease may stand anywhere on the line; find it first.
        Ease ease = Ease::Linear;
        for (std::size_t i = pos_; i + 1 < tokens_.size(); ++i) {
            if (!tokens_[i].quoted && tokens_[i].text == "ease") {
                std::size_t saved = pos_;
                pos_ = i + 1;
                ease = Choice<Ease>("ease", {{"linear", Ease::Linear},
                                             {"in", Ease::In},
                                             {"out", Ease::Out},
                                             {"inout", Ease::InOut},
                                             {"hold", Ease::Hold}});
                tokens_.erase(tokens_.begin() + static_cast<long>(i),
                              tokens_.begin() + static_cast<long>(i) + 2);
                pos_ = saved;
                break;
            }
        }
        if (AtEnd()) Fail("a key needs at least one property");
        while (!AtEnd()) {
            std::string name = Word("property");
            if (name == "x")
                SetKey(layer, Property::X, frame, Number("x"), ease);
            else if (name == "y")
                SetKey(layer, Property::Y, frame, Number("y"), ease);
            else if (name == "sx")
                SetKey(layer, Property::ScaleX, frame, Number("sx"), ease);
            else if (name == "sy")
                SetKey(layer, Property::ScaleY, frame, Number("sy"), ease);
            else if (name == "scale") {
                double s = Number("scale");
                SetKey(layer, Property::ScaleX, frame, s, ease);
                SetKey(layer, Property::ScaleY, frame, s, ease);
            } else if (name == "rot")
                SetKey(layer, Property::Rotation, frame, Number("rot"), ease);
            else if (name == "alpha")
                SetKey(layer, Property::Alpha, frame, Number("alpha"), ease);
            else if (name == "clip") {
                SetKey(layer, Property::ClipLeft, frame, Number("clip left"), ease);
                SetKey(layer, Property::ClipTop, frame, Number("clip top"), ease);
                SetKey(layer, Property::ClipRight, frame, Number("clip right"), ease);
                SetKey(layer, Property::ClipBottom, frame, Number("clip bottom"), ease);
            } else
                Fail("unknown property '" + name + "'");
        }
    }

    void ActionStatement()
    {
        Action action;
        action.frame = Frame("action frame");
        std::string kind = Word("action");
        if (kind == "fscommand") {
            action.kind = ActionKind::FSCommand;
            action.command = Quoted("command");
            if (action.command.empty()) Fail("empty command");
            if (!AtEnd()) action.args = Quoted("command arguments");
        } else if (kind == "load") {
            action.kind = ActionKind::LoadPoint;
        } else if (kind == "stop") {
            action.kind = ActionKind::Stop;
        } else if (kind == "goto") {
            action.kind = ActionKind::GotoAndPlay;
            action.target = Frame("jump target");
        } else {
            Fail("unknown action '" + kind + "' (fscommand, load, stop or goto)");
        }
        if (movie_.actions.size() >= kMaxActions) Fail("too many actions");
        movie_.actions.push_back(std::move(action));
    }

    std::filesystem::path base_dir_;
    std::string source_name_;
    int line_ = 0;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    bool have_header_ = false;
    Movie movie_;
    std::map<std::string, std::uint16_t> asset_names_;
};

}  // namespace

Movie CompileMovieSource(std::string_view text, const std::filesystem::path& base_dir,
                         const std::string& source_name)
{
    return Compiler(base_dir, source_name).Run(text);
}

Movie CompileMovieFile(const std::filesystem::path& source)
{
    std::ifstream file(source, std::ios::binary);
    if (!file) throw MovieError("cannot read " + source.string());
    std::stringstream text;
    text << file.rdbuf();
    return CompileMovieSource(text.str(), source.parent_path(), source.string());
}

}  // namespace flash
