#include "pack/pictures/smooth_scaling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace ambrevo::pack {
namespace {

// A result pixel of one axis: source pixels and their weights, which sum to 1.
struct Tap {
    int source;
    double weight;
};
using Taps = std::vector<std::vector<Tap>>;

// Result pixel i covers [i * from / to, (i + 1) * from / to) of the source.
Taps AreaTaps(int from, int to) {
    Taps taps(static_cast<std::size_t>(to));
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double begin = i * step;
        const double end = begin + step;
        for (int s = static_cast<int>(begin); s < from && s < end; ++s) {
            const double covered = std::min<double>(end, s + 1) - std::max<double>(begin, s);
            if (covered > 0) taps[static_cast<std::size_t>(i)].push_back({s, covered / step});
        }
    }
    return taps;
}

// Result pixel i's centre mapped onto the source, between the two nearest source centres.
Taps LinearTaps(int from, int to) {
    Taps taps(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) {
        const double at = std::clamp((i + 0.5) * from / to - 0.5, 0.0, from - 1.0);
        const int left = static_cast<int>(at);
        const double fraction = at - left;
        auto& tap = taps[static_cast<std::size_t>(i)];
        tap.push_back({left, 1.0 - fraction});
        if (fraction > 0) tap.push_back({left + 1, fraction});
    }
    return taps;
}

Taps TapsFor(int from, int to) {
    if (to < from) return AreaTaps(from, to);
    if (to > from) return LinearTaps(from, to);
    Taps same(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) same[static_cast<std::size_t>(i)].push_back({i, 1.0});
    return same;
}

using Channels = std::array<double, 3>;

Channels Split(std::uint32_t pixel) {
    return {static_cast<double>((pixel >> 16) & 0xFF), static_cast<double>((pixel >> 8) & 0xFF),
            static_cast<double>(pixel & 0xFF)};
}

std::uint32_t Join(const Channels& channels) {
    std::uint32_t pixel = 0;
    for (double channel : channels) {
        pixel =
            (pixel << 8) | static_cast<std::uint32_t>(std::clamp(std::lround(channel), 0L, 255L));
    }
    return pixel;
}

}  // namespace

Bitmap ScaleSmoothly(const Bitmap& picture, int width, int height) {
    if (picture.Empty() || width <= 0 || height <= 0) return {};
    const Taps across = TapsFor(picture.width, width);
    const Taps down = TapsFor(picture.height, height);
    // Rows first, kept unrounded, so that the two passes round once.
    std::vector<Channels> rows(static_cast<std::size_t>(width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < width; ++x) {
            Channels sum{};
            for (const Tap& tap : across[static_cast<std::size_t>(x)]) {
                const Channels source = Split(picture.At(tap.source, y));
                for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += source[c] * tap.weight;
            }
            rows[static_cast<std::size_t>(y) * width + x] = sum;
        }
    }
    Bitmap scaled{width, height, Pixels(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Channels sum{};
            for (const Tap& tap : down[static_cast<std::size_t>(y)]) {
                const Channels& source = rows[static_cast<std::size_t>(tap.source) * width + x];
                for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += source[c] * tap.weight;
            }
            scaled.pixels[static_cast<std::size_t>(y) * width + x] = Join(sum);
        }
    }
    return scaled;
}

}  // namespace ambrevo::pack
