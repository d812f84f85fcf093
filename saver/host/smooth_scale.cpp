#include "smooth_scale.h"

#include <algorithm>

namespace {

// What one new pixel covers along one axis: source pixels from first on,
// each by its weight. Measured in units of which a source pixel holds
// newCount and a new pixel count, the weights of a new pixel add up to
// count.
struct Cover {
    int first = 0;
    std::vector<int64_t> weights;
};

std::vector<Cover> Covers(int count, int newCount) {
    std::vector<Cover> covers(static_cast<size_t>(newCount));
    for (int i = 0; i < newCount; ++i) {
        const int64_t begin = static_cast<int64_t>(i) * count, end = begin + count;
        Cover& cover = covers[static_cast<size_t>(i)];
        cover.first = static_cast<int>(begin / newCount);
        for (int64_t j = cover.first; j * newCount < end; ++j)
            cover.weights.push_back(std::min(end, (j + 1) * newCount) - std::max(begin, j * newCount));
    }
    return covers;
}

void Paste(Pixels& into, const Pixels& piece, int left, int top) {
    for (int y = 0; y < piece.height; ++y)
        for (int x = 0; x < piece.width; ++x) into.at(left + x, top + y) = piece.at(x, y);
}

}  // namespace

Pixels ScaleSmoothly(const Pixels& source, int left, int top, int w, int h, int width, int height) {
    if (w <= 0 || h <= 0 || width <= 0 || height <= 0 || left < 0 || top < 0 || left + w > source.width ||
        top + h > source.height)
        return {};
    const std::vector<Cover> across = Covers(w, width), down = Covers(h, height);
    const uint64_t total = static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
    Pixels scaled(width, height);
    for (int y = 0; y < height; ++y) {
        const Cover& rows = down[static_cast<size_t>(y)];
        for (int x = 0; x < width; ++x) {
            const Cover& columns = across[static_cast<size_t>(x)];
            uint64_t sums[4] = {};
            for (size_t r = 0; r < rows.weights.size(); ++r) {
                for (size_t c = 0; c < columns.weights.size(); ++c) {
                    const uint32_t value = source.at(left + columns.first + static_cast<int>(c),
                                                     top + rows.first + static_cast<int>(r));
                    const uint64_t weight = static_cast<uint64_t>(rows.weights[r] * columns.weights[c]);
                    for (int channel = 0; channel < 4; ++channel)
                        sums[channel] += weight * ((value >> (8 * channel)) & 0xFF);
                }
            }
            uint32_t mean = 0;
            for (int channel = 0; channel < 4; ++channel)
                mean |= static_cast<uint32_t>((sums[channel] + total / 2) / total) << (8 * channel);
            scaled.at(x, y) = mean;
        }
    }
    return scaled;
}

Pixels ScaleFrame(const Pixels& source, int corner, int width, int height, int cornerWidth, int cornerHeight) {
    // Smaller than its two corners, the frame has no room for them.
    if (width <= 0 || height <= 0 || cornerWidth < 0 || cornerHeight < 0 || width < 2 * cornerWidth ||
        height < 2 * cornerHeight)
        return {};
    const int sourceEdges[2][3] = {{0, corner, source.width - corner}, {0, corner, source.height - corner}};
    const int sourceSizes[2][3] = {{corner, source.width - 2 * corner, corner},
                                   {corner, source.height - 2 * corner, corner}};
    const int edges[2][3] = {{0, cornerWidth, width - cornerWidth}, {0, cornerHeight, height - cornerHeight}};
    const int sizes[2][3] = {{cornerWidth, width - 2 * cornerWidth, cornerWidth},
                             {cornerHeight, height - 2 * cornerHeight, cornerHeight}};
    Pixels framed(width, height);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            Paste(framed,
                  ScaleSmoothly(source, sourceEdges[0][column], sourceEdges[1][row], sourceSizes[0][column],
                                sourceSizes[1][row], sizes[0][column], sizes[1][row]),
                  edges[0][column], edges[1][row]);
    return framed;
}
