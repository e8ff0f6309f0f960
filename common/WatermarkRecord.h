// The watermark record (204 bytes): QVTDX5DA fills it for the dialog library ("CallBackAccess"
// type 19), the watermark editor saves it (type 18), and the page preview draws from it. It holds
// no pointers, so both builds share one layout.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kWatermarkTextBytes = 64;

struct WatermarkRecord {
    std::uint16_t size;    // 204; a record of size 0 is not drawn
    std::uint16_t number;  // 1 to 255; 0: no watermark
    char name[kWatermarkTextBytes];
    char text[kWatermarkTextBytes];  // to print
    LOGFONTA font;                   // height in twentieths of a point, escapement in tenths of a degree
    COLORREF colour;
    std::uint16_t intensity;  // percent
    std::uint8_t reserved[6];
};
static_assert(sizeof(WatermarkRecord) == 204);
static_assert(offsetof(WatermarkRecord, name) == 4);
static_assert(offsetof(WatermarkRecord, text) == 68);
static_assert(offsetof(WatermarkRecord, font) == 132);
static_assert(offsetof(WatermarkRecord, colour) == 192);
static_assert(offsetof(WatermarkRecord, intensity) == 196);

inline constexpr std::uint16_t kWatermarkRecordSize = sizeof(WatermarkRecord);
