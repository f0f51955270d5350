#include "pack/pictures/smooth_scaling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
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
    // Source rows scaled across, kept unrounded so that the two passes round once, and only
    // while a result row still needs them: each result row's first source row never lies
    // above the one before's.
    std::map<int, std::vector<Channels>> rows;
    const auto scaledRow = [&](int y) -> const std::vector<Channels>& {
        auto [at, added] = rows.try_emplace(y);
        if (!added) return at->second;
        at->second.resize(static_cast<std::size_t>(width));
        for (int x = 0; x < width; ++x) {
            Channels& sum = at->second[static_cast<std::size_t>(x)];
            sum = {};
            for (const Tap& tap : across[static_cast<std::size_t>(x)]) {
                const Channels source = Split(picture.At(tap.source, y));
                for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += source[c] * tap.weight;
            }
        }
        return at->second;
    };
    Bitmap scaled{width, height, Pixels(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        const std::vector<Tap>& taps = down[static_cast<std::size_t>(y)];
        rows.erase(rows.begin(), rows.lower_bound(taps.front().source));
        std::vector<const std::vector<Channels>*> sources;
        for (const Tap& tap : taps) sources.push_back(&scaledRow(tap.source));
        for (int x = 0; x < width; ++x) {
            Channels sum{};
            for (std::size_t t = 0; t < taps.size(); ++t) {
                const Channels& source = (*sources[t])[static_cast<std::size_t>(x)];
                for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += source[c] * taps[t].weight;
            }
            scaled.pixels[static_cast<std::size_t>(y) * width + x] = Join(sum);
        }
    }
    return scaled;
}

}  // namespace ambrevo::pack
