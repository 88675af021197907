#pragma once

#include "ActionList.h"
#include "BitWriter.h"
#include "Rgb.h"
#include "TwipsRect.h"

#include <cstdint>
#include <vector>

// Assembles one uncompressed movie, tag by tag, in playing order: define
// characters, place them on the display list, attach frame scripts, and end
// each frame with showFrame(). finish() wraps the tags in the file header.
//
// Movies are version 6, so the player runs their scripts with the older
// action interpreter, the one the games in our library were made for.
class SwfWriter {
public:
    static constexpr std::uint8_t Version = 6;
    static constexpr std::uint8_t FramesPerSecond = 24;
    static constexpr int TwipsPerPixel = 20;
    // The largest stage the authoring tools offered; it also keeps every
    // stage-wide shape edge within one straight-edge record.
    static constexpr int MaxStagePixels = 2880;

    // Throws std::invalid_argument unless both sides are 1..MaxStagePixels.
    SwfWriter(int widthPixels, int heightPixels);

    TwipsRect stage() const { return m_stage; }

    void setBackgroundColor(Rgb color);
    // A borderless rectangle filled with color; returns its character id.
    std::uint16_t defineRectangle(const TwipsRect& rect, Rgb color);
    // A button showing shapeId in all its states that runs actions when any
    // of keyCodes is pressed, wherever the mouse is; returns its character id.
    std::uint16_t defineKeyButton(std::uint16_t shapeId, const std::vector<std::uint8_t>& keyCodes,
                                  const ActionList& actions);
    // Puts a character on the display list; higher depths draw on top.
    void placeObject(std::uint16_t characterId, std::uint16_t depth);
    void doAction(const ActionList& actions);
    void showFrame();

    // The complete file: header, the tags so far, and the End tag.
    std::vector<std::uint8_t> finish() const;

private:
    void appendTag(std::uint16_t code, const BitWriter& body);
    std::uint16_t nextCharacterId() { return m_nextCharacterId++; }

    TwipsRect m_stage;
    std::uint16_t m_frameCount = 0;
    std::uint16_t m_nextCharacterId = 1;
    std::vector<std::uint8_t> m_tags;
};
