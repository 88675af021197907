#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A short script for the movie's action interpreter, built one action at a
// time. Only the actions our movies use are here.
class ActionList {
public:
    ActionList& stop();
    // frameIndex counts from 0: gotoFrame(1) shows the movie's second frame.
    ActionList& gotoFrame(std::uint16_t frameIndex);
    // Loads the movie at url (relative URLs resolve against the movie's own
    // place) into target, e.g. "_level0" to replace the running movie.
    ActionList& getUrl(const std::string& url, const std::string& target);

    // The encoded actions without the terminating zero; whoever embeds the
    // list (a frame script, a button condition) adds that.
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};
