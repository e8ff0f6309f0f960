// The five window classes the language library's templates use as controls, their private
// messages (absolute numbers; 1024 is WM_USER) and the records they are handed.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct SheetContext;

namespace controls {

inline constexpr char kPaperClass[] = "QelPaper";
inline constexpr char kTabClass[] = "QelTab";
inline constexpr char kPrinterPictureClass[] = "QELPCLPRTBMP";
inline constexpr wchar_t kBitmapClass[] = L"QelPclBmp";  // a wide class
inline constexpr char kSimpleTextClass[] = "QelSimpleText";

// Registers the classes with the language library's instance, in the order above; the
// unregistration runs backwards.
void RegisterControls(HINSTANCE language);
void UnregisterControls(HINSTANCE language);

// ---- QelPaper: page-layout preview. Every message answers 0. -------------------------------------

namespace paper {
inline constexpr UINT kLayout = 1024;       // wParam: layout index 0 to 7 (others are clamped)
inline constexpr UINT kOrientation = 1025;  // wParam: 1 portrait
inline constexpr UINT kBorders = 1026;      // wParam: non-zero draws lines between the cells
inline constexpr UINT kKeptWord = 1027;     // wParam: kept, not drawn
inline constexpr UINT kRightToLeft = 1028;  // wParam: simulated text starts at the right
inline constexpr UINT kReversed = 1029;     // wParam: simulated text from the bottom up
inline constexpr UINT kEnvelope = 1030;     // wParam: envelope cells
inline constexpr UINT kPageOrder = 1031;    // wParam: 0 across then down, 1 down then across
inline constexpr UINT kFirstWatermark = 1032;  // lParam: WatermarkRecord* for the first cell
inline constexpr UINT kPaperWidth = 1033;      // lParam: 32-bit width, for the aspect ratio
inline constexpr UINT kPaperHeight = 1034;     // lParam: 32-bit height
inline constexpr UINT kOtherWatermark = 1035;  // lParam: WatermarkRecord* for the other cells
inline constexpr UINT kAlternate = 1036;       // wParam: alternate the two records cell by cell
// The dialog control whose rectangle the preview fits itself into on WM_SIZE.
inline constexpr int kFrameControl = 5106;
}  // namespace paper

// ---- QelTab: tab strip of up to four tabs, each standing for a dialog control -------------------

namespace tab {
inline constexpr int kMaxTabs = 4;
inline constexpr UINT kAdd = 1025;        // wParam: control ID; lParam: WORD list (count first) or 0
inline constexpr UINT kStyleWord = 1026;  // wParam: kept; sets bit 0 of the window style
inline constexpr UINT kMove = 1027;       // wParam: control ID; lParam: MAKELPARAM(x, y) of the tab
inline constexpr UINT kSelect = 1028;     // wParam: control ID
inline constexpr UINT kEnable = 1029;     // wParam: control ID; lParam: 1 enables, else disables
inline constexpr UINT kShowFocus = 1030;  // wParam: control ID
inline constexpr UINT kHideFocus = 1031;  // wParam: control ID
}  // namespace tab

// ---- QELPCLPRTBMP: printer picture drawn by the picture library ---------------------------------

namespace printer {
inline constexpr UINT kContext = 1024;  // lParam: SheetContext*
// The picture library's painter and palette manager, as the sheet context carries them.
using PaintPrinterFn = BOOL(WINAPI*)(HDC dc, HMODULE pictures, const RECT* area, int width, int height,
                                     int scale, const std::uint32_t* configuration, int flags);
using ManagePaletteFn = BOOL(WINAPI*)(HWND window, UINT request);
inline constexpr UINT kPaletteRealise = 783;  // TRUE when the palette changed
inline constexpr UINT kPaletteRelease = 2;
inline constexpr int kScale = 100;
inline constexpr int kPaintFlags = 128;
// The dialog control repainted when the palette changed.
inline constexpr int kPictureControl = 5123;
}  // namespace printer

// ---- QelPclBmp: a bitmap, stretched to the control keeping its shape ----------------------------

namespace bitmap {
inline constexpr UINT kLoad = 1025;         // lParam: resource name or integer ID (also WM_SETTEXT)
inline constexpr UINT kModule = 1026;       // lParam: module to load from (0: the language library)
inline constexpr UINT kTransparent = 1027;  // lParam: key colour
inline constexpr UINT kOpaque = 1028;
inline constexpr UINT kNaturalSize = 1029;  // bit 0 of lParam: never stretch past the bitmap's size
inline constexpr UINT kFramed = 1030;       // bit 0 of lParam: a sunken frame around the control
}  // namespace bitmap

// ---- QelSimpleText: watermark-text preview -------------------------------------------------------

namespace simpletext {
inline constexpr UINT kRecord = 1024;  // lParam: SimpleTextRecord*, kept by the caller
inline constexpr UINT kRefit = 1025;
inline constexpr int kFrameControl = 5132;  // the dialog control the preview fits into
inline constexpr int kTextControl = 6437;   // the dialog control whose text is previewed
inline constexpr std::size_t kTextBytes = 64;
}  // namespace simpletext

// The watermark editor's preview record: the paper in thousandths of a millimetre, a default
// text, and the font (height in points, negative), colour and intensity to show.
struct SimpleTextRecord {
    SheetContext* context;  // its working devmode gives the orientation
    std::int32_t paperWidth;
    std::int32_t paperHeight;
    char text[simpletext::kTextBytes];
    LOGFONTA font;
    COLORREF colour;
    std::int32_t intensity;
};
#ifndef _WIN64
static_assert(sizeof(SimpleTextRecord) == 144);
static_assert(offsetof(SimpleTextRecord, text) == 12);
static_assert(offsetof(SimpleTextRecord, font) == 76);
static_assert(offsetof(SimpleTextRecord, colour) == 136);
#endif

LRESULT CALLBACK PaperControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TabControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PrinterPictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK BitmapControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SimpleTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace controls

// The exported window procedures the classes are registered with.
extern "C" {
LRESULT CALLBACK QelbrinPaperControl(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK QelbrinTabControl(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK QelbrinPclPrinterBmpControl(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK QelbrinPclBitmapControl(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK QelbrinSimpleTextControl(HWND, UINT, WPARAM, LPARAM);
}
