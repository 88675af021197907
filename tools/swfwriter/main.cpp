// pelliwick-swf: writes the small movies of ActionScript 1 that the tests,
// the benchmarks and the package's trial on a clean Debian play: a colour, a
// colour that changes at a key, a movie that loads another. The demo library's
// games are written in Haxe (tools/demo-games), not here. Exit codes: 0
// written, 1 the file could not be written, 2 the command line was wrong.

#include "AtomicFileWriter.h"
#include "DemoMovies.h"
#include "Rgb.h"
#include "SwfWriter.h"

#include <charconv>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int ExitWritten = 0;
constexpr int ExitCannotWrite = 1;
constexpr int ExitBadArguments = 2;

constexpr std::string_view Usage =
    "usage: pelliwick-swf solid --color RRGGBB --out FILE [--width W --height H]\n"
    "       pelliwick-swf keyswitch --color RRGGBB --key-color RRGGBB --out FILE\n"
    "                     [--width W --height H]\n"
    "       pelliwick-swf loader --color RRGGBB --url URL --out FILE [--width W --height H]\n"
    "Stage size defaults to 320 x 240 pixels; each side may be 1..2880.\n";

struct Request {
    std::string kind;
    Rgb color;
    Rgb keyColor;
    std::string url;
    std::string out;
    int width = 320;
    int height = 240;
};

std::optional<int> parsePixels(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > SwfWriter::MaxStagePixels)
        return std::nullopt;
    return value;
}

// Fills request from the command line, or says what is wrong with it.
std::optional<std::string> parse(const std::vector<std::string_view>& args, Request& request) {
    if (args.empty())
        return "no movie kind given";
    request.kind = args[0];
    if (request.kind != "solid" && request.kind != "keyswitch" && request.kind != "loader")
        return "unknown movie kind '" + request.kind + "'";

    std::map<std::string_view, std::string_view> options;
    for (std::size_t i = 1; i < args.size(); i += 2) {
        const std::string_view name = args[i];
        const bool known = name == "--color" || name == "--out" || name == "--width" ||
                           name == "--height" ||
                           (name == "--key-color" && request.kind == "keyswitch") ||
                           (name == "--url" && request.kind == "loader");
        if (!known)
            return "unexpected argument '" + std::string(name) + "'";
        if (i + 1 >= args.size())
            return "missing value after " + std::string(name);
        if (!options.emplace(name, args[i + 1]).second)
            return std::string(name) + " given twice";
    }

    const auto color = [&](std::string_view name, Rgb& into) -> std::optional<std::string> {
        const auto found = options.find(name);
        if (found == options.end())
            return std::string(name) + " is required";
        const auto parsed = Rgb::fromHex(found->second);
        if (!parsed)
            return std::string(name) + " needs six hex digits RRGGBB";
        into = *parsed;
        return std::nullopt;
    };
    if (auto problem = color("--color", request.color))
        return problem;
    if (request.kind == "keyswitch") {
        if (auto problem = color("--key-color", request.keyColor))
            return problem;
    }

    if (request.kind == "loader") {
        const auto url = options.find("--url");
        if (url == options.end() || url->second.empty())
            return "--url URL is required";
        request.url = url->second;
    }

    const auto out = options.find("--out");
    if (out == options.end() || out->second.empty())
        return "--out FILE is required";
    request.out = out->second;

    for (auto [name, into] :
         {std::pair{"--width", &request.width}, {"--height", &request.height}}) {
        const auto found = options.find(name);
        if (found == options.end())
            continue;
        const auto pixels = parsePixels(found->second);
        if (!pixels)
            return std::string(name) + " must be a whole number of pixels, 1.." +
                   std::to_string(SwfWriter::MaxStagePixels);
        *into = *pixels;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    Request request;
    if (const auto problem = parse(std::vector<std::string_view>(argv + 1, argv + argc), request)) {
        std::cerr << "pelliwick-swf: " << *problem << '\n' << Usage;
        return ExitBadArguments;
    }

    const std::vector<std::uint8_t> movie =
        request.kind == "solid" ? DemoMovies::solid(request.color, request.width, request.height)
        : request.kind == "loader"
            ? DemoMovies::loader(request.color, request.url, request.width, request.height)
            : DemoMovies::keySwitch(request.color, request.keyColor, request.width, request.height);

    std::string error;
    if (!AtomicFileWriter::write(request.out, movie, error)) {
        std::cerr << "pelliwick-swf: cannot write " << error << '\n';
        return ExitCannotWrite;
    }
    return ExitWritten;
}
