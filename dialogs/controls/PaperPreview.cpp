#include "PaperPreview.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace preview {
namespace {

// Columns and rows of each layout in portrait.
constexpr Grid kLayouts[] = {{1, 1}, {1, 2}, {1, 3}, {2, 2}, {2, 3}, {3, 3}, {3, 4}, {4, 4}};

// Tenths of a degree per radian, and radians per tenth, as the preview has always rounded them.
constexpr double kTenthsPerRadian = 572.9578;
constexpr double kRadiansPerTenth = 0.001745;
constexpr double kQuarterTurn = 1.5705;
constexpr double kHalfTurn = 3.141;

// Font heights stay within what a device context takes.
constexpr std::int64_t kLargest = 32767;
constexpr int kSmallestFont = -3;

int Clamp(std::int64_t v, std::int64_t lo, std::int64_t hi)
{
    return int(std::clamp(v, lo, hi));
}

// The largest width:height rectangle inside a box, centred in it.
Rect Fit(Rect box, std::int64_t width, std::int64_t height)
{
    const std::int64_t bw = box.Width(), bh = box.Height();
    std::int64_t w = bw, h = bh;
    if (bw * height <= bh * width)
        h = bw * height / width;
    else
        w = bh * width / height;
    const int left = box.left + int((bw - w) / 2), top = box.top + int((bh - h) / 2);
    return {left, top, left + int(w), top + int(h)};
}

int Lift(int intensity)
{
    return std::clamp(intensity, 0, 100) * 255 / 100;
}

}  // namespace

int ClampLayout(int layoutIndex)
{
    return std::clamp(layoutIndex, 0, 7);
}

Grid LayoutGrid(int layoutIndex, bool portrait)
{
    const Grid g = kLayouts[ClampLayout(layoutIndex)];
    return portrait ? g : Grid{g.rows, g.columns};
}

std::optional<Rect> FitPaperPreview(Rect frame, std::int64_t paperWidth, std::int64_t paperHeight)
{
    if (paperWidth <= 0 || paperHeight <= 0)
        return std::nullopt;
    const Rect inner{frame.left + 20, frame.top + 20, frame.right - 20, frame.bottom - 20};
    if (inner.Width() <= 0 || inner.Height() <= 0)
        return std::nullopt;
    const Rect paper = Fit(inner, paperWidth, paperHeight);
    return Rect{paper.left - 6, paper.top - 6, paper.right, paper.bottom};
}

std::optional<Rect> FitTextPreview(Rect frame, std::int64_t paperWidth, std::int64_t paperHeight)
{
    if (paperWidth <= 0 || paperHeight <= 0 || frame.Width() <= 10 || frame.Height() <= 10)
        return std::nullopt;
    const Rect paper = Fit(frame, paperWidth, paperHeight);
    const int w = std::max(1, paper.Width() - 10), h = std::max(1, paper.Height() - 10);
    const int left = frame.left + (frame.Width() - w) / 2, top = frame.top + (frame.Height() - h) / 2;
    return Rect{left, top, left + w, top + h};
}

CellMetrics MetricsOf(int cellWidth, int cellHeight, bool portrait)
{
    const int shorter = std::min(cellWidth, cellHeight);
    CellMetrics m;
    m.margin = std::clamp(shorter / 8, 3, 10);
    m.indent = std::clamp(shorter / 4, m.margin + 2, m.margin + 5);
    m.pitch = std::clamp((portrait ? cellWidth : cellHeight) / 13, 2, 4);
    return m;
}

bool ShowsSimulatedText(int cellWidth, int cellHeight)
{
    return cellWidth > 8 && cellHeight > 8;
}

bool IsFreeAngle(int escapement)
{
    return escapement != 0 && escapement != 900;
}

int WatermarkAngle(int escapement, bool portrait, bool reversed, int cellWidth, int cellHeight)
{
    if (escapement == 0)
        return reversed ? (portrait ? 1800 : 2700) : (portrait ? 0 : 900);
    if (escapement == 900)
        return reversed ? (portrait ? 2700 : 0) : (portrait ? 900 : 1800);
    double radians = escapement * kRadiansPerTenth;
    if (!portrait) {
        const int longer = std::max(cellWidth, cellHeight), shorter = std::min(cellWidth, cellHeight);
        radians = std::atan2(double(longer), double(shorter)) + kQuarterTurn;
    }
    if (reversed)
        radians += kHalfTurn;
    return int(radians * kTenthsPerRadian);
}

int PaperPreviewFontHeight(int recordHeight, int cellSide, int dotsPerInch, std::int64_t paperHeight)
{
    if (paperHeight <= 0)
        return kSmallestFont;
    const std::int64_t v = std::llabs(recordHeight) * std::int64_t(std::max(cellSide, 0)) *
                           std::max(dotsPerInch, 0) / (paperHeight * 144);
    return std::min(kSmallestFont, -Clamp(v, 0, kLargest));
}

int TextPreviewFontHeight(int recordPoints, int dotsPerInch, int clientHeight, std::int64_t paperHeightPixels)
{
    if (paperHeightPixels <= 0)
        return kSmallestFont;
    const std::int64_t pixels = std::llabs(recordPoints) * std::max(dotsPerInch, 0) / 72;
    const std::int64_t scale = std::int64_t(std::max(clientHeight, 0)) * 1000 / paperHeightPixels;
    const int h = -Clamp(pixels * scale / 1000, 0, kLargest);
    return h >= -2 ? kSmallestFont : h;
}

std::uint32_t PaperPreviewColour(std::uint32_t colour, int intensity)
{
    colour &= 0xFFFFFFu;
    if (colour == 0)
        return 0;
    const std::uint32_t lift = std::uint32_t(Lift(intensity));
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= (((colour >> shift) & 0xFF) ? 0xFFu : lift) << shift;
    return out;
}

std::uint32_t TextPreviewColour(std::uint32_t colour, int intensity)
{
    if ((colour & 0xFFFFFFu) == 0) {
        const std::uint32_t grey = std::uint32_t(Lift(intensity));
        return grey | grey << 8 | grey << 16;
    }
    return PaperPreviewColour(colour, intensity);
}

int DiagonalAngle(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0)
        return 450;
    return int(std::atan2(double(height), double(width)) * kTenthsPerRadian);
}

std::vector<int> CellOrder(Grid grid, int pageOrder)
{
    std::vector<int> order;
    order.reserve(std::size_t(std::max(grid.Cells(), 0)));
    if (pageOrder == 1) {
        for (int c = 0; c < grid.columns; ++c)
            for (int r = 0; r < grid.rows; ++r)
                order.push_back(r * grid.columns + c);
    } else {
        for (int i = 0; i < grid.Cells(); ++i)
            order.push_back(i);
    }
    return order;
}

}  // namespace preview
