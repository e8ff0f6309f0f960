// A small raster canvas for the picture generator: hard-edged drawing (no blending, so nothing
// ever mixes with the transparent key colour), two pixel fonts, and writers for BMP and ICO
// files. Built for the build machine, not for Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace raster {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The transparent key of the pictures the pages draw with a mask.
inline constexpr Rgb kKey{0, 255, 0};

class Canvas {
public:
    Canvas(int width, int height, Rgb background);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

    void Set(int x, int y, Rgb c);
    // Rectangles take inclusive corners.
    void Fill(int x0, int y0, int x1, int y1, Rgb c);
    void Frame(int x0, int y0, int x1, int y1, Rgb c);
    void Line(int x0, int y0, int x1, int y1, Rgb c, int thickness = 1);
    // Even-odd fill of a polygon given as x, y pairs (pixel centres inside are set).
    void Polygon(const std::vector<double>& xy, Rgb c);
    void Disc(double cx, double cy, double radius, Rgb c);
    void Ring(double cx, double cy, double outer, double inner, Rgb c);
    // An arc of a ring from angle a0 to a1 (degrees, counter-clockwise from +x, y up).
    void Arc(double cx, double cy, double outer, double inner, double a0, double a1, Rgb c);
    // A filled arrow head with its tip at (x, y) pointing along (dx, dy).
    void ArrowHead(double x, double y, double dx, double dy, double length, double width, Rgb c);

    // Text in the 5x7 font (capitals, digits, "#", "?", "-", "."), scale pixels per dot.
    void Text(int x, int y, const std::string& text, Rgb c, int scale = 1);
    static int TextWidth(const std::string& text, int scale = 1);
    // Digits in the 3x5 font.
    void SmallDigits(int x, int y, const std::string& digits, Rgb c);
    static int SmallDigitsWidth(const std::string& digits);

    // The canvas turned a quarter clockwise.
    Canvas TurnedClockwise() const;
    // Draws another canvas onto this one, skipping its key-coloured pixels.
    void Paste(const Canvas& other, int x, int y);

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// 24-bit bottom-up DIB file; 8-bit with a colour table when asked and at most 256 colours.
bool WriteBmp(const std::string& path, const Canvas& c, bool palette = false);
// An icon file of the given canvases (each square); key-coloured pixels are transparent.
bool WriteIco(const std::string& path, const std::vector<Canvas>& images);

}  // namespace raster
