#include "library/MachineMemory.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The figure of a line "Name:   123 kB", in bytes; nothing without one.
std::optional<std::int64_t> figure(std::string_view text, std::string_view name) {
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(name) || line.size() <= name.size() || line[name.size()] != ':')
            continue;
        std::string_view rest = line.substr(name.size() + 1);
        rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
        std::int64_t value = 0;
        const auto [after, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (error != std::errc() || value < 0 || value > (INT64_MAX >> 10))
            return {};
        const std::string_view unit(after, rest.data() + rest.size() - after);
        if (unit == " kB")
            return value << 10;
        return {};
    }
    return {};
}

} // namespace

std::optional<MachineMemory> MachineMemory::parse(std::string_view text) {
    const auto total = figure(text, "MemTotal");
    const auto available = figure(text, "MemAvailable");
    if (!total || !available || *total <= 0 || *available > *total)
        return {};
    return MachineMemory{*total, *available};
}

std::optional<MachineMemory> MachineMemory::read(std::string& why, const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        why = path + ": " + std::strerror(errno);
        return {};
    }
    // The file is small; its figures come first.
    char text[4096];
    std::size_t size = 0;
    ssize_t got = 0;
    while (size < sizeof text && (got = ::read(fd, text + size, sizeof text - size)) > 0)
        size += std::size_t(got);
    const int error = errno;
    close(fd);
    if (got < 0) {
        why = path + ": " + std::strerror(error);
        return {};
    }
    const auto memory = parse(std::string_view(text, size));
    if (!memory)
        why = path + " tells no MemTotal and MemAvailable";
    return memory;
}
