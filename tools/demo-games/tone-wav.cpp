// tone-wav OUT HERTZ MILLISECONDS [fade]: writes a sine tone at half the full
// level as a 16-bit mono WAV file at 22050 Hz, for a game to embed. With
// "fade" it dies away, as a beep does; without, it loops without a seam when
// it holds whole periods.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
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
bool number(const char* text, int& value) {
    const char* end = text + std::strlen(text);
    return std::from_chars(text, end, value).ptr == end && value > 0 && value <= 100000;
}

} // namespace

int main(int argc, char** argv) {
    int hertz = 0;
    int milliseconds = 0;
    const bool fade = argc == 5 && std::strcmp(argv[4], "fade") == 0;
    if ((argc != 4 && !fade) || !number(argv[2], hertz) || !number(argv[3], milliseconds)) {
        std::fprintf(stderr, "usage: tone-wav OUT HERTZ MILLISECONDS [fade]\n");
        return 2;
    }
    constexpr std::uint32_t Rate = 22050;
    const std::uint32_t samples = Rate * std::uint32_t(milliseconds) / 1000;
    std::vector<unsigned char> wav;
    put(wav, "RIFF");
    put32(wav, 36 + samples * 2);
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
    put32(wav, samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double level = fade ? 1.0 - double(i) / samples : 1.0;
        put16(wav, std::uint16_t(std::int16_t(std::lround(
                       16384 * level * std::sin(2 * std::numbers::pi * hertz * i / Rate)))));
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(wav.data(), 1, wav.size(), file) != wav.size() ||
        std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
