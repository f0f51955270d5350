#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>

namespace ambrevo {

// A picture's pixel values, as a std::vector of them would hold them, except that
// Pixels(n) and resize(n) leave the new values unset: a decoder writes every pixel of a
// new picture, and a vector's zeroing first (one call per element where the player is
// built for size) cost a fifth of decoding a menu in the browser.
class Pixels {
public:
    using value_type = std::uint32_t;
    using iterator = std::uint32_t*;
    using const_iterator = const std::uint32_t*;

    Pixels() = default;
    explicit Pixels(std::size_t count) : values_(new std::uint32_t[count]), size_(count) {}
    Pixels(std::size_t count, std::uint32_t value) : Pixels(count) {
        std::fill_n(values_.get(), count, value);
    }
    template <std::forward_iterator Iterator>
    Pixels(Iterator first, Iterator last)
        : Pixels(static_cast<std::size_t>(std::distance(first, last))) {
        std::copy(first, last, values_.get());
    }
    Pixels(std::initializer_list<std::uint32_t> values) : Pixels(values.begin(), values.end()) {}
    Pixels(const Pixels& other) : Pixels(other.begin(), other.end()) {}
    Pixels(Pixels&& other) noexcept
        : values_(std::move(other.values_)), size_(std::exchange(other.size_, 0)) {}
    Pixels& operator=(Pixels other) noexcept {
        std::swap(values_, other.values_);
        std::swap(size_, other.size_);
        return *this;
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint32_t* data() { return values_.get(); }
    const std::uint32_t* data() const { return values_.get(); }
    std::uint32_t& operator[](std::size_t index) { return values_[index]; }
    std::uint32_t operator[](std::size_t index) const { return values_[index]; }
    std::uint32_t front() const { return values_[0]; }
    iterator begin() { return data(); }
    iterator end() { return data() + size_; }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + size_; }

    // The first values kept, those beyond the old size unset (or value).
    void resize(std::size_t count) {
        Pixels resized(count);
        std::copy_n(begin(), std::min(count, size_), resized.begin());
        *this = std::move(resized);
    }
    void resize(std::size_t count, std::uint32_t value) {
        const std::size_t kept = std::min(count, size_);
        resize(count);
        std::fill(begin() + kept, end(), value);
    }
    void assign(std::size_t count, std::uint32_t value) { *this = Pixels(count, value); }

    friend bool operator==(const Pixels& a, const Pixels& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    std::unique_ptr<std::uint32_t[]> values_;
    std::size_t size_ = 0;
};

}  // namespace ambrevo
