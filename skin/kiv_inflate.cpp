#include "skin/kiv_inflate.h"

#include <array>

namespace skin {

std::uint32_t BitReader::Peek(int n) const
{
    std::uint32_t v = 0;
    std::size_t byte = bit_ / 8;
    int shift = static_cast<int>(bit_ % 8);
    int got = 0;
    while (got < n) {
        const std::uint32_t b = byte < data_.size() ? data_[byte] : 0;
        v |= (b >> shift) << got;
        got += 8 - shift;
        shift = 0;
        ++byte;
    }
    return n >= 32 ? v : v & ((1u << n) - 1);
}

void BitReader::Skip(int n) { bit_ += static_cast<std::size_t>(n); }

bool BitReader::ReadBytes(std::size_t count, std::vector<std::uint8_t>& out)
{
    AlignToByte();
    const std::size_t byte = bit_ / 8;
    if (byte > data_.size() || data_.size() - byte < count) {
        bit_ = data_.size() * 8 + 1;
        return false;
    }
    out.insert(out.end(), data_.begin() + static_cast<std::ptrdiff_t>(byte),
               data_.begin() + static_cast<std::ptrdiff_t>(byte + count));
    bit_ += count * 8;
    return true;
}

bool THuffmanTree::Build(std::span<const std::uint8_t> lengths, int baseIndex,
                         std::span<const std::uint8_t> extraBits)
{
    table_.clear();
    max_length_ = 0;
    std::array<int, 16> count{};
    for (std::uint8_t len : lengths) {
        if (len > 15) return false;
        ++count[len];
        if (len > max_length_) max_length_ = len;
    }
    count[0] = 0;
    // Kraft: more codes of a length than the shorter ones leave room for.
    int room = 1;
    for (int len = 1; len <= 15; ++len) {
        room = room * 2 - count[len];
        if (room < 0) return false;
    }
    if (max_length_ == 0) return true;
    std::array<std::uint32_t, 16> next{};
    std::uint32_t code = 0;
    for (int len = 1; len <= 15; ++len) {
        code = (code + static_cast<std::uint32_t>(count[len - 1])) << 1;
        next[len] = code;
    }
    table_.assign(std::size_t{1} << max_length_, 0xFFFFFFFFu);
    for (std::size_t sym = 0; sym < lengths.size(); ++sym) {
        const int len = lengths[sym];
        if (len == 0) continue;
        const std::uint32_t c = next[len]++;
        std::uint32_t reversed = 0;
        for (int i = 0; i < len; ++i) reversed |= ((c >> i) & 1u) << (len - 1 - i);
        std::uint32_t extra = 0;
        const int rel = static_cast<int>(sym) - baseIndex;
        if (rel >= 0 && static_cast<std::size_t>(rel) < extraBits.size()) extra = extraBits[rel];
        const std::uint32_t entry =
            static_cast<std::uint32_t>(sym) | (static_cast<std::uint32_t>(len) << 16) | (extra << 24);
        for (std::size_t slot = reversed; slot < table_.size(); slot += std::size_t{1} << len)
            table_[slot] = entry;
    }
    return true;
}

bool THuffmanTree::Decode(BitReader& in, int& symbol, int& extra) const
{
    if (table_.empty()) return false;
    const std::uint32_t entry = table_[in.Peek(max_length_)];
    if (entry == 0xFFFFFFFFu) return false;
    in.Skip(static_cast<int>((entry >> 16) & 0xFF));
    symbol = static_cast<int>(entry & 0xFFFF);
    extra = static_cast<int>(entry >> 24);
    return !in.Overrun();
}

namespace {

constexpr std::array<std::uint16_t, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                    15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                    67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistBase{
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                  6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::array<std::uint8_t, 19> kCodeLengthOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                        11, 4,  12, 3, 13, 2, 14, 1, 15};

struct FixedTrees {
    THuffmanTree literal, distance;
    FixedTrees()
    {
        std::array<std::uint8_t, 288> lit{};
        for (int i = 0; i < 288; ++i) lit[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
        literal.Build(lit, 257, kLengthExtra);
        std::array<std::uint8_t, 32> dist;
        dist.fill(5);
        distance.Build(dist, 0, kDistExtra);
    }
};

// Built once for the whole program.
const FixedTrees& Fixed()
{
    static const FixedTrees trees;
    return trees;
}

InflateStatus DecodeBlock(BitReader& in, const THuffmanTree& lit, const THuffmanTree& dist,
                          std::vector<std::uint8_t>& out, std::size_t start, std::size_t maxOutput)
{
    for (;;) {
        int sym = 0, extra = 0;
        if (!lit.Decode(in, sym, extra)) return InflateStatus::Damaged;
        if (sym < 256) {
            if (out.size() >= maxOutput) return InflateStatus::TooLarge;
            out.push_back(static_cast<std::uint8_t>(sym));
            continue;
        }
        if (sym == 256) return InflateStatus::Ok;
        if (sym > 285) return InflateStatus::Damaged;
        const std::size_t length = kLengthBase[sym - 257] + in.Read(extra);
        int dsym = 0, dextra = 0;
        if (!dist.Decode(in, dsym, dextra) || dsym > 29) return InflateStatus::Damaged;
        const std::size_t distance = kDistBase[dsym] + in.Read(dextra);
        if (in.Overrun()) return InflateStatus::Damaged;
        if (distance > out.size() - start) return InflateStatus::Damaged;
        if (maxOutput - out.size() < length) return InflateStatus::TooLarge;
        // Byte by byte: an overlapping copy repeats the pattern.
        std::size_t from = out.size() - distance;
        for (std::size_t i = 0; i < length; ++i) out.push_back(out[from + i]);
    }
}

bool ReadDynamicTrees(BitReader& in, THuffmanTree& lit, THuffmanTree& dist)
{
    const int hlit = static_cast<int>(in.Read(5)) + 257;
    const int hdist = static_cast<int>(in.Read(5)) + 1;
    const int hclen = static_cast<int>(in.Read(4)) + 4;
    if (hlit > 286 || hdist > 30) return false;
    std::array<std::uint8_t, 19> clen{};
    for (int i = 0; i < hclen; ++i) clen[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(in.Read(3));
    THuffmanTree codeLengths;
    if (!codeLengths.Build(clen)) return false;
    std::vector<std::uint8_t> lengths;
    const std::size_t total = static_cast<std::size_t>(hlit + hdist);
    while (lengths.size() < total) {
        int sym = 0, extra = 0;
        if (!codeLengths.Decode(in, sym, extra)) return false;
        if (sym < 16) {
            lengths.push_back(static_cast<std::uint8_t>(sym));
            continue;
        }
        std::uint8_t value = 0;
        std::size_t repeat = 0;
        if (sym == 16) {
            if (lengths.empty()) return false;
            value = lengths.back();
            repeat = 3 + in.Read(2);
        } else if (sym == 17) {
            repeat = 3 + in.Read(3);
        } else {
            repeat = 11 + in.Read(7);
        }
        if (repeat > total - lengths.size()) return false;
        lengths.insert(lengths.end(), repeat, value);
    }
    if (in.Overrun()) return false;
    const std::span<const std::uint8_t> all(lengths);
    return lit.Build(all.first(static_cast<std::size_t>(hlit)), 257, kLengthExtra) &&
           dist.Build(all.subspan(static_cast<std::size_t>(hlit)), 0, kDistExtra);
}

}  // namespace

InflateStatus Inflate(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& out, std::size_t maxOutput)
{
    BitReader bits(in);
    const std::size_t start = out.size();
    maxOutput += start;
    bool final = false;
    while (!final) {
        final = bits.Read(1) != 0;
        const std::uint32_t type = bits.Read(2);
        if (bits.Overrun()) return InflateStatus::Damaged;
        InflateStatus status = InflateStatus::Ok;
        if (type == 0) {
            bits.AlignToByte();
            const std::size_t len = bits.Read(16);
            bits.Read(16);  // NLEN, not checked
            if (bits.Overrun()) return InflateStatus::Damaged;
            if (maxOutput - out.size() < len) return InflateStatus::TooLarge;
            if (!bits.ReadBytes(len, out)) return InflateStatus::Damaged;
        } else if (type == 1) {
            status = DecodeBlock(bits, Fixed().literal, Fixed().distance, out, start, maxOutput);
        } else if (type == 2) {
            THuffmanTree lit, dist;
            if (!ReadDynamicTrees(bits, lit, dist)) return InflateStatus::Damaged;
            status = DecodeBlock(bits, lit, dist, out, start, maxOutput);
        }
        // Type 3 carries nothing: decoding goes on with the next block.
        if (status != InflateStatus::Ok) return status;
        if (bits.Overrun()) return InflateStatus::Damaged;
    }
    return InflateStatus::Ok;
}

}  // namespace skin
