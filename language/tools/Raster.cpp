#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace raster {
namespace {

constexpr double kPi = 3.14159265358979323846;

// 5x7 glyphs, one string of five dots per row.
struct Glyph {
    char c;
    const char* rows[7];
};
constexpr Glyph kFont[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'#', {".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
};

const Glyph* GlyphOf(char c)
{
    for (const Glyph& g : kFont)
        if (g.c == c)
            return &g;
    return nullptr;
}

// 3x5 digits, rows of three dots.
constexpr const char* kDigits[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", ".##", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
};

void Put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

bool WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// BITMAPINFOHEADER.
void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int height, int bits, std::uint32_t imageBytes,
                   std::uint32_t colours)
{
    Put32(out, 40);
    Put32(out, std::uint32_t(width));
    Put32(out, std::uint32_t(height));
    Put16(out, 1);
    Put16(out, unsigned(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 3780);  // 96 dpi
    Put32(out, 3780);
    Put32(out, colours);
    Put32(out, 0);
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), pixels_(std::size_t(width) * height, background)
{
}

void Canvas::Set(int x, int y, Rgb c)
{
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        pixels_[std::size_t(y) * width_ + x] = c;
}

void Canvas::Fill(int x0, int y0, int x1, int y1, Rgb c)
{
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
        for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
            Set(x, y, c);
}

void Canvas::Frame(int x0, int y0, int x1, int y1, Rgb c)
{
    Line(x0, y0, x1, y0, c);
    Line(x0, y1, x1, y1, c);
    Line(x0, y0, x0, y1, c);
    Line(x1, y0, x1, y1, c);
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb c, int thickness)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    const int lo = -(thickness - 1) / 2, hi = thickness / 2;
    for (;;) {
        for (int oy = lo; oy <= hi; ++oy)
            for (int ox = lo; ox <= hi; ++ox)
                Set(x0 + ox, y0 + oy, c);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::Polygon(const std::vector<double>& xy, Rgb c)
{
    const std::size_t n = xy.size() / 2;
    if (n < 3)
        return;
    for (int y = 0; y < height_; ++y) {
        const double py = y + 0.5;
        std::vector<double> crossings;
        for (std::size_t i = 0; i < n; ++i) {
            const double x0 = xy[2 * i], y0 = xy[2 * i + 1];
            const double x1 = xy[2 * ((i + 1) % n)], y1 = xy[2 * ((i + 1) % n) + 1];
            if ((y0 <= py && y1 > py) || (y1 <= py && y0 > py))
                crossings.push_back(x0 + (py - y0) / (y1 - y0) * (x1 - x0));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
            for (int x = int(std::ceil(crossings[i] - 0.5)); x + 0.5 <= crossings[i + 1]; ++x)
                Set(x, y, c);
    }
}

void Canvas::Disc(double cx, double cy, double radius, Rgb c)
{
    Ring(cx, cy, radius, -1, c);
}

void Canvas::Ring(double cx, double cy, double outer, double inner, Rgb c)
{
    Arc(cx, cy, outer, inner, 0, 360, c);
}

void Canvas::Arc(double cx, double cy, double outer, double inner, double a0, double a1, Rgb c)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const double dx = x + 0.5 - cx, dy = cy - (y + 0.5);
            const double d = std::hypot(dx, dy);
            if (d > outer || d <= inner)
                continue;
            double a = std::atan2(dy, dx) * 180 / kPi;
            if (a < 0)
                a += 360;
            const bool inside = a0 <= a1 ? (a >= a0 && a <= a1) : (a >= a0 || a <= a1);
            if (inside || a1 - a0 >= 360)
                Set(x, y, c);
        }
}

void Canvas::ArrowHead(double x, double y, double dx, double dy, double length, double width, Rgb c)
{
    const double d = std::hypot(dx, dy);
    if (d == 0)
        return;
    const double ux = dx / d, uy = dy / d;
    const double bx = x - ux * length, by = y - uy * length;
    Polygon({x, y, bx - uy * width / 2, by + ux * width / 2, bx + uy * width / 2, by - ux * width / 2}, c);
}

void Canvas::Text(int x, int y, const std::string& text, Rgb c, int scale)
{
    for (char ch : text) {
        if (const Glyph* g = GlyphOf(ch))
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g->rows[row][col] == '#')
                        Fill(x + col * scale, y + row * scale, x + col * scale + scale - 1,
                             y + row * scale + scale - 1, c);
        x += 6 * scale;
    }
}

int Canvas::TextWidth(const std::string& text, int scale)
{
    return text.empty() ? 0 : int(text.size()) * 6 * scale - scale;
}

void Canvas::SmallDigits(int x, int y, const std::string& digits, Rgb c)
{
    for (char ch : digits) {
        if (ch >= '0' && ch <= '9')
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (kDigits[ch - '0'][row][col] == '#')
                        Set(x + col, y + row, c);
        x += 4;
    }
}

int Canvas::SmallDigitsWidth(const std::string& digits)
{
    return digits.empty() ? 0 : int(digits.size()) * 4 - 1;
}

Canvas Canvas::TurnedClockwise() const
{
    Canvas out(height_, width_, Rgb{});
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.Set(height_ - 1 - y, x, At(x, y));
    return out;
}

void Canvas::Paste(const Canvas& other, int x, int y)
{
    for (int oy = 0; oy < other.Height(); ++oy)
        for (int ox = 0; ox < other.Width(); ++ox)
            if (!(other.At(ox, oy) == kKey))
                Set(x + ox, y + oy, other.At(ox, oy));
}

bool WriteBmp(const std::string& path, const Canvas& c, bool palette)
{
    std::vector<Rgb> colours;
    std::map<std::uint32_t, std::uint8_t> index;
    if (palette) {
        for (int y = 0; y < c.Height() && colours.size() <= 256; ++y)
            for (int x = 0; x < c.Width(); ++x) {
                const Rgb p = c.At(x, y);
                const std::uint32_t key = std::uint32_t(p.r) << 16 | p.g << 8 | p.b;
                if (!index.count(key)) {
                    index[key] = std::uint8_t(colours.size());
                    colours.push_back(p);
                }
            }
        if (colours.size() > 256)
            return false;
    }
    const int bits = palette ? 8 : 24;
    const std::uint32_t stride = (std::uint32_t(c.Width()) * bits / 8 + 3) & ~3u;
    const std::uint32_t imageBytes = stride * std::uint32_t(c.Height());
    const std::uint32_t tableBytes = std::uint32_t(colours.size()) * 4;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + tableBytes + imageBytes);
    Put32(out, 0);
    Put32(out, 14 + 40 + tableBytes);
    PutInfoHeader(out, c.Width(), c.Height(), bits, imageBytes, std::uint32_t(colours.size()));
    for (const Rgb& p : colours) {
        out.push_back(p.b);
        out.push_back(p.g);
        out.push_back(p.r);
        out.push_back(0);
    }
    for (int y = c.Height() - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < c.Width(); ++x) {
            const Rgb p = c.At(x, y);
            if (palette) {
                out.push_back(index[std::uint32_t(p.r) << 16 | p.g << 8 | p.b]);
            } else {
                out.push_back(p.b);
                out.push_back(p.g);
                out.push_back(p.r);
            }
        }
        while (out.size() - start < stride)
            out.push_back(0);
    }
    return WriteAll(path, out);
}

bool WriteIco(const std::string& path, const std::vector<Canvas>& images)
{
    std::vector<std::vector<std::uint8_t>> entries;
    for (const Canvas& c : images) {
        std::vector<std::uint8_t> e;
        const std::uint32_t maskStride = ((std::uint32_t(c.Width()) + 31) / 32) * 4;
        const std::uint32_t imageBytes = std::uint32_t(c.Width()) * c.Height() * 4 + maskStride * c.Height();
        PutInfoHeader(e, c.Width(), c.Height() * 2, 32, imageBytes, 0);
        for (int y = c.Height() - 1; y >= 0; --y)
            for (int x = 0; x < c.Width(); ++x) {
                const Rgb p = c.At(x, y);
                const bool clear = p == kKey;
                e.push_back(clear ? 0 : p.b);
                e.push_back(clear ? 0 : p.g);
                e.push_back(clear ? 0 : p.r);
                e.push_back(clear ? 0 : 255);
            }
        for (int y = c.Height() - 1; y >= 0; --y) {
            std::vector<std::uint8_t> row(maskStride, 0);
            for (int x = 0; x < c.Width(); ++x)
                if (c.At(x, y) == kKey)
                    row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
            e.insert(e.end(), row.begin(), row.end());
        }
        entries.push_back(std::move(e));
    }
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, unsigned(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(std::uint8_t(images[i].Width() & 0xFF));
        out.push_back(std::uint8_t(images[i].Height() & 0xFF));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, std::uint32_t(entries[i].size()));
        Put32(out, offset);
        offset += std::uint32_t(entries[i].size());
    }
    for (const auto& e : entries)
        out.insert(out.end(), e.begin(), e.end());
    return WriteAll(path, out);
}

}  // namespace raster
