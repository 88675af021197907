#include "ActionList.h"

namespace {
constexpr std::uint8_t ActionStop = 0x07;
// Codes from 0x80 up carry a 16-bit length and that many bytes of operands.
constexpr std::uint8_t ActionGotoFrame = 0x81;
} // namespace

ActionList& ActionList::stop() {
    m_bytes.push_back(ActionStop);
    return *this;
}

ActionList& ActionList::gotoFrame(std::uint16_t frameIndex) {
    m_bytes.insert(m_bytes.end(),
                   {ActionGotoFrame, 2, 0, static_cast<std::uint8_t>(frameIndex & 0xFF),
                    static_cast<std::uint8_t>(frameIndex >> 8)});
    return *this;
}
