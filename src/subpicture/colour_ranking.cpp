#include "subpicture/colour_ranking.h"

#include <utility>
#include <vector>

namespace orvane {

namespace {

int numberOf(Colour c, const PreviewColours& colours) {
    for (int n = 0; n < 4; ++n) {
        if (colours[static_cast<size_t>(n)] == c) return n;
    }
    return -1;
}

}  // namespace

ColourRanking autoDetectColours(const Image24& picture, const PreviewColours& colours) {
    std::array<uint32_t, 4> count{};
    int firstMet = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const int n = numberOf(picture.pixel(x, y), colours);
            if (n < 0) continue;
            ++count[static_cast<size_t>(n)];
            if (n > 0 && firstMet < 0) firstMet = n;
        }
    }
    ColourRanking order{0, 1, 2, 3};
    // Three passes of a bubble sort that swaps only on a strictly smaller
    // left count, so equal counts keep their number order.
    for (int pass = 0; pass < 3; ++pass) {
        for (size_t i = 0; i + 1 < 4; ++i) {
            if (count[order[i]] < count[order[i + 1]]) std::swap(order[i], order[i + 1]);
        }
    }
    if (firstMet >= 0 && order[1] == firstMet) std::swap(order[1], order[2]);
    return order;
}

Image24 recolourForTextChoice(const Image24& picture, const PreviewColours& colours,
                              uint8_t textNumber) {
    Image24 out(picture.width(), picture.height());
    Colour previous = 0x000000;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const int n = numberOf(picture.pixel(x, y), colours);
            if (n >= 0) previous = n == textNumber ? 0xFFFFFF : 0x000000;
            out.setPixel(x, y, previous);
        }
    }
    return out;
}

namespace {

// The border's colour, and for each other colour its pixel count and summed
// distance from the background.
struct ShapeDepths {
    int background = 0;
    std::array<uint64_t, 4> count{}, sum{};
    uint64_t total = 0;
};

// The colour number of every pixel, row by row; -1 for a colour that is
// none of the four.
std::vector<int8_t> colourNumbers(const Image24& picture, const PreviewColours& colours) {
    const int w = picture.width(), h = picture.height();
    std::vector<int8_t> number(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            number[static_cast<size_t>(y) * w + x] =
                static_cast<int8_t>(numberOf(picture.pixel(x, y), colours));
    }
    return number;
}

// The colour met most often on the picture's border.
int borderColour(const std::vector<int8_t>& number, int w, int h) {
    std::array<uint32_t, 4> border{};
    auto countBorder = [&](int x, int y) {
        const int n = number[static_cast<size_t>(y) * w + x];
        if (n >= 0) ++border[static_cast<size_t>(n)];
    };
    for (int x = 0; x < w; ++x) {
        countBorder(x, 0);
        if (h > 1) countBorder(x, h - 1);
    }
    for (int y = 1; y + 1 < h; ++y) {
        countBorder(0, y);
        if (w > 1) countBorder(w - 1, y);
    }
    int background = 0;
    for (int n = 1; n < 4; ++n) {
        if (border[static_cast<size_t>(n)] > border[static_cast<size_t>(background)])
            background = n;
    }
    return background;
}

// Distance of every pixel from the background (4-neighbourhood; outside
// the picture counts as background): outlines and antialiasing lie on the
// edge of the letters, their body inside.
std::vector<uint16_t> depthsFromBackground(const std::vector<int8_t>& number, int w, int h,
                                           int background) {
    std::vector<uint16_t> depth(number.size(), 0);
    std::vector<uint32_t> queue;
    queue.reserve(number.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            if (number[i] == background) {
                queue.push_back(static_cast<uint32_t>(i));
            } else if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                depth[i] = 1;
                queue.push_back(static_cast<uint32_t>(i));
            }
        }
    }
    for (size_t q = 0; q < queue.size(); ++q) {
        const uint32_t i = queue[q];
        const int x = static_cast<int>(i % static_cast<uint32_t>(w)),
                  y = static_cast<int>(i / static_cast<uint32_t>(w));
        const uint16_t next = static_cast<uint16_t>(depth[i] + 1);
        auto visit = [&](int nx, int ny) {
            const size_t j = static_cast<size_t>(ny) * w + nx;
            if (number[j] == background || depth[j] != 0) return;
            depth[j] = next;
            queue.push_back(static_cast<uint32_t>(j));
        };
        if (x > 0) visit(x - 1, y);
        if (x + 1 < w) visit(x + 1, y);
        if (y > 0) visit(x, y - 1);
        if (y + 1 < h) visit(x, y + 1);
    }
    return depth;
}

ShapeDepths shapeDepths(const Image24& picture, const PreviewColours& colours) {
    const int w = picture.width(), h = picture.height();
    const std::vector<int8_t> number = colourNumbers(picture, colours);
    ShapeDepths d;
    d.background = borderColour(number, w, h);
    const std::vector<uint16_t> depth = depthsFromBackground(number, w, h, d.background);
    for (size_t i = 0; i < number.size(); ++i) {
        const int n = number[i];
        if (n < 0) continue;
        if (n == d.background) continue;
        ++d.count[static_cast<size_t>(n)];
        d.sum[static_cast<size_t>(n)] += depth[i];
        ++d.total;
    }
    return d;
}

// The deepest colour of the shapes, 255 when there is none.
uint8_t deepestColour(const ShapeDepths& d) {
    const auto& count = d.count;
    const auto& sum = d.sum;
    const uint64_t total = d.total;
    // The deepest colour among those that make up a real share of the
    // shapes (a few stray pixels do not decide).
    int best = -1;
    for (int n = 0; n < 4; ++n) {
        const uint64_t c = count[static_cast<size_t>(n)];
        if (c == 0 || c * 20 < total) continue;
        if (best < 0 || sum[static_cast<size_t>(n)] * count[static_cast<size_t>(best)] >
                            sum[static_cast<size_t>(best)] * c) {
            best = n;
        }
    }
    return best < 0 ? 255 : static_cast<uint8_t>(best);
}

}  // namespace

uint8_t robustTextColour(const Image24& picture, const PreviewColours& colours) {
    if (picture.width() == 0 || picture.height() == 0) return 255;
    return deepestColour(shapeDepths(picture, colours));
}

ColourRanking robustColourRoles(const Image24& picture, const PreviewColours& colours) {
    if (picture.width() == 0 || picture.height() == 0) return {0, 1, 2, 3};
    const ShapeDepths d = shapeDepths(picture, colours);
    const uint8_t text = deepestColour(d);
    if (text > 3) return autoDetectColours(picture, colours);
    ColourRanking r{static_cast<uint8_t>(d.background), text, 0, 0};
    // The other two: the outline lies next to the body, so the shallower
    // of them that is still part of the shapes comes first; a colour absent
    // from the picture goes last.
    std::array<uint8_t, 2> rest{};
    size_t k = 0;
    for (uint8_t n = 0; n < 4; ++n)
        if (n != r[0] && n != r[1]) rest[k++] = n;
    const auto present = [&](uint8_t n) { return d.count[n] > 0; };
    if (present(rest[1]) && (!present(rest[0]) || d.count[rest[1]] > d.count[rest[0]]))
        std::swap(rest[0], rest[1]);
    r[2] = rest[0];
    r[3] = rest[1];
    return r;
}

ColourRanking proposeTextColours(const Image24& picture, const PreviewColours& colours) {
    ColourRanking r = autoDetectColours(picture, colours);
    const uint8_t robust = robustTextColour(picture, colours);
    if (robust > 3) return r;
    for (size_t i = 0; i < r.size(); ++i) {
        if (r[i] == robust) std::swap(r[i], r[1]);
    }
    return r;
}

}  // namespace orvane
