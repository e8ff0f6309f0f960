// Draws the language library's bitmaps and icons and writes the resource script that names them:
//   qvpictures <output directory>
// Every picture is drawn here from a few shapes, so none is kept as a binary file. Pictures that
// the pages draw with a mask have pure green around them; nothing else in them is pure green.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../ids/Pictures.h"
#include "Raster.h"

using raster::Canvas;
using raster::kKey;
using raster::Rgb;

namespace {

constexpr Rgb kInk{56, 56, 64};
constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kShadow{140, 140, 140};
constexpr Rgb kLines{170, 170, 178};
constexpr Rgb kFold{215, 215, 220};
constexpr Rgb kBlue{0, 84, 166};
constexpr Rgb kLightBlue{150, 190, 230};
constexpr Rgb kRed{196, 32, 40};
constexpr Rgb kBody{200, 202, 206};
constexpr Rgb kDark{96, 98, 104};
constexpr Rgb kCyan{0, 160, 220};
constexpr Rgb kMagenta{210, 0, 130};
constexpr Rgb kYellow{245, 205, 0};
constexpr Rgb kLamp{0, 190, 60};

// ---- Sheets ------------------------------------------------------------------------------------

// A sheet with its shadow; `lines` fills it with text lines from the top (or from the bottom).
void Sheet(Canvas& c, int x, int y, int w, int h, bool lines = true, bool fromBottom = false, int shadow = 1)
{
    if (shadow > 0)
        c.Fill(x + shadow, y + shadow, x + w - 1 + shadow, y + h - 1 + shadow, kShadow);
    c.Fill(x, y, x + w - 1, y + h - 1, kPaper);
    c.Frame(x, y, x + w - 1, y + h - 1, kInk);
    if (!lines || w < 8 || h < 8)
        return;
    const int margin = w >= 20 ? 3 : 2;
    int row = 0;
    for (int ly = margin + 1; ly <= h - margin - 2; ly += 2, ++row) {
        const int end = (row % 4 == 3) ? x + w / 2 : x + w - margin - 1;
        const int yy = fromBottom ? y + h - 1 - ly : y + ly;
        c.Line(x + margin, yy, end, yy, kLines);
    }
}

// A numbered sheet for the copies pictures; the number sits at the right, so a fan of sheets
// each a few pixels further right shows every number.
void NumberedSheet(Canvas& c, int x, int y, int n)
{
    Sheet(c, x, y, 14, 18, false);
    c.Text(x + 8, y + 6, std::to_string(n), kBlue);
}

// ---- Paper pictures ----------------------------------------------------------------------------

struct PaperKind {
    double width, height;  // inches, portrait
    const char* label;
    enum { Sheet, Envelope, Unknown } kind;
};

constexpr int kPaperCanvas = 76;
constexpr double kPixelsPerInch = 5.0;

Canvas EnvelopeBody(int w, int h)
{
    Canvas e(w + 2, h + 2, kKey);
    e.Fill(2, 2, w + 1, h + 1, kShadow);
    e.Fill(0, 0, w - 1, h - 1, kPaper);
    e.Frame(0, 0, w - 1, h - 1, kInk);
    e.Line(0, 0, w / 2, h * 2 / 5, kLines);
    e.Line(w - 1, 0, w - 1 - w / 2, h * 2 / 5, kLines);
    e.Fill(w - 10, 3, w - 4, 10, kLightBlue);
    e.Frame(w - 10, 3, w - 4, 10, kBlue);
    return e;
}

Canvas PaperPicture(const PaperKind& p, bool portrait)
{
    Canvas c(kPaperCanvas, kPaperCanvas, kKey);
    int w = int(std::lround(p.width * kPixelsPerInch)), h = int(std::lround(p.height * kPixelsPerInch));
    if (!portrait)
        std::swap(w, h);
    const int x = (kPaperCanvas - w - 2) / 2, y = (kPaperCanvas - h - 2) / 2;
    const std::string label = p.label;
    if (p.kind == PaperKind::Envelope) {
        // The envelope's own design is wide; portrait turns it and keeps its text upright.
        const Canvas body = portrait ? EnvelopeBody(h, w).TurnedClockwise() : EnvelopeBody(w, h);
        c.Paste(body, x, y);
        const int mid = y + h / 2;
        for (int i = 0; i < 3; ++i)
            c.Line(x + w / 4, mid + 2 + 3 * i, x + w / 4 + std::min(w / 2, 18) - 4 * (i == 2), mid + 2 + 3 * i,
                   kLines);
        // Portrait turns the stamp to the lower right: the label goes to the top there.
        c.Text(x + 3, portrait ? y + 3 : y + h - 9, label, kBlue);
        return c;
    }
    Sheet(c, x, y, w, h, false, false, 2);
    // A folded top-right corner.
    constexpr int kFoldSize = 7;
    for (int i = 0; i < kFoldSize; ++i)
        for (int j = 0; j <= i; ++j)
            c.Set(x + w - kFoldSize + i, y + j, kKey);
    for (int i = 0; i < kFoldSize; ++i)
        for (int j = 0; j <= i; ++j)
            c.Set(x + w - kFoldSize + j, y + i, kFold);
    c.Line(x + w - kFoldSize, y, x + w - 1, y + kFoldSize - 1, kInk);
    c.Line(x + w - kFoldSize, y, x + w - kFoldSize, y + kFoldSize - 1, kInk);
    c.Line(x + w - kFoldSize, y + kFoldSize - 1, x + w - 1, y + kFoldSize - 1, kInk);
    if (p.kind == PaperKind::Unknown) {
        c.Text(x + (w - 10) / 2, y + (h - 14) / 2, "?", kBlue, 2);
        return c;
    }
    // The label beside the fold, or under it when the sheet is too narrow.
    const int labelWidth = Canvas::TextWidth(label);
    const bool besideFold = labelWidth <= w - kFoldSize - 6;
    const int labelTop = besideFold ? y + 4 : y + kFoldSize + 3;
    c.Text(besideFold ? x + (w - kFoldSize - labelWidth) / 2 + 1 : x + (w - labelWidth) / 2, labelTop, label, kBlue);
    int row = 0;
    for (int ly = labelTop + 10; ly <= y + h - 5; ly += 3, ++row)
        c.Line(x + 4, ly, (row % 4 == 3) ? x + w / 2 : x + w - 5, ly, kLines);
    return c;
}

// ---- Setup page pictures -----------------------------------------------------------------------

constexpr int kSetupCanvas = 48;

Canvas Orientation(bool portrait)
{
    Canvas c(kSetupCanvas, kSetupCanvas, kKey);
    const int w = portrait ? 32 : 42, h = portrait ? 42 : 32;
    const int x = (kSetupCanvas - w - 1) / 2, y = (kSetupCanvas - h - 1) / 2;
    Sheet(c, x, y, w, h, false);
    // A capital A shows which way up the page is.
    const double cx = x + w / 2.0, top = y + h / 2.0 - 11, bottom = y + h / 2.0 + 11;
    c.Polygon({cx - 2.5, top, cx + 2.5, top, cx + 10, bottom, cx + 5.5, bottom, cx, top + 6, cx - 5.5, bottom,
               cx - 10, bottom},
              kBlue);
    c.Fill(int(cx - 5), int(bottom - 8), int(cx + 4), int(bottom - 6), kBlue);
    return c;
}

// Pages per sheet: the layout table's grid (columns and rows swapped for landscape).
Canvas Layout(int columns, int rows, bool portrait, bool borders)
{
    Canvas c(kSetupCanvas, kSetupCanvas, kKey);
    if (!portrait)
        std::swap(columns, rows);
    const int w = portrait ? 34 : 44, h = portrait ? 44 : 34;
    const int x = (kSetupCanvas - w - 1) / 2, y = (kSetupCanvas - h - 1) / 2;
    Sheet(c, x, y, w, h, false);
    const double cw = double(w - 2) / columns, ch = double(h - 2) / rows;
    // Numbers only when every cell can hold its own; otherwise every cell shows text lines.
    const int lastWidth = Canvas::SmallDigitsWidth(std::to_string(columns * rows));
    const bool numbers = int(cw) >= lastWidth + 4 && int(ch) >= 9;
    int n = 1;
    for (int r = 0; r < rows; ++r)
        for (int col = 0; col < columns; ++col, ++n) {
            const int x0 = x + 1 + int(col * cw), y0 = y + 1 + int(r * ch);
            const int x1 = x + 1 + int((col + 1) * cw) - 1, y1 = y + 1 + int((r + 1) * ch) - 1;
            if (borders)
                c.Frame(x0 + 1, y0 + 1, x1 - 1, y1 - 1, kInk);
            if (numbers) {
                const std::string digits = std::to_string(n);
                const int dw = Canvas::SmallDigitsWidth(digits);
                c.SmallDigits(x0 + (x1 - x0 + 1 - dw) / 2, y0 + (y1 - y0 + 1 - 5) / 2, digits, kBlue);
            } else {
                for (int ly = y0 + 3; ly <= y1 - 3; ly += 2)
                    c.Line(x0 + 3, ly, x1 - 3, ly, kLines);
            }
        }
    return c;
}

constexpr int kFanStep = 7;

// One set of pages fanned from the left, page 1 in front.
void FannedSet(Canvas& c, int x, int y, int first, int step)
{
    for (int i = 2; i >= 0; --i)
        NumberedSheet(c, x + kFanStep * i, y, first + step * i);
}

Canvas Copies(int kind)  // 0 one copy, 1 uncollated, 2 collated
{
    Canvas c(72, 40, kKey);
    if (kind == 0) {
        FannedSet(c, 21, 11, 1, 1);
    } else if (kind == 1) {
        for (int n = 1; n <= 3; ++n)
            for (int k = 1; k >= 0; --k)
                NumberedSheet(c, 1 + 24 * (n - 1) + kFanStep * k, 11, n);
    } else {
        FannedSet(c, 3, 11, 1, 1);
        FannedSet(c, 38, 11, 1, 1);
    }
    return c;
}

Canvas Duplex(bool longEdge)
{
    Canvas c(kSetupCanvas, kSetupCanvas, kKey);
    if (longEdge) {
        Sheet(c, 4, 10, 20, 28);
        Sheet(c, 24, 10, 20, 28);
        c.Line(24, 9, 24, 38, kBlue, 2);
    } else {
        Sheet(c, 10, 4, 28, 20);
        Sheet(c, 10, 24, 28, 20, true, true);
        c.Line(9, 24, 38, 24, kBlue, 2);
    }
    return c;
}

// ---- Icons -------------------------------------------------------------------------------------

// A duplex icon: a sheet and, when flipping, a curved arrow over the edge it turns on.
Canvas DuplexIcon(int size, bool portrait, int flip)  // flip: 0 none, 1 short edge, 2 long edge
{
    Canvas c(size, size, kKey);
    const double s = size / 32.0;
    const int w = int((portrait ? 18 : 26) * s), h = int((portrait ? 24 : 18) * s);
    const int x = (size - w) / 2 + int(2 * s), y = (size - h) / 2 + int(2 * s);
    Sheet(c, x, y, w, h, size >= 32);
    if (size < 32)
        for (int ly = y + 2; ly < y + h - 2; ly += 2)
            c.Line(x + 2, ly, x + w - 3, ly, kLines);
    if (flip == 0)
        return c;
    // Short edge of a portrait sheet and long edge of a landscape one: the top; else the left.
    const bool top = (flip == 1) == portrait;
    const double r = 6 * s;
    if (top) {
        const double cx = x + w / 2.0, cy = y;
        c.Arc(cx, cy, r + 1.5 * s, r - 0.5 * s, 0, 180, kBlue);
        c.ArrowHead(cx - r - 0.5 * s, cy + 3 * s, 0, 1, 3 * s, 5 * s, kBlue);
    } else {
        const double cx = x, cy = y + h / 2.0;
        c.Arc(cx, cy, r + 1.5 * s, r - 0.5 * s, 90, 270, kBlue);
        c.ArrowHead(cx + 3 * s, cy + r + 0.5 * s, 1, 0, 3 * s, 5 * s, kBlue);
    }
    return c;
}

Canvas LevelIcon(int size)
{
    Canvas c(size, size, kKey);
    const double m = size / 2.0, r = size * 0.42;
    c.Disc(m, m, r, kPaper);
    c.Arc(m, m, r, -1, 90, 270, kInk);
    c.Ring(m, m, r, r - std::max(1.0, size / 16.0), kInk);
    return c;
}

// kind: 0 desktop, 1 workgroup, 2 colour.
Canvas PrinterIcon(int size, int kind)
{
    Canvas c(size, size, kKey);
    const double s = size / 32.0;
    auto X = [&](double v) { return int(std::lround(v * s)); };
    const int top = kind == 1 ? 10 : 13, bottom = kind == 1 ? 30 : 26;
    c.Fill(X(10), X(top - 8), X(21), X(top), kPaper);  // paper in the feed
    c.Frame(X(10), X(top - 8), X(21), X(top), kInk);
    c.Fill(X(3), X(top), X(28), X(bottom), kBody);  // body
    c.Frame(X(3), X(top), X(28), X(bottom), kInk);
    c.Fill(X(7), X(top + 4), X(24), X(top + 5), kDark);  // output slot
    c.Fill(X(23), X(top + 8), X(25), X(top + 9), kLamp);
    if (kind == 1)
        for (int t = 0; t < 2; ++t)
            c.Line(X(5), X(22 + 4 * t), X(26), X(22 + 4 * t), kDark);
    if (kind == 2) {
        c.Fill(X(6), X(top + 8), X(8), X(top + 10), kCyan);
        c.Fill(X(10), X(top + 8), X(12), X(top + 10), kMagenta);
        c.Fill(X(14), X(top + 8), X(16), X(top + 10), kYellow);
    }
    return c;
}

// ---- Other pictures ----------------------------------------------------------------------------

Canvas Brand()
{
    Canvas c(116, 28, kKey);
    c.Ring(13, 13, 11, 7, kBlue);
    c.Line(16, 17, 23, 25, kBlue, 3);
    c.Text(30, 5, "QELBRIN", kBlue, 2);
    c.Fill(30, 22, 111, 23, kRed);
    return c;
}

Canvas Mark(bool mask)
{
    Canvas c(12, 12, mask ? Rgb{255, 255, 255} : Rgb{0, 0, 0});
    const Rgb ink = mask ? Rgb{0, 0, 0} : kBlue;
    c.Line(2, 6, 4, 9, ink, 2);
    c.Line(4, 9, 9, 2, ink, 2);
    return c;
}

Canvas Booklet()
{
    Canvas c(72, 48, kPaper);
    c.Frame(0, 0, 71, 47, kShadow);
    Sheet(c, 8, 8, 28, 34);
    Sheet(c, 36, 8, 28, 34);
    c.Line(36, 7, 36, 42, kInk);
    c.Fill(35, 14, 37, 17, kDark);  // staples on the fold
    c.Fill(35, 32, 37, 35, kDark);
    c.SmallDigits(10, 36, "2", kBlue);
    c.SmallDigits(59, 36, "3", kBlue);
    return c;
}

// Web link pictures: a framed tile with a symbol, drawn opaque.
Canvas WebTile(const std::function<void(Canvas&)>& symbol)
{
    Canvas c(32, 32, kPaper);
    c.Frame(0, 0, 31, 31, kLightBlue);
    symbol(c);
    return c;
}

Canvas WebHome()
{
    return WebTile([](Canvas& c) {
        c.Polygon({16, 5, 28, 16, 4, 16}, kBlue);
        c.Fill(8, 16, 24, 26, kBlue);
        c.Fill(14, 19, 18, 26, kPaper);
    });
}
Canvas WebDrivers()
{
    return WebTile([](Canvas& c) {
        c.Fill(13, 4, 18, 15, kBlue);
        c.Polygon({7, 15, 25, 15, 16, 24}, kBlue);
        c.Fill(5, 25, 26, 27, kInk);
    });
}
Canvas WebSupplies()
{
    return WebTile([](Canvas& c) {
        c.Fill(5, 11, 26, 21, kDark);
        c.Fill(7, 13, 24, 19, kBody);
        c.Fill(26, 14, 28, 18, kDark);
        c.Disc(11, 16, 2.5, kInk);
    });
}
Canvas WebSupport()
{
    return WebTile([](Canvas& c) {
        c.Ring(16, 16, 12, 9.5, kBlue);
        c.Text(11, 10, "?", kBlue, 2);
    });
}
Canvas WebRegister()
{
    return WebTile([](Canvas& c) {
        Sheet(c, 8, 4, 16, 22);
        c.Line(11, 17, 15, 22, kRed, 3);
        c.Line(15, 22, 26, 9, kRed, 3);
    });
}

Canvas OutputArrow()
{
    Canvas c(24, 16, kKey);
    c.Fill(9, 0, 14, 7, kBlue);
    c.Polygon({2, 7, 22, 7, 12, 16}, kBlue);
    return c;
}

// An arc of thickness 5 travelling from angle `from` to angle `to` (degrees, counter-clockwise
// when to > from), with its head at the end.
void CurvedArrow(Canvas& c, double cx, double cy, double r, double from, double to, Rgb ink)
{
    constexpr double kRad = 3.14159265358979323846 / 180;
    const double lo = std::min(from, to), hi = std::max(from, to);
    c.Arc(cx, cy, r + 2.5, r - 2.5, std::fmod(lo + 360, 360), std::fmod(hi + 360, 360), ink);
    const double t = to * kRad, sign = to > from ? 1 : -1;
    const double x = cx + r * std::cos(t), y = cy - r * std::sin(t);
    const double dx = -std::sin(t) * sign, dy = -std::cos(t) * sign;  // screen y points down
    c.ArrowHead(x + dx * 8, y + dy * 8, dx, dy, 14, 14, ink);
}

// Printed on the last page of the first side: how to put the stack back.
Canvas Reinsert(int kind)  // 0 long edge, 1 short edge, 2 stack into the tray
{
    Canvas c(240, 160, kPaper);
    constexpr Rgb kBlack{0, 0, 0};
    constexpr Rgb kGrey{150, 150, 150};
    // The tray.
    c.Line(40, 146, 200, 146, kBlack, 3);
    c.Line(40, 126, 40, 146, kBlack, 3);
    c.Line(200, 126, 200, 146, kBlack, 3);
    const int stackTop = kind == 2 ? 104 : 72;
    for (int i = 2; i >= 0; --i) {
        const int x = 70 + 3 * i, y = stackTop + 3 * i;
        c.Fill(x, y, x + 90, y + 34, kPaper);
        c.Frame(x, y, x + 90, y + 34, kBlack);
    }
    for (int ly = stackTop + 8; ly < stackTop + 30; ly += 6)
        c.Line(80, ly, 150, ly, kGrey);
    if (kind == 0)
        CurvedArrow(c, 163, 89, 30, 80, -80, kBlack);
    else if (kind == 1)
        CurvedArrow(c, 115, 74, 42, 15, 165, kBlack);
    else {
        c.Fill(110, 30, 130, 70, kGrey);
        c.Polygon({96, 70, 144, 70, 120, 94}, kGrey);
    }
    return c;
}

// ---- Output ------------------------------------------------------------------------------------

struct Output {
    std::string directory;
    std::FILE* script;
    bool ok = true;

    // Every picture has few colours: all are written with a colour table.
    void Bitmap(int id, const char* name, const Canvas& c)
    {
        constexpr bool palette = true;
        const std::string file = directory + "/" + name + ".bmp";
        ok = raster::WriteBmp(file, c, palette) && ok;
        std::fprintf(script, "%d BITMAP \"%s\"\n", id, file.c_str());
    }
    void Icon(int id, const char* name, const std::function<Canvas(int)>& draw)
    {
        const std::string file = directory + "/" + name + ".ico";
        ok = raster::WriteIco(file, {draw(32), draw(16)}) && ok;
        std::fprintf(script, "%d ICON \"%s\"\n", id, file.c_str());
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qvpictures <output directory>\n");
        return 2;
    }
    Output out{argv[1], std::fopen((std::string(argv[1]) + "/Pictures.rc").c_str(), "w")};
    if (!out.script) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out.script, "// Written by qvpictures from tools/PictureGen.cpp.\n");

    struct PaperPair {
        int landscape;
        const char* name;
        PaperKind kind;
    };
    const PaperPair papers[] = {
        {IDB_PAPER_A4_LANDSCAPE, "a4", {8.27, 11.69, "A4", PaperKind::Sheet}},
        {IDB_PAPER_A5_LANDSCAPE, "a5", {5.83, 8.27, "A5", PaperKind::Sheet}},
        {IDB_PAPER_OFICIO_LANDSCAPE, "oficio", {8.5, 13.5, "OFICIO", PaperKind::Sheet}},
        {IDB_PAPER_B5_LANDSCAPE, "b5", {7.17, 10.12, "B5", PaperKind::Sheet}},
        {IDB_PAPER_OTHER_LANDSCAPE, "other", {7.5, 10.5, "", PaperKind::Unknown}},
        {IDB_PAPER_EXECUTIVE_LANDSCAPE, "executive", {7.25, 10.5, "EXEC", PaperKind::Sheet}},
        {IDB_PAPER_LETTER_LANDSCAPE, "letter", {8.5, 11, "LTR", PaperKind::Sheet}},
        {IDB_PAPER_LEGAL_LANDSCAPE, "legal", {8.5, 14, "LGL", PaperKind::Sheet}},
        {IDB_PAPER_ENV_10_LANDSCAPE, "env10", {4.125, 9.5, "#10", PaperKind::Envelope}},
        {IDB_PAPER_MONARCH_LANDSCAPE, "monarch", {3.875, 7.5, "MON", PaperKind::Envelope}},
        {IDB_PAPER_ENV_9_LANDSCAPE, "env9", {3.875, 8.875, "#9", PaperKind::Envelope}},
        {IDB_PAPER_ENV_B5_LANDSCAPE, "envb5", {6.93, 9.84, "B5", PaperKind::Envelope}},
        {IDB_PAPER_ENV_C5_LANDSCAPE, "envc5", {6.38, 9.02, "C5", PaperKind::Envelope}},
        {IDB_PAPER_ENV_DL_LANDSCAPE, "envdl", {4.33, 8.66, "DL", PaperKind::Envelope}},
    };
    for (const PaperPair& p : papers) {
        out.Bitmap(p.landscape, (std::string("paper-") + p.name + "-landscape").c_str(), PaperPicture(p.kind, false));
        out.Bitmap(p.landscape + 1, (std::string("paper-") + p.name + "-portrait").c_str(), PaperPicture(p.kind, true));
    }
    out.Bitmap(IDB_OUTPUT_ARROW, "output-arrow", OutputArrow());

    out.Bitmap(IDB_ORIENTATION_PORTRAIT, "orientation-portrait", Orientation(true));
    out.Bitmap(IDB_ORIENTATION_LANDSCAPE, "orientation-landscape", Orientation(false));
    out.Bitmap(IDB_DUPLEX_LONG_EDGE, "duplex-long", Duplex(true));
    out.Bitmap(IDB_DUPLEX_SHORT_EDGE, "duplex-short", Duplex(false));
    out.Bitmap(IDB_COPIES_ONE, "copies-one", Copies(0));
    out.Bitmap(IDB_COPIES_UNCOLLATED, "copies-uncollated", Copies(1));
    out.Bitmap(IDB_COPIES_COLLATED, "copies-collated", Copies(2));
    struct Grid {
        int first, columns, rows;
    };
    for (const Grid& g : {Grid{IDB_LAYOUT_2, 1, 2}, Grid{IDB_LAYOUT_4, 2, 2}, Grid{IDB_LAYOUT_6, 2, 3},
                          Grid{IDB_LAYOUT_9, 3, 3}, Grid{IDB_LAYOUT_16, 4, 4}}) {
        const int pages = g.columns * g.rows;
        for (int i = 0; i < 4; ++i) {
            const bool portrait = i < 2, borders = i % 2 == 1;
            const std::string name = "layout-" + std::to_string(pages) + (portrait ? "-portrait" : "-landscape") +
                                     (borders ? "-borders" : "");
            out.Bitmap(g.first + i, name.c_str(), Layout(g.columns, g.rows, portrait, borders));
        }
    }

    out.Bitmap(IDB_BRAND, "brand", Brand());
    out.Bitmap(IDB_MARK, "mark", Mark(false));
    out.Bitmap(IDB_MARK_MASK, "mark-mask", Mark(true));
    out.Bitmap(IDB_BOOKLET, "booklet", Booklet());
    out.Bitmap(IDB_WEB_HOME, "web-home", WebHome());
    out.Bitmap(IDB_WEB_DRIVERS, "web-drivers", WebDrivers());
    out.Bitmap(IDB_WEB_SUPPLIES, "web-supplies", WebSupplies());
    out.Bitmap(IDB_WEB_SUPPORT, "web-support", WebSupport());
    out.Bitmap(IDB_WEB_REGISTER, "web-register", WebRegister());
    out.Bitmap(IDB_REINSERT_LONG_EDGE, "reinsert-long-edge", Reinsert(0));
    out.Bitmap(IDB_REINSERT_SHORT_EDGE, "reinsert-short-edge", Reinsert(1));
    out.Bitmap(IDB_REINSERT_STACK, "reinsert-stack", Reinsert(2));

    struct DuplexIconId {
        int id;
        const char* name;
        bool portrait;
        int flip;
    };
    for (const DuplexIconId& d : {DuplexIconId{IDI_DUPLEX_NONE_PORTRAIT, "duplex-none-portrait", true, 0},
                                  DuplexIconId{IDI_DUPLEX_NONE_LANDSCAPE, "duplex-none-landscape", false, 0},
                                  DuplexIconId{IDI_DUPLEX_SHORT_PORTRAIT, "duplex-short-portrait", true, 1},
                                  DuplexIconId{IDI_DUPLEX_SHORT_LANDSCAPE, "duplex-short-landscape", false, 1},
                                  DuplexIconId{IDI_DUPLEX_LONG_PORTRAIT, "duplex-long-portrait", true, 2},
                                  DuplexIconId{IDI_DUPLEX_LONG_LANDSCAPE, "duplex-long-landscape", false, 2}})
        out.Icon(d.id, d.name, [&](int size) { return DuplexIcon(size, d.portrait, d.flip); });
    out.Icon(IDI_LEVEL, "level", LevelIcon);
    out.Icon(IDI_PRINTER_DESKTOP, "printer-desktop", [](int size) { return PrinterIcon(size, 0); });
    out.Icon(IDI_PRINTER_WORKGROUP, "printer-workgroup", [](int size) { return PrinterIcon(size, 1); });
    out.Icon(IDI_PRINTER_COLOR, "printer-color", [](int size) { return PrinterIcon(size, 2); });

    if (std::fclose(out.script) != 0 || !out.ok) {
        std::fprintf(stderr, "qvpictures: could not write every picture to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
