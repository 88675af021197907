#include "ActionList.h"

#include <stdexcept>

namespace {
constexpr std::uint8_t ActionStop = 0x07;
// Codes from 0x80 up carry a 16-bit length and that many bytes of operands.
constexpr std::uint8_t ActionGotoFrame = 0x81;
constexpr std::uint8_t ActionGetUrl = 0x83;
} // namespace

ActionList& ActionList::stop() {
    m_bytes.push_back(ActionStop);
    return *this;
}

ActionList& ActionList::getUrl(const std::string& url, const std::string& target) {
    const size_t length = url.size() + 1 + target.size() + 1;
    if (length > 0xFFFF)
        throw std::invalid_argument("URL too long for one action");
    m_bytes.insert(m_bytes.end(), {ActionGetUrl, static_cast<std::uint8_t>(length & 0xFF),
                                   static_cast<std::uint8_t>(length >> 8)});
    for (const std::string* text : {&url, &target}) {
        m_bytes.insert(m_bytes.end(), text->begin(), text->end());
        m_bytes.push_back(0);
    }
    return *this;
}

ActionList& ActionList::gotoFrame(std::uint16_t frameIndex) {
    m_bytes.insert(m_bytes.end(),
                   {ActionGotoFrame, 2, 0, static_cast<std::uint8_t>(frameIndex & 0xFF),
                    static_cast<std::uint8_t>(frameIndex >> 8)});
    return *this;
}
