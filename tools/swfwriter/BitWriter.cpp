#include "BitWriter.h"

#include <stdexcept>

void BitWriter::writeUnsigned(std::uint32_t value, int bitCount) {
    if (bitCount < 0 || bitCount > 32 || (bitCount < 32 && (value >> bitCount) != 0))
        throw std::out_of_range("value does not fit in its bit field");
    for (int bit = bitCount - 1; bit >= 0; --bit)
        writeBit(((value >> bit) & 1U) != 0);
}

void BitWriter::writeSigned(std::int32_t value, int bitCount) {
    if (bitCount < 1 || bitCount > 32 || signedBitsNeeded(value) > bitCount)
        throw std::out_of_range("value does not fit in its bit field");
    const auto raw = static_cast<std::uint32_t>(value);
    for (int bit = bitCount - 1; bit >= 0; --bit)
        writeBit(((raw >> bit) & 1U) != 0);
}

void BitWriter::alignToByte() {
    m_bitsUsedInLastByte = 0;
}

void BitWriter::writeU8(std::uint8_t value) {
    alignToByte();
    m_bytes.push_back(value);
}

void BitWriter::writeU16(std::uint16_t value) {
    writeU8(static_cast<std::uint8_t>(value & 0xFF));
    writeU8(static_cast<std::uint8_t>(value >> 8));
}

void BitWriter::writeU32(std::uint32_t value) {
    writeU16(static_cast<std::uint16_t>(value & 0xFFFF));
    writeU16(static_cast<std::uint16_t>(value >> 16));
}

void BitWriter::writeBytes(const std::vector<std::uint8_t>& bytes) {
    alignToByte();
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

int BitWriter::signedBitsNeeded(std::int32_t value) {
    // A non-negative value needs its magnitude bits plus a sign bit; a
    // negative one needs as many as its complement does.
    auto magnitude = static_cast<std::uint32_t>(value < 0 ? ~value : value);
    int bits = 1;
    while (magnitude != 0) {
        magnitude >>= 1;
        ++bits;
    }
    return bits;
}

void BitWriter::writeBit(bool bit) {
    if (m_bitsUsedInLastByte == 0)
        m_bytes.push_back(0);
    if (bit)
        m_bytes.back() |= static_cast<std::uint8_t>(0x80U >> m_bitsUsedInLastByte);
    m_bitsUsedInLastByte = (m_bitsUsedInLastByte + 1) % 8;
}
