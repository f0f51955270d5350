#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::testing {

// Spells out byte layouts literally in tests: raw bytes, little-endian numbers, texts.
class ByteBuilder {
public:
    ByteBuilder& Bytes(std::initializer_list<int> values) {
        for (int v : values) bytes_.push_back(static_cast<char>(v));
        return *this;
    }
    ByteBuilder& Text(std::string_view text) {
        bytes_.append(text);
        return *this;
    }
    ByteBuilder& Le16(std::int32_t value) { return Le(static_cast<std::uint32_t>(value), 2); }
    ByteBuilder& Le32(std::int32_t value) { return Le(static_cast<std::uint32_t>(value), 4); }
    ByteBuilder& Fill(std::size_t count, char byte) {
        bytes_.append(count, byte);
        return *this;
    }

    std::size_t Size() const { return bytes_.size(); }
    const std::string& Str() const { return bytes_; }

private:
    ByteBuilder& Le(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes_.push_back(static_cast<char>(value >> (8 * i)));
        return *this;
    }
    std::string bytes_;
};

// The bytes of a text, as the package and file functions take them.
inline std::vector<std::uint8_t> AsBytes(std::string_view text) {
    return {text.begin(), text.end()};
}

}  // namespace ambrevo::testing
