#include "platform/flash/player.h"

#include <cmath>
#include <fstream>

#include "platform/flash/movie_file.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"

namespace flash {

namespace {

constexpr std::uintmax_t kMaxFileBytes = kMaxMovieBytes + 16u * 1024 * 1024;

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) throw MovieError("the file does not exist");
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) throw MovieError("the file cannot be read");
    if (size > kMaxFileBytes) throw MovieError("the file is too large for a movie");
    std::ifstream file(path, std::ios::binary);
    if (!file) throw MovieError("the file cannot be opened");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (!file) throw MovieError("the file cannot be read");
    return bytes;
}

// A picture shown as a one-frame movie, fitted and centred on black.
Movie StillMovie()
{
    Movie movie;
    movie.width = 352;
    movie.height = 288;
    movie.frame_count = 1;
    movie.background = 0xFF000000;
    Layer layer;
    layer.name = "still";
    layer.kind = LayerKind::Image;
    layer.image_source = ImageSource::Asset;
    layer.asset = 0;
    layer.fit = Fit::Contain;
    layer.width = 352;
    layer.height = 288;
    layer.last_frame = 0;
    movie.layers.push_back(layer);
    return movie;
}

}  // namespace

Player::Player()
{
    timer_.SetEnabled(false);
    timer_.OnTimer = [this](TObject*) { Tick(); };
}

Player::~Player() { timer_.SetEnabled(false); }

bool Player::Load(const std::filesystem::path& path)
{
    Unload();
    path_ = path;
    folder_ = path.parent_path();
    try {
        std::vector<std::uint8_t> bytes = ReadWholeFile(path);
        std::vector<PicturePtr> assets;
        std::shared_ptr<Movie> movie;
        if (LooksLikeMovie(bytes)) {
            movie = std::make_shared<Movie>(ReadMovie(bytes));
            assets.reserve(movie->assets.size());
            for (const Asset& asset : movie->assets) {
                try {
                    assets.push_back(DecodePicture(asset.data));
                } catch (const gfx::ImageError& e) {
                    throw MovieError(std::string("damaged picture inside the movie: ") + e.what());
                }
                if (!assets.back()) throw MovieError("empty picture inside the movie");
            }
        } else if (gfx::DetectImageFormat(bytes) != gfx::ImageFormat::Unknown) {
            try {
                assets.push_back(DecodePicture(bytes, 2048, 2048));
            } catch (const gfx::ImageError& e) {
                throw MovieError(std::string("damaged picture: ") + e.what());
            }
            if (!assets.back()) throw MovieError("empty picture");
            movie = std::make_shared<Movie>(StillMovie());
        } else {
            throw MovieError("neither a movie nor a picture");
        }
        movie_ = std::move(movie);
        assets_ = std::move(assets);
    } catch (const std::exception& e) {
        error_ = "Cannot open the movie " + path.string() + ": " + e.what();
        movie_.reset();
        assets_.clear();
        Changed();
        return false;
    }
    // The load is a load point; then the movie starts playing at frame 0.
    ReadFiles();
    playing_ = true;
    StartTimer();
    frame_ = 0;
    pending_.clear();
    Enter(0, true);
    return true;
}

void Player::Unload()
{
    timer_.SetEnabled(false);
    movie_.reset();
    assets_.clear();
    files_ = {};
    pending_.clear();
    error_.clear();
    frame_ = 0;
    playing_ = false;
    restart_armed_ = false;
    // What was drawn for the movie (still layers, the plate, text) goes with it.
    renderer_ = Renderer();
}

void Player::SetFrameNum(int frame)
{
    if (!movie_) return;
    const int last = static_cast<int>(movie_->frame_count) - 1;
    bool past_end = frame > last;
    std::uint32_t target = static_cast<std::uint32_t>(std::clamp(frame, 0, last));
    restart_armed_ = past_end;
    if (target != frame_) Enter(target);
}

void Player::Play()
{
    if (!movie_) return;
    playing_ = true;
    StartTimer();
    if (restart_armed_) {
        restart_armed_ = false;
        Enter(0);
    }
}

void Player::Stop()
{
    playing_ = false;
    timer_.SetEnabled(false);
}

void Player::SetVariable(const std::string& name, const std::string& value)
{
    variables_[name] = value;
    Changed();
}

std::string Player::GetVariable(const std::string& name) const
{
    auto it = variables_.find(name);
    return it == variables_.end() ? std::string() : it->second;
}

void Player::Render(TBitmap& target, const TRect& dest, const TRect& clip)
{
    if (!movie_) return;
    Scene scene{movie_.get(), &assets_, &files_, &variables_};
    renderer_.Render(scene, frame_, target, dest, clip);
}

void Player::StartTimer()
{
    if (!movie_) return;
    // A still without actions shows the same whatever the timer does.
    if (movie_->frame_count <= 1 && movie_->actions.empty()) {
        timer_.SetEnabled(false);
        return;
    }
    int interval = std::max(1, static_cast<int>(std::lround(1000.0 / movie_->fps)));
    if (timer_.Interval() != interval) timer_.SetInterval(interval);
    if (!timer_.Enabled()) timer_.SetEnabled(true);
}

void Player::Tick()
{
    // A command handler that pumps messages must not see the movie move.
    if (!movie_ || !playing_ || running_actions_) return;
    std::uint32_t next = restart_armed_ ? 0 : (frame_ + 1) % movie_->frame_count;
    restart_armed_ = false;
    Enter(next);
}

void Player::Enter(std::uint32_t frame, bool loaded)
{
    // A movie of one frame loops on the picture it shows: nothing to repaint.
    const bool moved = loaded || frame != frame_;
    frame_ = frame;
    // Actions are ordered by frame: find this frame's run.
    const auto& actions = movie_->actions;
    auto first = std::lower_bound(actions.begin(), actions.end(), frame,
                                  [](const Action& a, std::uint32_t f) { return a.frame < f; });
    for (auto it = first; it != actions.end() && it->frame == frame; ++it) pending_.push_back(*it);
    if (moved) Changed();
    RunActions();
}

void Player::RunActions()
{
    if (running_actions_) return;  // the outer run picks the new actions up
    running_actions_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{running_actions_};
    // Jumps whose frames jump back would run for ever; such a movie stops.
    int jumps = 0;
    while (!pending_.empty() && movie_) {
        Action action = std::move(pending_.front());
        pending_.pop_front();
        switch (action.kind) {
        case ActionKind::FSCommand:
            if (OnFSCommand) OnFSCommand(action.command, action.args);
            break;
        case ActionKind::LoadPoint:
            ReadFiles();
            Changed();
            break;
        case ActionKind::Stop: Stop(); break;
        case ActionKind::GotoAndPlay:
            if (++jumps > 64) {
                Stop();
                pending_.clear();
                break;
            }
            restart_armed_ = false;
            playing_ = true;
            StartTimer();
            if (action.target < movie_->frame_count && action.target != frame_) Enter(action.target);
            break;
        }
    }
}

void Player::ReadFiles()
{
    if (movie_) files_ = ReadMovieFiles(*movie_, folder_, OnPictureFile);
}

void Player::Changed()
{
    if (OnChange) OnChange();
}

}  // namespace flash
