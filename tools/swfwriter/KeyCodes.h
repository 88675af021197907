#pragma once

#include <cstdint>

// The key numbers a button's key-press condition understands. Printable
// ASCII keys (32..126) use their character code; the keys below have no
// character, so movies number them 1..19 instead.
namespace KeyCodes {
constexpr std::uint8_t Left = 1;
constexpr std::uint8_t Right = 2;
constexpr std::uint8_t Home = 3;
constexpr std::uint8_t End = 4;
constexpr std::uint8_t Insert = 5;
constexpr std::uint8_t Delete = 6;
constexpr std::uint8_t Backspace = 8;
constexpr std::uint8_t Enter = 13;
constexpr std::uint8_t Up = 14;
constexpr std::uint8_t Down = 15;
constexpr std::uint8_t PageUp = 16;
constexpr std::uint8_t PageDown = 17;
constexpr std::uint8_t Tab = 18;
constexpr std::uint8_t Escape = 19;

constexpr std::uint8_t FirstPrintable = 32;
constexpr std::uint8_t LastPrintable = 126;
} // namespace KeyCodes
