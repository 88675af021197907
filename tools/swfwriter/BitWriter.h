#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Builds the byte stream of one movie tag. Movie records mix bit-packed
// fields (rectangles, shape edges) with whole little-endian integers; the
// bit fields fill each byte from its most significant bit, and every whole
// integer starts on a fresh byte, so the writer pads before writing one.
class BitWriter {
public:
    // Throws std::out_of_range when value does not fit in bitCount bits:
    // a silently truncated field would shift every field after it.
    void writeUnsigned(std::uint32_t value, int bitCount);
    void writeSigned(std::int32_t value, int bitCount);
    void alignToByte();

    void writeU8(std::uint8_t value);
    void writeU16(std::uint16_t value);
    void writeU32(std::uint32_t value);
    void writeBytes(const std::vector<std::uint8_t>& bytes);

    // Bytes written so far, the partly filled last byte included.
    std::size_t size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

    // Fewest bits that hold value as a two's-complement field (at least 1).
    static int signedBitsNeeded(std::int32_t value);

private:
    void writeBit(bool bit);

    std::vector<std::uint8_t> m_bytes;
    int m_bitsUsedInLastByte = 0; // 0 means the next bit starts a new byte
};
