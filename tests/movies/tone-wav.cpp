// tone-wav OUT: writes the tone the sound test movie plays, a second of
// 440 Hz at half the full level, as a 16-bit mono WAV file at 22050 Hz.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

void put16(std::vector<unsigned char>& out, std::uint16_t value) {
    out.push_back(value & 0xFF);
    out.push_back(value >> 8);
}
void put32(std::vector<unsigned char>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
void put(std::vector<unsigned char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tone-wav OUT\n");
        return 2;
    }
    constexpr std::uint32_t Rate = 22050;
    constexpr std::uint32_t Samples = Rate;
    std::vector<unsigned char> wav;
    put(wav, "RIFF");
    put32(wav, 36 + Samples * 2);
    put(wav, "WAVE");
    put(wav, "fmt ");
    put32(wav, 16);
    put16(wav, 1); // PCM
    put16(wav, 1); // mono
    put32(wav, Rate);
    put32(wav, Rate * 2);
    put16(wav, 2);
    put16(wav, 16);
    put(wav, "data");
    put32(wav, Samples * 2);
    for (std::uint32_t i = 0; i < Samples; ++i)
        put16(wav, std::uint16_t(std::int16_t(
                       std::lround(16384 * std::sin(2 * std::numbers::pi * 440 * i / Rate)))));
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(wav.data(), 1, wav.size(), file) != wav.size() ||
        std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
