#include "SwfWriter.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

enum TagCode : std::uint16_t {
    End = 0,
    ShowFrame = 1,
    DefineShape = 2,
    SetBackgroundColor = 9,
    DoAction = 12,
    PlaceObject2 = 26,
    DefineButton2 = 34,
};

// A tag whose body is shorter than this keeps its length in the 6 low bits
// of the tag header; the value itself says "a 32-bit length follows".
constexpr std::uint32_t LongLengthMarker = 0x3F;

void writeRect(BitWriter& out, const TwipsRect& rect) {
    const int bits =
        std::max({BitWriter::signedBitsNeeded(rect.xMin), BitWriter::signedBitsNeeded(rect.xMax),
                  BitWriter::signedBitsNeeded(rect.yMin), BitWriter::signedBitsNeeded(rect.yMax)});
    out.writeUnsigned(static_cast<std::uint32_t>(bits), 5);
    out.writeSigned(rect.xMin, bits);
    out.writeSigned(rect.xMax, bits);
    out.writeSigned(rect.yMin, bits);
    out.writeSigned(rect.yMax, bits);
    out.alignToByte();
}

void writeRgb(BitWriter& out, Rgb color) {
    out.writeU8(color.red);
    out.writeU8(color.green);
    out.writeU8(color.blue);
}

// No scale, no rotation, no translation: one byte of zero flags.
void writeIdentityMatrix(BitWriter& out) {
    out.writeU8(0);
}

// A straight edge along one axis, relative to the pen.
void writeAxisEdge(BitWriter& out, bool vertical, std::int32_t delta) {
    // The edge's bit count is stored minus 2, in 4 bits: 2..17 bits.
    const int bits = std::max(2, BitWriter::signedBitsNeeded(delta));
    out.writeUnsigned(1, 1); // edge record
    out.writeUnsigned(1, 1); // straight
    out.writeUnsigned(static_cast<std::uint32_t>(bits - 2), 4);
    out.writeUnsigned(0, 1); // not a general (diagonal) line
    out.writeUnsigned(vertical ? 1 : 0, 1);
    out.writeSigned(delta, bits);
}

} // namespace

SwfWriter::SwfWriter(int widthPixels, int heightPixels) {
    const auto fits = [](int pixels) {
        return pixels >= 1 && pixels <= MaxStagePixels;
    };
    if (!fits(widthPixels) || !fits(heightPixels))
        throw std::invalid_argument("stage size out of range");
    m_stage = {0, widthPixels * TwipsPerPixel, 0, heightPixels * TwipsPerPixel};
}

void SwfWriter::setBackgroundColor(Rgb color) {
    BitWriter body;
    writeRgb(body, color);
    appendTag(SetBackgroundColor, body);
}

std::uint16_t SwfWriter::defineRectangle(const TwipsRect& rect, Rgb color) {
    const std::uint16_t id = nextCharacterId();
    BitWriter body;
    body.writeU16(id);
    writeRect(body, rect);
    body.writeU8(1);    // one fill style:
    body.writeU8(0x00); // solid,
    writeRgb(body, color);
    body.writeU8(0);          // no line styles
    body.writeUnsigned(1, 4); // bits per fill style index
    body.writeUnsigned(0, 4); // bits per line style index

    // Move to the top-left corner and select fill style 1 as the fill to the
    // right of the pen; going clockwise (as the screen shows it, y growing
    // downwards) keeps the inside on that side.
    const int moveBits =
        std::max(BitWriter::signedBitsNeeded(rect.xMin), BitWriter::signedBitsNeeded(rect.yMin));
    body.writeUnsigned(0, 1); // style change record
    body.writeUnsigned(0, 1); // no new styles
    body.writeUnsigned(0, 1); // line style unchanged
    body.writeUnsigned(1, 1); // fill style 1 follows
    body.writeUnsigned(0, 1); // fill style 0 unchanged
    body.writeUnsigned(1, 1); // move-to follows
    body.writeUnsigned(static_cast<std::uint32_t>(moveBits), 5);
    body.writeSigned(rect.xMin, moveBits);
    body.writeSigned(rect.yMin, moveBits);
    body.writeUnsigned(1, 1); // fill style 1 is the first (and only) style

    const std::int32_t width = rect.xMax - rect.xMin;
    const std::int32_t height = rect.yMax - rect.yMin;
    writeAxisEdge(body, false, width);
    writeAxisEdge(body, true, height);
    writeAxisEdge(body, false, -width);
    writeAxisEdge(body, true, -height);

    body.writeUnsigned(0, 6); // end of shape
    body.alignToByte();
    appendTag(DefineShape, body);
    return id;
}

std::uint16_t SwfWriter::defineKeyButton(std::uint16_t shapeId,
                                         const std::vector<std::uint8_t>& keyCodes,
                                         const ActionList& actions) {
    const std::uint16_t id = nextCharacterId();

    BitWriter records;
    records.writeU8(0x0F); // the shape stands for the hit area and the down, over, up states
    records.writeU16(shapeId);
    records.writeU16(1); // depth inside the button
    writeIdentityMatrix(records);
    records.writeU8(0); // colour transform with neither add nor multiply terms
    records.writeU8(0); // end of the records

    BitWriter body;
    body.writeU16(id);
    body.writeU8(0); // pushes like a button, not tracked as a menu item
    // Distance from this field to the first condition record; 0 says there
    // is none.
    body.writeU16(keyCodes.empty() ? 0 : static_cast<std::uint16_t>(2 + records.size()));
    body.writeBytes(records.bytes());

    // One condition record per key. Each starts with its own length (which
    // the last record leaves 0), then 16 condition bits whose top 7 hold the
    // key code and whose mouse transitions stay clear.
    const std::size_t recordLength = 2 + 2 + actions.bytes().size() + 1;
    if (recordLength > std::numeric_limits<std::uint16_t>::max())
        throw std::length_error("button actions too long");
    for (std::size_t i = 0; i < keyCodes.size(); ++i) {
        if (keyCodes[i] == 0 || keyCodes[i] > 0x7F)
            throw std::out_of_range("not a key code");
        const bool last = i + 1 == keyCodes.size();
        body.writeU16(last ? 0 : static_cast<std::uint16_t>(recordLength));
        body.writeU16(static_cast<std::uint16_t>(keyCodes[i] << 9));
        body.writeBytes(actions.bytes());
        body.writeU8(0); // end of actions
    }
    appendTag(DefineButton2, body);
    return id;
}

void SwfWriter::placeObject(std::uint16_t characterId, std::uint16_t depth) {
    constexpr std::uint8_t HasMatrix = 0x04;
    constexpr std::uint8_t HasCharacter = 0x02;
    BitWriter body;
    body.writeU8(HasMatrix | HasCharacter);
    body.writeU16(depth);
    body.writeU16(characterId);
    writeIdentityMatrix(body);
    appendTag(PlaceObject2, body);
}

void SwfWriter::doAction(const ActionList& actions) {
    BitWriter body;
    body.writeBytes(actions.bytes());
    body.writeU8(0); // end of actions
    appendTag(DoAction, body);
}

void SwfWriter::showFrame() {
    appendTag(ShowFrame, BitWriter());
    ++m_frameCount;
}

std::vector<std::uint8_t> SwfWriter::finish() const {
    BitWriter afterLength;
    writeRect(afterLength, m_stage);
    afterLength.writeU16(FramesPerSecond << 8); // 8.8 fixed point
    afterLength.writeU16(m_frameCount);
    afterLength.writeBytes(m_tags);
    afterLength.writeU16(static_cast<std::uint16_t>(End << 6));

    // The length field counts the whole file: signature, version, itself.
    const std::size_t fileLength = 3 + 1 + 4 + afterLength.size();
    if (fileLength > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("movie too large");
    BitWriter file;
    file.writeBytes({'F', 'W', 'S', Version});
    file.writeU32(static_cast<std::uint32_t>(fileLength));
    file.writeBytes(afterLength.bytes());
    return file.bytes();
}

void SwfWriter::appendTag(std::uint16_t code, const BitWriter& body) {
    BitWriter header;
    const std::size_t length = body.size();
    if (length < LongLengthMarker) {
        header.writeU16(static_cast<std::uint16_t>(code << 6 | length));
    } else {
        if (length > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("tag too long");
        header.writeU16(static_cast<std::uint16_t>(code << 6 | LongLengthMarker));
        header.writeU32(static_cast<std::uint32_t>(length));
    }
    m_tags.insert(m_tags.end(), header.bytes().begin(), header.bytes().end());
    m_tags.insert(m_tags.end(), body.bytes().begin(), body.bytes().end());
}
