// The previews' geometry over values that come from the devmode and the driver library's
// answers: any layout index, paper size, frame, cell, angle, height and colour.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "controls/PaperPreview.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const int layout = in.ConsumeIntegral<int>();
    const bool portrait = in.ConsumeBool();
    const preview::Grid grid = preview::LayoutGrid(layout, portrait);
    FUZZ_CHECK(grid.columns >= 1 && grid.rows >= 1 && grid.Cells() <= 16);

    const preview::Rect frame{in.ConsumeIntegralInRange(-4000, 4000), in.ConsumeIntegralInRange(-4000, 4000),
                              in.ConsumeIntegralInRange(-4000, 4000), in.ConsumeIntegralInRange(-4000, 4000)};
    const std::int64_t width = in.ConsumeIntegral<std::int32_t>(), height = in.ConsumeIntegral<std::int32_t>();
    if (const auto p = preview::FitPaperPreview(frame, width, height)) {
        FUZZ_CHECK(width > 0 && height > 0);
        FUZZ_CHECK(p->left + 6 >= frame.left + 20 && p->top + 6 >= frame.top + 20);
        FUZZ_CHECK(p->right <= frame.right - 20 && p->bottom <= frame.bottom - 20);
    }
    if (const auto t = preview::FitTextPreview(frame, width, height)) {
        FUZZ_CHECK(t->left >= frame.left && t->top >= frame.top && t->right <= frame.right &&
                   t->bottom <= frame.bottom && t->Width() > 0 && t->Height() > 0);
    }

    const int cellWidth = in.ConsumeIntegralInRange(0, 5000), cellHeight = in.ConsumeIntegralInRange(0, 5000);
    const preview::CellMetrics m = preview::MetricsOf(cellWidth, cellHeight, portrait);
    FUZZ_CHECK(m.margin >= 3 && m.margin <= 10 && m.indent >= m.margin + 2 && m.indent <= m.margin + 5);
    FUZZ_CHECK(m.pitch >= 2 && m.pitch <= 4);

    const int escapement = in.ConsumeIntegral<std::int32_t>();
    (void)preview::WatermarkAngle(escapement, portrait, in.ConsumeBool(), cellWidth, cellHeight);
    const int recordHeight = in.ConsumeIntegral<std::int32_t>();
    const int dpi = in.ConsumeIntegralInRange(0, 2400);
    FUZZ_CHECK(preview::PaperPreviewFontHeight(recordHeight, cellWidth, dpi, height) <= -3);
    FUZZ_CHECK(preview::TextPreviewFontHeight(recordHeight, dpi, cellHeight, height) <= -3);
    const std::uint32_t colour = in.ConsumeIntegral<std::uint32_t>();
    const int intensity = in.ConsumeIntegral<std::int16_t>();
    FUZZ_CHECK(preview::PaperPreviewColour(colour, intensity) <= 0xFFFFFFu);
    FUZZ_CHECK(preview::TextPreviewColour(colour, intensity) <= 0xFFFFFFu);
    (void)preview::DiagonalAngle(width, height);
    const std::vector<int> order = preview::CellOrder(grid, in.ConsumeIntegral<int>());
    FUZZ_CHECK(int(order.size()) == grid.Cells());
    std::vector<bool> seen(order.size());
    for (int cell : order) {
        FUZZ_CHECK(cell >= 0 && cell < grid.Cells() && !seen[std::size_t(cell)]);
        seen[std::size_t(cell)] = true;
    }
    return 0;
}
