#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "data/shipped_templates.h"
#include "app/ending_template.h"
#include "app/template_trailer.h"
#include "platform/flash/movie_file.h"
#include "platform/gfx/image_io.h"
#include "tools/template-pack/movie_preview.h"
#include "tools/template-pack/preview_video.h"
#include "tools/template-pack/sample_photos.h"
#include "tools/template-pack/template_pack.h"

namespace fs = std::filesystem;
using template_pack::PackError;

namespace {

flash::Action Command(std::uint32_t frame, const std::string& command)
{
    flash::Action a;
    a.frame = frame;
    a.kind = flash::ActionKind::FSCommand;
    a.command = command;
    return a;
}

flash::Action Load(std::uint32_t frame)
{
    flash::Action a;
    a.frame = frame;
    a.kind = flash::ActionKind::LoadPoint;
    return a;
}

flash::Movie TinyMovie(std::uint32_t frames, std::vector<flash::Action> actions)
{
    flash::Movie m;
    m.frame_count = frames;
    flash::Layer slot;
    slot.name = "slot";
    slot.kind = flash::LayerKind::Image;
    slot.image_source = flash::ImageSource::File;
    slot.file = "tupian1.jpg";
    slot.width = 176;
    slot.height = 144;
    m.layers.push_back(slot);
    m.actions = std::move(actions);
    return m;
}

std::string Bytes(const flash::Movie& m)
{
    auto data = flash::WriteMovie(m);
    return {data.begin(), data.end()};
}

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TempFolder {
public:
    TempFolder() : path_(fs::temp_directory_path() / ("velmora_tpack_test_" + std::to_string(::getpid())))
    {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& operator*() const { return path_; }

private:
    fs::path path_;
};

// The video frames libavformat finds in a file; -1 when it does not open.
int VideoFrames(const fs::path& path, int* width = nullptr, int* height = nullptr)
{
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) return -1;
    int frames = -1;
    if (avformat_find_stream_info(context, nullptr) >= 0) {
        const int stream = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (stream >= 0) {
            if (width) *width = context->streams[stream]->codecpar->width;
            if (height) *height = context->streams[stream]->codecpar->height;
            frames = 0;
            AVPacket* packet = av_packet_alloc();
            while (av_read_frame(context, packet) >= 0) {
                if (packet->stream_index == stream) ++frames;
                av_packet_unref(packet);
            }
            av_packet_free(&packet);
        }
    }
    avformat_close_input(&context);
    return frames;
}

TEST(SegmentTable, IsReadOffThePhotoRequests)
{
    // Requests that the host would not answer are no segment boundaries.
    const flash::Movie m =
        TinyMovie(40, {Command(0, "tupian=3"), Load(0), Command(5, "tupian=0"), Command(8, "tupian=16"),
                       Command(12, "other"), Command(15, "tupian=1"), Load(15), Command(30, "tupian=15")});
    const app::SegmentTable expected = {{0, 15, 3}, {15, 30, 1}, {30, 39, 15}};
    EXPECT_EQ(template_pack::SegmentTableOf(m), expected);
}

TEST(SegmentTable, RefusesMoviesThatCannotBeTemplates)
{
    struct Case {
        const char* what;
        flash::Movie movie;
    };
    std::vector<flash::Action> many;
    for (std::uint32_t f = 0; f < 101; ++f) many.push_back(Command(f, "tupian=1"));
    const Case cases[] = {
        {"too short", TinyMovie(5, {Command(0, "tupian=1")})},
        {"no request", TinyMovie(20, {Load(0)})},
        {"first request late", TinyMovie(20, {Command(3, "tupian=2")})},
        {"101 segments", TinyMovie(200, many)},
    };
    for (const Case& c : cases) EXPECT_THROW(template_pack::SegmentTableOf(c.movie), PackError) << c.what;
}

TEST(PackTemplate, RoundTripsThroughTheReader)
{
    TempFolder folder;
    const flash::Movie m =
        TinyMovie(20, {Command(0, "tupian=2"), Load(0), Command(10, "tupian=2"), Load(10)});
    const std::string movie = Bytes(m);
    const std::string video = "RIFF fake preview video bytes";
    const fs::path file = *folder / "t.avi";
    std::ofstream(file, std::ios::binary) << template_pack::PackTemplate(video, movie);

    const app::TemplateCheck check = app::ReadTemplateFile(file);
    ASSERT_TRUE(check.Valid()) << check.detail;
    EXPECT_EQ(check.description->movie_offset, video.size());
    EXPECT_EQ(app::ReadTemplateMovie(file, *check.description), movie);
    const app::SegmentTable expected = {{0, 10, 2}, {10, 19, 2}};
    EXPECT_EQ(check.description->segments, expected);
    EXPECT_EQ(ReadWhole(file).substr(0, video.size()), video);
}

TEST(PackTemplate, RefusesBadInput)
{
    const std::string movie = Bytes(TinyMovie(20, {Command(0, "tupian=2")}));
    EXPECT_THROW(template_pack::PackTemplate("", movie), PackError);
    EXPECT_THROW(template_pack::PackTemplate("video", "not a movie"), PackError);
    EXPECT_THROW(template_pack::PackTemplate("video", movie.substr(0, movie.size() - 1)), PackError);
    EXPECT_THROW(template_pack::PackTemplate("video", Bytes(TinyMovie(20, {}))), PackError);
}

TEST(PackEndingTemplate, RoundTripsThroughTheReaderAndRefusesBadInput)
{
    TempFolder folder;
    const std::string movie = Bytes(TinyMovie(30, {Load(0)}));
    const std::string video = "MPEG fake ending video bytes";
    const fs::path file = *folder / "e.mpg";
    std::ofstream(file, std::ios::binary) << template_pack::PackEndingTemplate(video, movie, 4, 30);

    const app::EndingCheck check = app::ReadEndingTemplateFile(file);
    ASSERT_TRUE(check.Valid()) << check.detail;
    EXPECT_EQ(check.ending->play_frame, 4);
    EXPECT_EQ(check.ending->StillFrameIndex(), 29);
    EXPECT_EQ(check.ending->movie_offset, video.size());
    // The movie copy keeps the settings block behind it.
    EXPECT_EQ(app::ReadEndingMovie(file, *check.ending).value_or("").substr(0, movie.size()), movie);
    EXPECT_EQ(ReadWhole(file).substr(0, video.size()), video);

    EXPECT_THROW(template_pack::PackEndingTemplate("", movie, 0, 1), PackError);
    EXPECT_THROW(template_pack::PackEndingTemplate("video", "not a movie", 0, 1), PackError);
    EXPECT_THROW(template_pack::PackEndingTemplate("video", movie, 30, 1), PackError);  // past the last frame
    EXPECT_THROW(template_pack::PackEndingTemplate("video", movie, -1, 1), PackError);
    EXPECT_THROW(template_pack::PackEndingTemplate("video", movie, 0, 0), PackError);  // would rest on -1
    EXPECT_THROW(template_pack::PackEndingTemplate("video", movie, 0, 31), PackError);
}

TEST(SamplePhotos, AreColourfulAndDifferFromEachOther)
{
    TempFolder folder;
    const auto paths = template_pack::WriteSamplePhotos(*folder, 12, 160, 120, "photo");
    ASSERT_EQ(paths.size(), 12u);
    std::set<std::vector<std::uint32_t>> distinct;
    for (const fs::path& path : paths) {
        SCOPED_TRACE(path.string());
        TBitmap photo;
        photo.LoadFromFile(path);  // a JPEG that our decoder reads
        ASSERT_EQ(photo.Width(), 160);
        ASSERT_EQ(photo.Height(), 120);
        std::set<std::uint32_t> colours;
        int saturated = 0;
        for (int i = 0; i < photo.Width() * photo.Height(); ++i) {
            const std::uint32_t p = photo.Pixels()[i] & 0xFFFFFF;
            colours.insert(p & 0xF0F0F0);
            const int r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
            if (std::max({r, g, b}) - std::min({r, g, b}) > 60) ++saturated;
        }
        EXPECT_GT(colours.size(), 40u) << "a flat picture";
        EXPECT_GT(saturated, photo.Width() * photo.Height() / 8) << "a grey picture";
        distinct.insert(std::vector<std::uint32_t>(photo.Pixels(), photo.Pixels() + 160 * 120));
    }
    EXPECT_EQ(distinct.size(), paths.size());
}

TEST(PreviewVideo, IsAPlayableAviOfEveryPaintedFrame)
{
    TempFolder folder;
    const fs::path video = *folder / "preview.avi";
    std::vector<int> painted;
    template_pack::EncodePreviewVideo(
        video, 12, 352, 288,
        [&](int frame, TBitmap& target) {
            painted.push_back(frame);
            target = template_pack::SamplePhoto(frame, 352, 288);
        },
        *folder / "scratch");
    EXPECT_EQ(VideoFrames(video), 12);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.back(), 11);
    EXPECT_FALSE(fs::exists(*folder / "scratch" / "preview-frame.bmp"));
}

TEST(PreviewVideo, APaintingFailureIsReported)
{
    TempFolder folder;
    EXPECT_THROW(template_pack::EncodePreviewVideo(
                     *folder / "preview.avi", 10, 64, 48,
                     [](int frame, TBitmap&) {
                         if (frame == 5) throw PackError("cannot paint");
                     },
                     *folder / "scratch"),
                 PackError);
}

// The chroma (Cb, Cr) at the centre of every decoded video frame.
std::vector<std::pair<int, int>> CentreChroma(const fs::path& path)
{
    std::vector<std::pair<int, int>> chroma;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return chroma;
    avformat_find_stream_info(format, nullptr);
    const AVCodec* codec = nullptr;
    const int stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* decoder = stream >= 0 ? avcodec_alloc_context3(codec) : nullptr;
    if (decoder && avcodec_parameters_to_context(decoder, format->streams[stream]->codecpar) >= 0 &&
        avcodec_open2(decoder, codec, nullptr) >= 0) {
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        auto drain = [&] {
            while (avcodec_receive_frame(decoder, frame) >= 0) {
                const int x = frame->width / 4, y = frame->height / 4;  // chroma planes are halved
                chroma.emplace_back(frame->data[1][y * frame->linesize[1] + x],
                                    frame->data[2][y * frame->linesize[2] + x]);
            }
        };
        while (av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == stream && avcodec_send_packet(decoder, packet) >= 0) drain();
            av_packet_unref(packet);
        }
        avcodec_send_packet(decoder, nullptr);
        drain();
        av_frame_free(&frame);
        av_packet_free(&packet);
    }
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return chroma;
}

// The checks every packed template must pass: valid, the slice is the
// movie byte for byte, the segment table is the movie's requests, the
// video plays.
void ExpectSoundTemplate(const fs::path& file, const fs::path& movie_file, int expected_video_frames)
{
    SCOPED_TRACE(file.string());
    const app::TemplateCheck check = app::ReadTemplateFile(file);
    ASSERT_TRUE(check.Valid()) << check.detail;
    const std::string movie = ReadWhole(movie_file);
    EXPECT_EQ(check.description->movie_length, movie.size());
    EXPECT_EQ(app::ReadTemplateMovie(file, *check.description), movie);
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(movie.data()), movie.size());
    EXPECT_EQ(check.description->segments, template_pack::SegmentTableOf(flash::ReadMovie(bytes)));
    int width = 0, height = 0;
    EXPECT_EQ(VideoFrames(file, &width, &height), expected_video_frames);
    EXPECT_EQ(width, 352);
    EXPECT_EQ(height, 288);
}

TEST(MoviePreview, AnswersEachPhotoRequestWithTheNextPhotos)
{
    // One slot over the whole stage; three segments of one photo each, and
    // two photos, so the third segment wraps to the first photo again.
    TempFolder folder;
    flash::Movie m = TinyMovie(30, {Command(0, "tupian=1"), Load(0), Command(10, "tupian=1"), Load(10),
                                    Command(20, "tupian=1"), Load(20)});
    m.layers[0].width = 352;
    m.layers[0].height = 288;
    const fs::path movie = *folder / "m.swf";
    std::ofstream(movie, std::ios::binary) << Bytes(m);
    const std::vector<fs::path> photos = {*folder / "red.jpg", *folder / "blue.jpg"};
    gfx::SaveJpeg(TBitmap(64, 48, 0x0000E0), photos[0]);
    gfx::SaveJpeg(TBitmap(64, 48, 0xE00000), photos[1]);

    const fs::path video = *folder / "preview.avi";
    template_pack::RenderMoviePreview(movie, photos, video, *folder / "scratch");
    const auto chroma = CentreChroma(video);
    ASSERT_EQ(chroma.size(), 30u);
    auto red = [](std::pair<int, int> c) { return c.second > 180 && c.first < 128; };
    auto blue = [](std::pair<int, int> c) { return c.first > 180 && c.second < 128; };
    for (int f : {0, 5, 9, 20, 29}) EXPECT_TRUE(red(chroma[f])) << "frame " << f;
    for (int f : {10, 15, 19}) EXPECT_TRUE(blue(chroma[f])) << "frame " << f;
    EXPECT_FALSE(fs::exists(*folder / "scratch"));
}

TEST(ShippedTemplates, TheFixtureIsASoundTwentyFrameTemplate)
{
    const fs::path out = VELMORA_DATA_OUT;
    ExpectSoundTemplate(out / "fixtures/fixture20.avi", out / "fixtures/fixture20.swf", 20);
    const app::TemplateCheck check = app::ReadTemplateFile(out / "fixtures/fixture20.avi");
    ASSERT_TRUE(check.Valid());
    const app::SegmentTable expected = {{0, 10, 2}, {10, 19, 2}};
    EXPECT_EQ(check.description->segments, expected);
}

TEST(ShippedTemplates, EachIsASoundTemplateOfItsMovie)
{
    const fs::path out = VELMORA_DATA_OUT;
    for (const shipped::EffectTemplate& t : shipped::kEffectTemplates) {
        const fs::path movie_file = out / "template-movies" / (std::string(t.movie) + ".swf");
        ExpectSoundTemplate(out / "试用模板" / (std::string(t.name) + ".avi"), movie_file, 300);
    }
    for (int i = 1; i <= 12; ++i)
        EXPECT_TRUE(fs::exists(out / "试用模板/示例照片" / ("photo" + std::to_string(i) + ".jpg"))) << i;
}

// The shipped ending title and the tests' fixture: valid, the movie slice
// is the compiled movie, the video an MPEG of one pass of it.
TEST(ShippedEndings, AreSoundEndingTemplatesOfTheirMovies)
{
    const fs::path out = VELMORA_DATA_OUT;
    struct Case {
        fs::path file, movie;
        int frames, play_frame, still_index;
    };
    for (const Case& c :
         {Case{out / "试用片尾" / "谢谢观看.mpg", out / "template-movies/ending.swf", 250, 0, 150},
          Case{out / "fixtures/ending25.mpg", out / "fixtures/ending25.swf", 25, 2, 12}}) {
        SCOPED_TRACE(c.file.string());
        const app::EndingCheck check = app::ReadEndingTemplateFile(c.file);
        ASSERT_TRUE(check.Valid()) << check.detail;
        EXPECT_EQ(check.ending->play_frame, c.play_frame);
        EXPECT_EQ(check.ending->StillFrameIndex(), c.still_index);
        const std::string movie = ReadWhole(c.movie);
        EXPECT_EQ(check.ending->movie_length, movie.size() + app::kEndingTrailerSize);
        EXPECT_EQ(app::ReadEndingMovie(c.file, *check.ending).value_or("").substr(0, movie.size()), movie);
        int width = 0, height = 0;
        EXPECT_EQ(VideoFrames(c.file, &width, &height), c.frames);
        EXPECT_EQ(width, 352);
        EXPECT_EQ(height, 288);
    }
}

}  // namespace
