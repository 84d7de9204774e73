#pragma once
// The skin reader's own deflate decoder (RFC 1951): stored, fixed and
// dynamic Huffman blocks, decoded through table-driven canonical Huffman
// trees. Every read is checked against the input and every write against
// an output limit, so damaged or hostile streams end with an error.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace skin {

// LSB-first bit reader over a byte buffer. Reading past the end yields
// zero bits and marks the reader overrun.
class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> data) : data_(data) {}
    // The next n (<= 16) bits without consuming them.
    std::uint32_t Peek(int n) const;
    void Skip(int n);
    std::uint32_t Read(int n)
    {
        const std::uint32_t v = Peek(n);
        Skip(n);
        return v;
    }
    void AlignToByte() { bit_ = (bit_ + 7) / 8 * 8; }
    // Whole bytes from the byte boundary; false when fewer remain.
    bool ReadBytes(std::size_t count, std::vector<std::uint8_t>& out);
    bool Overrun() const { return bit_ > data_.size() * 8; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t bit_ = 0;
};

// A canonical Huffman code as one lookup table of 2^maxLength entries:
// symbol in the low 16 bits, code length in bits 16..23 and, for symbols
// from the base index on, the extra-bit count in bits 24..31. Empty slots
// hold all ones.
class THuffmanTree {
public:
    // False for lengths above 15 or an over-subscribed code. extraBits[i]
    // belongs to symbol baseIndex + i.
    bool Build(std::span<const std::uint8_t> lengths, int baseIndex = 0,
               std::span<const std::uint8_t> extraBits = {});
    // The next symbol and its extra-bit count; false for a code that is
    // not in the table (or an empty tree).
    bool Decode(BitReader& in, int& symbol, int& extra) const;
    int MaxLength() const { return max_length_; }

private:
    std::vector<std::uint32_t> table_;
    int max_length_ = 0;
};

enum class InflateStatus { Ok, Damaged, TooLarge };

// Appends the decoded stream to `out`, never letting it grow beyond
// maxOutput bytes (TooLarge then). Decoding stops after the final block.
InflateStatus Inflate(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& out,
                      std::size_t maxOutput);

}  // namespace skin
