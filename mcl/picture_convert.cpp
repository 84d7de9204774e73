#include "mcl/picture_convert.h"

#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mcl {
namespace {

// The scaler's RGB to YUV coefficients in 15 fractional bits: BT.601 scaled
// to 16..235 for luma and 16..240 for chroma.
constexpr int kShift = 15;
constexpr int kRY = 8414, kGY = 16519, kBY = 3208;
constexpr int kRU = -4865, kGU = -9528, kBU = 14392;
constexpr int kRV = 14392, kGV = -12061, kBV = -2332;

// Byte offsets of red, green and blue in a pixel.
struct Order {
    int r, g, b;
};

bool OrderOf(AVPixelFormat format, Order* order)
{
    switch (format) {
    case AV_PIX_FMT_RGBA:
    case AV_PIX_FMT_RGB0: *order = {0, 1, 2}; return true;
    case AV_PIX_FMT_BGRA:
    case AV_PIX_FMT_BGR0: *order = {2, 1, 0}; return true;
    case AV_PIX_FMT_ARGB:
    case AV_PIX_FMT_0RGB: *order = {1, 2, 3}; return true;
    case AV_PIX_FMT_ABGR:
    case AV_PIX_FMT_0BGR: *order = {3, 2, 1}; return true;
    default: return false;
    }
}

// The weights of the four bytes of a pixel (the unused one weighs 0), twice
// over: the lanes of two pixels.
struct Weights {
    alignas(16) std::int16_t lane[8] = {};
    Weights(const Order& order, int r, int g, int b)
    {
        for (int i = 0; i < 8; i += 4) {
            lane[i + order.r] = std::int16_t(r);
            lane[i + order.g] = std::int16_t(g);
            lane[i + order.b] = std::int16_t(b);
        }
    }
};

// Rows of pixels as 16-bit sums of `n` source pixels each (1, 4 or 16),
// still in the pixel's byte order: four lanes a pixel.
using Sums = std::vector<std::int16_t>;

// Source pixels widened, `count` of them.
void Widen(const std::uint8_t* src, int count, std::int16_t* out)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= count; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x + 8), _mm_unpackhi_epi8(v, zero));
    }
#endif
    for (; x < 4 * count; ++x) out[x] = src[x];
}

// The sums of the 2 x 2 blocks of two rows of source pixels, `count` blocks.
void BlockSums(const std::uint8_t* top, const std::uint8_t* bottom, int count, std::int16_t* out)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; x + 2 <= count; x += 2) {
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + 8 * x));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + 8 * x));
        const __m128i first = _mm_add_epi16(_mm_unpacklo_epi8(t, zero), _mm_unpacklo_epi8(d, zero));
        const __m128i second = _mm_add_epi16(_mm_unpackhi_epi8(t, zero), _mm_unpackhi_epi8(d, zero));
        const __m128i a = _mm_add_epi16(first, _mm_srli_si128(first, 8));
        const __m128i b = _mm_add_epi16(second, _mm_srli_si128(second, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_unpacklo_epi64(a, b));
    }
#endif
    for (; x < count; ++x)
        for (int c = 0; c < 4; ++c)
            out[4 * x + c] =
                std::int16_t(top[8 * x + c] + top[8 * x + 4 + c] + bottom[8 * x + c] + bottom[8 * x + 4 + c]);
}

// The same for two rows of sums.
void BlockSums(const std::int16_t* top, const std::int16_t* bottom, int count, std::int16_t* out)
{
    int x = 0;
#if defined(__SSE2__)
    for (; x + 2 <= count; x += 2) {
        auto at = [](const std::int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        const __m128i first = _mm_add_epi16(at(top + 8 * x), at(bottom + 8 * x));
        const __m128i second = _mm_add_epi16(at(top + 8 * x + 8), at(bottom + 8 * x + 8));
        const __m128i a = _mm_add_epi16(first, _mm_srli_si128(first, 8));
        const __m128i b = _mm_add_epi16(second, _mm_srli_si128(second, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_unpacklo_epi64(a, b));
    }
#endif
    for (; x < count; ++x)
        for (int c = 0; c < 4; ++c)
            out[4 * x + c] =
                std::int16_t(top[8 * x + c] + top[8 * x + 4 + c] + bottom[8 * x + c] + bottom[8 * x + 4 + c]);
}

#if defined(__SSE2__)
// Four pixels' weighted sums from the pair products of two pixels each.
inline __m128i PixelSums(__m128i first, __m128i second)
{
    const __m128 a = _mm_castsi128_ps(first), b = _mm_castsi128_ps(second);
    const __m128i even = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
    return _mm_add_epi32(even, odd);
}
#endif

// One plane's row: (weights . sums + bias) >> shift for `count` pixels.
void Weigh(const std::int16_t* sums, int count, const Weights& w, int bias, int shift, std::uint8_t* out)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i weights = _mm_load_si128(reinterpret_cast<const __m128i*>(w.lane));
    const __m128i offset = _mm_set1_epi32(bias);
    const __m128i count32 = _mm_cvtsi32_si128(shift);
    auto four = [&](const std::int16_t* p) {
        const __m128i a = _mm_madd_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), weights);
        const __m128i b = _mm_madd_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)), weights);
        return _mm_sra_epi32(_mm_add_epi32(PixelSums(a, b), offset), count32);
    };
    for (; x + 8 <= count; x += 8) {
        const __m128i words = _mm_packs_epi32(four(sums + 4 * x), four(sums + 4 * x + 16));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(words, words));
    }
#endif
    for (; x < count; ++x) {
        const std::int16_t* p = sums + 4 * x;
        const int v =
            (w.lane[0] * p[0] + w.lane[1] * p[1] + w.lane[2] * p[2] + w.lane[3] * p[3] + bias) >> shift;
        out[x] = std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

void Convert(const RgbPicture& in, const Order& order, AVFrame* out)
{
    const int width = out->width, height = out->height;
    const bool half = in.width == 2 * width;
    const Weights luma(order, kRY, kGY, kBY), blue(order, kRU, kGU, kBU), red(order, kRV, kGV, kBV);
    // the sums of a luma row carry `extra` more bits than one pixel, those of chroma two more
    const int extra = half ? 2 : 0;
    const int lumaShift = kShift + extra, chromaShift = kShift + extra + 2;
    const int lumaBias = (16 << lumaShift) + (1 << (lumaShift - 1));
    const int chromaBias = (128 << chromaShift) + (1 << (chromaShift - 1));
    Sums top(size_t(width) * 4), bottom(size_t(width) * 4), chroma(size_t(width / 2) * 4);
    auto row = [&](int y) { return in.data + in.stride * y; };
    auto gather = [&](int y, Sums& sums) {
        if (half)
            BlockSums(row(2 * y), row(2 * y + 1), width, sums.data());
        else
            Widen(row(y), width, sums.data());
    };
    for (int y = 0; y < height; y += 2) {
        gather(y, top);
        gather(y + 1, bottom);
        Weigh(top.data(), width, luma, lumaBias, lumaShift,
              out->data[0] + std::ptrdiff_t(out->linesize[0]) * y);
        Weigh(bottom.data(), width, luma, lumaBias, lumaShift,
              out->data[0] + std::ptrdiff_t(out->linesize[0]) * (y + 1));
        BlockSums(top.data(), bottom.data(), width / 2, chroma.data());
        Weigh(chroma.data(), width / 2, blue, chromaBias, chromaShift,
              out->data[1] + std::ptrdiff_t(out->linesize[1]) * (y / 2));
        Weigh(chroma.data(), width / 2, red, chromaBias, chromaShift,
              out->data[2] + std::ptrdiff_t(out->linesize[2]) * (y / 2));
    }
}

}  // namespace

bool IsRgb32(AVPixelFormat format)
{
    Order order;
    return OrderOf(format, &order);
}

bool ConvertsFast(const RgbPicture& in, int width, int height)
{
    if (!in.data || !IsRgb32(in.format) || width <= 0 || height <= 0 || width % 2 || height % 2) return false;
    return (in.width == width && in.height == height) || (in.width == 2 * width && in.height == 2 * height);
}

bool ConvertToYuv420(const RgbPicture& in, AVFrame* out)
{
    if (out->format != AV_PIX_FMT_YUV420P || !ConvertsFast(in, out->width, out->height)) return false;
    Order order{};
    OrderOf(in.format, &order);
    Convert(in, order, out);
    return true;
}

RgbPicture RgbOf(const AVFrame* frame)
{
    if (!frame || !IsRgb32(AVPixelFormat(frame->format))) return {};
    return {frame->data[0], frame->linesize[0], frame->width, frame->height, AVPixelFormat(frame->format)};
}

PicturePool::PicturePool(int width, int height) : width_(width), height_(height)
{
    // the layout of av_frame_get_buffer's frames, which the encoders take
    // without a copy, with buffers from the pool
    Frame model = NewFrame();
    if (!model) return;
    model->format = AV_PIX_FMT_YUV420P;
    model->width = width;
    model->height = height;
    if (av_frame_get_buffer(model.get(), 0) < 0 || model->buf[1]) return;
    for (int i = 0; i < 3; ++i) {
        linesize_[i] = model->linesize[i];
        offset_[i] = size_t(model->data[i] - model->buf[0]->data);
    }
    pool_ = av_buffer_pool_init(model->buf[0]->size, nullptr);
}

PicturePool::~PicturePool() { av_buffer_pool_uninit(&pool_); }

Frame PicturePool::Get()
{
    Frame frame = NewFrame();
    if (!frame) return {};
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width_;
    frame->height = height_;
    if (!pool_) {
        if (av_frame_get_buffer(frame.get(), 0) < 0) return {};
        return frame;
    }
    frame->buf[0] = av_buffer_pool_get(pool_);
    if (!frame->buf[0]) return {};
    for (int i = 0; i < 3; ++i) {
        frame->data[i] = frame->buf[0]->data + offset_[i];
        frame->linesize[i] = linesize_[i];
    }
    frame->extended_data = frame->data;
    return frame;
}

}  // namespace mcl
