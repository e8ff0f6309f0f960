#include "EndOfDocument.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "CurrentDevmode.h"
#include "DialogLibrary.h"
#include "EscapeReplies.h"

namespace docevents {
namespace {

constexpr std::uint16_t kBitmapType = 2;
// A bitmap for the rendering driver is small; anything larger is not sent.
constexpr std::size_t kMaxResourceBytes = 16u << 20;
constexpr std::size_t kLineChars = 256;
constexpr int kUpsideDown = 1800;
constexpr char kInstructionFace[] = "Arial";

HFONT InstructionFont(int points, std::int32_t resolution)
{
    LOGFONTA font{};
    font.lfHeight = -MulDiv(points, resolution, 72);
    font.lfEscapement = font.lfOrientation = kUpsideDown;
    font.lfWeight = FW_NORMAL;
    lstrcpynA(font.lfFaceName, kInstructionFace, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// Three lines upside down from the page's centre downwards, each one font height below the last;
// nothing unless all three strings are there.
void DrawInstructions(HDC dc, const siblings::DialogLibrary& dialogs, const EndResources::Page& page)
{
    std::array<std::string, 3> lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto text = dialogs.String(kInstructionStrings[i], false, kLineChars);
        if (!text)
            return;
        lines[i] = *text;
    }
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_TEXT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_CENTER | TA_TOP | TA_NOUPDATECP);
    HFONT font = InstructionFont(kInstructionPoints, page.resolution);
    if (font) {
        SelectObject(dc, font);
        LONG widest = 0;
        for (const std::string& line : lines) {
            SIZE size{};
            GetTextExtentPoint32A(dc, line.data(), int(line.size()), &size);
            widest = std::max(widest, size.cx);
        }
        if (widest > page.width) {
            SelectObject(dc, GetStockObject(SYSTEM_FONT));
            DeleteObject(font);
            font = InstructionFont(kInstructionSmallPoints, page.resolution);
            if (font)
                SelectObject(dc, font);
        }
    }
    if (font) {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        for (std::size_t i = 0; i < lines.size(); ++i)
            TextOutA(dc, page.width / 2, page.height / 2 + int(i) * metrics.tmHeight, lines[i].data(),
                     int(lines[i].size()));
    }
    RestoreDC(dc, saved);
    if (font)
        DeleteObject(font);
}

void SendResource(const RenderingDriver& driver, const siblings::DialogLibrary& dialogs, std::uint16_t number,
                  int escape)
{
    if (const auto bytes = dialogs.Resource(number, kBitmapType, false, kMaxResourceBytes))
        driver.Send(escape, *bytes);
}

}  // namespace

int EndDocument(HANDLE printer, const RenderingDriver& driver)
{
    devmode::Buffer current{};
    devmode::BuildCurrentDevmode(printer, current, nullptr);
    const siblings::DialogLibrary dialogs;
    if (!dialogs.Loaded())
        return int(GetLastError());
    if (!driver.Supports(kEndResourcesWanted) || !driver.Supports(kFirstEndResource) ||
        !driver.Supports(kSecondEndResource))
        return kEndResourcesWanted;
    std::array<std::uint8_t, kEndResourcesReplySize> reply{};
    const int answer = driver.Send(kEndResourcesWanted, {}, reply);
    if (answer == 0)
        return kEndResourcesWanted;
    const EndResources wanted = ParseEndResources(answer, reply);
    if (wanted.firstResource) {
        SendResource(driver, dialogs, *wanted.firstResource, kFirstEndResource);
        if (wanted.page)
            DrawInstructions(driver.Dc(), dialogs, *wanted.page);
    }
    SendResource(driver, dialogs, kSecondResource, kSecondEndResource);
    return kEndResourcesWanted;
}

}  // namespace docevents
