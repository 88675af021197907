#include "library/SolFile.h"

#include <cstdint>
#include <vector>

namespace {

// Values nested deeper than this are taken for a file made to exhaust the
// reader, not a save.
constexpr int MaxDepth = 64;

// Reads big-endian values from the bytes, never past their end.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return at_ == bytes_.size(); }
    std::size_t left() const { return bytes_.size() - at_; }
    bool skip(std::uint64_t count) {
        if (count > left())
            return false;
        at_ += std::size_t(count);
        return true;
    }
    bool byte(std::uint8_t& value) {
        if (left() < 1)
            return false;
        value = std::uint8_t(bytes_[at_++]);
        return true;
    }
    bool number(int width, std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < width; ++i) {
            std::uint8_t next;
            if (!byte(next))
                return false;
            value = value << 8 | next;
        }
        return true;
    }
    bool text(std::size_t length, std::string& value) {
        if (length > left())
            return false;
        value = std::string(bytes_.substr(at_, length));
        at_ += length;
        return true;
    }
    // AMF 3's variable-length integer of 29 bits.
    bool u29(std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t next;
            if (!byte(next))
                return false;
            if (i == 3) {
                value = value << 8 | next;
                return true;
            }
            value = value << 7 | (next & 0x7F);
            if (!(next & 0x80))
                return true;
        }
        return true;
    }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

// AMF 3: values refer back to strings, objects and class traits read before.
class Amf3 {
public:
    explicit Amf3(Reader& in) : in_(in) {}

    // A string, inline or by reference; empty tells whether it was "".
    bool string(bool* empty = nullptr) {
        std::uint32_t header;
        if (!in_.u29(header))
            return false;
        if (!(header & 1))
            return (header >> 1) < strings_;
        if (empty)
            *empty = header == 1;
        if (header != 1)
            ++strings_;
        return in_.skip(header >> 1);
    }

    bool value(int depth) {
        std::uint8_t marker;
        if (depth > MaxDepth || !in_.byte(marker))
            return false;
        std::uint32_t header = 0;
        switch (marker) {
        case 0x00: // undefined
        case 0x01: // null
        case 0x02: // false
        case 0x03: // true
            return true;
        case 0x04: // integer
            return in_.u29(header);
        case 0x05: // double
            return in_.skip(8);
        case 0x06:
            return string();
        case 0x07: // XML document
        case 0x0B: // XML
        case 0x0C: // byte array
            return reference(header) && (isReference(header) || in_.skip(header >> 1));
        case 0x08: // date
            return reference(header) && (isReference(header) || in_.skip(8));
        case 0x09:
            return reference(header) && (isReference(header) || array(header >> 1, depth));
        case 0x0A:
            return reference(header) && (isReference(header) || object(header, depth));
        case 0x0D: // vector of int
        case 0x0E: // vector of uint
            return reference(header) && (isReference(header) ||
                                         (in_.skip(1) && in_.skip(std::uint64_t(header >> 1) * 4)));
        case 0x0F: // vector of double
            return reference(header) && (isReference(header) ||
                                         (in_.skip(1) && in_.skip(std::uint64_t(header >> 1) * 8)));
        case 0x10: // vector of objects
            return reference(header) &&
                   (isReference(header) || (in_.skip(1) && string() && values(header >> 1, depth)));
        case 0x11: // dictionary
            return reference(header) &&
                   (isReference(header) || (in_.skip(1) && values(2 * (header >> 1), depth)));
        default:
            return false;
        }
    }

private:
    struct Traits {
        bool dynamic;
        std::uint32_t sealed;
    };

    static bool isReference(std::uint32_t header) { return !(header & 1); }
    // The value's header: a reference to an object read before must name
    // one; an inline value is an object of its own from here on.
    bool reference(std::uint32_t& header) {
        if (!in_.u29(header))
            return false;
        if (isReference(header))
            return (header >> 1) < objects_;
        ++objects_;
        return true;
    }
    bool values(std::uint64_t count, int depth) {
        // Every value takes a byte at least: a count past what is left
        // cannot be whole.
        if (count > in_.left())
            return false;
        for (std::uint64_t i = 0; i < count; ++i)
            if (!value(depth + 1))
                return false;
        return true;
    }
    bool dynamicMembers(int depth) {
        for (;;) {
            bool empty = false;
            if (!string(&empty))
                return false;
            if (empty)
                return true;
            if (!value(depth + 1))
                return false;
        }
    }
    bool array(std::uint32_t dense, int depth) {
        return dynamicMembers(depth) && values(dense, depth);
    }
    bool object(std::uint32_t header, int depth) {
        Traits traits{};
        if (!(header & 2)) {
            if ((header >> 2) >= traits_.size())
                return false;
            traits = traits_[header >> 2];
        } else if (header & 4) {
            // A class that writes itself: what follows is its own, which
            // no reader can take apart.
            return false;
        } else {
            traits = {bool(header & 8), header >> 4};
            if (!string() || traits.sealed > in_.left())
                return false;
            for (std::uint32_t i = 0; i < traits.sealed; ++i)
                if (!string())
                    return false;
            traits_.push_back(traits);
        }
        return values(traits.sealed, depth) && (!traits.dynamic || dynamicMembers(depth));
    }

    Reader& in_;
    std::uint32_t strings_ = 0;
    std::uint32_t objects_ = 0;
    std::vector<Traits> traits_;
};

// AMF 0, with its way into AMF 3 for the values of newer players.
class Amf0 {
public:
    Amf0(Reader& in, Amf3& amf3) : in_(in), amf3_(amf3) {}

    bool shortString() {
        std::uint32_t length;
        return in_.number(2, length) && in_.skip(length);
    }

    bool value(int depth) {
        std::uint8_t marker;
        if (depth > MaxDepth || !in_.byte(marker))
            return false;
        std::uint32_t count = 0;
        switch (marker) {
        case 0x00: // number
            return in_.skip(8);
        case 0x01: // boolean
            return in_.skip(1);
        case 0x02:
            return shortString();
        case 0x03:
            return ++objects_, members(depth);
        case 0x05: // null
        case 0x06: // undefined
        case 0x0D: // unsupported
            return true;
        case 0x07:
            return in_.number(2, count) && count < objects_;
        case 0x08: // ECMA array: its count, then members as an object's
            return ++objects_, in_.skip(4) && members(depth);
        case 0x0A: // strict array
            if (!in_.number(4, count) || count > in_.left())
                return false;
            ++objects_;
            for (std::uint32_t i = 0; i < count; ++i)
                if (!value(depth + 1))
                    return false;
            return true;
        case 0x0B: // date and its time zone
            return in_.skip(10);
        case 0x0C: // long string
        case 0x0F: // XML
            return in_.number(4, count) && in_.skip(count);
        case 0x10: // typed object
            return ++objects_, shortString() && members(depth);
        case 0x11:
            return amf3_.value(depth + 1);
        default:
            return false;
        }
    }

private:
    // Named values up to the empty name and the object's end marker.
    bool members(int depth) {
        for (;;) {
            std::uint32_t length;
            if (!in_.number(2, length))
                return false;
            if (length == 0) {
                std::uint8_t end;
                return in_.byte(end) && end == 0x09;
            }
            if (!in_.skip(length) || !value(depth + 1))
                return false;
        }
    }

    Reader& in_;
    Amf3& amf3_;
    std::uint32_t objects_ = 0;
};

} // namespace

std::optional<std::string> SolFile::nameOf(std::string_view bytes) {
    Reader in(bytes);
    std::uint32_t magic, length, nameLength, version;
    std::string tag, name;
    if (!in.number(2, magic) || magic != 0x00BF || !in.number(4, length) || length != in.left() ||
        !in.text(4, tag) || tag != "TCSO" || !in.skip(6) || !in.number(2, nameLength) ||
        !in.text(nameLength, name) || name.empty() || !in.number(4, version) ||
        (version != 0 && version != 3))
        return std::nullopt;
    // Then each value by its name, and a byte after each.
    Amf3 amf3(in);
    Amf0 amf0(in, amf3);
    while (!in.atEnd()) {
        std::uint8_t end;
        const bool whole =
            version == 3 ? amf3.string() && amf3.value(0) : amf0.shortString() && amf0.value(0);
        if (!whole || !in.byte(end) || end != 0)
            return std::nullopt;
    }
    return name;
}
