// The geometry of the page-layout preview (QelPaper) and of the watermark-text preview
// (QelSimpleText), free of platform headers: the page grid of a layout, the fit into a frame,
// the cell metrics, the watermark's angle, size and colour, and the order of the cells. The
// window procedures only draw what these decide.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace preview {

struct Grid {
    int columns = 1, rows = 1;
    int Cells() const { return columns * rows; }
};

// The layout index clamped to the table (0 to 7: 1, 2, 3, 4, 6, 9, 12 and 16 pages per sheet);
// landscape swaps the columns and rows.
int ClampLayout(int layoutIndex);
Grid LayoutGrid(int layoutIndex, bool portrait);

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// The page preview's place for a paper of width:height inside `frame`: the frame less 20 pixels
// on every side, the largest width:height rectangle that fits it, centred; the control goes 6
// pixels up and left of it and is 6 pixels larger both ways. Nothing (keep the place) unless
// both sides of the paper are positive.
std::optional<Rect> FitPaperPreview(Rect frame, std::int64_t paperWidth, std::int64_t paperHeight);

// The text preview's place for a paper of width:height inside `frame`: the largest
// width:height rectangle that fits, less 10 pixels both ways, centred. Nothing unless both
// sides are positive.
std::optional<Rect> FitTextPreview(Rect frame, std::int64_t paperWidth, std::int64_t paperHeight);

// Margin, indent and line pitch of a page cell, in pixels.
struct CellMetrics {
    int margin = 3, indent = 5, pitch = 2;
};
CellMetrics MetricsOf(int cellWidth, int cellHeight, bool portrait);
// Cells this small show no simulated text.
bool ShowsSimulatedText(int cellWidth, int cellHeight);

// The watermark text's angle in tenths of a degree for the record's escapement: 0 and 900 are
// turned for landscape and for the reversed page; any other escapement is a free angle (the
// record's own in portrait, the cell's diagonal in landscape, half a turn more when reversed).
int WatermarkAngle(int escapement, bool portrait, bool reversed, int cellWidth, int cellHeight);
bool IsFreeAngle(int escapement);

// The page preview's font height (a negative height as fonts take it) for a watermark of
// `recordHeight` twentieths of a point on a cell `cellSide` pixels long across the paper's
// height: never smaller than 3 pixels, which is also the height for a paper of unknown height.
int PaperPreviewFontHeight(int recordHeight, int cellSide, int dotsPerInch, std::int64_t paperHeight);
// The text preview's font height for a record height in points: scaled from the screen's
// resolution to the preview's height for the paper's height in pixels, at least 3 pixels.
int TextPreviewFontHeight(int recordPoints, int dotsPerInch, int clientHeight, std::int64_t paperHeightPixels);

// Colours are 0x00BBGGRR. In the page preview black stays black; any other colour keeps its
// channels that are set at full strength and lifts the others with the intensity. The text
// preview draws black as the grey of the intensity.
std::uint32_t PaperPreviewColour(std::uint32_t colour, int intensity);
std::uint32_t TextPreviewColour(std::uint32_t colour, int intensity);

// The paper's diagonal in tenths of a degree (the text preview's 45-degree escapement).
int DiagonalAngle(std::int64_t width, std::int64_t height);

// The cells in the order pages fill them (cell index = row * columns + column): across then
// down for page order 0, down then across for 1 (any other order counts as 0).
std::vector<int> CellOrder(Grid grid, int pageOrder);

}  // namespace preview
