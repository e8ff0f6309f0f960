#include "DocumentSummary.h"

#include <new>

#include "CacheFile.h"
#include "DialogLibrary.h"
#include "FontFileNames.h"
#include "FontLists.h"
#include "FontSummary.h"
#include "InstallLog.h"
#include "Library.h"
#include "ModelResources.h"
#include "PrinterFiles.h"
#include "SiblingPath.h"
#include "SpoolLock.h"

namespace fontfiles {
namespace {

using fontsummary::Builder;
using fontsummary::Entry;
using fontsummary::Source;

// The printer's lists of font names are written by the font copy at most 8192 bytes long.
constexpr DWORD kMaxListValue = 8192;
constexpr std::uint16_t kFirstText = 13, kLastText = 21;
constexpr std::size_t kDbcsFlagByte = 392;
constexpr std::uint8_t kDbcsFontsBit = 0x08;

std::string TextValue(HANDLE printer, const char* name)
{
    DWORD type = 0, needed = 0;
    const DWORD first = LockedGetPrinterDataA(printer, const_cast<LPSTR>(name), &type, nullptr, 0, &needed);
    if ((first != ERROR_MORE_DATA && first != ERROR_SUCCESS) || needed == 0 || needed > kMaxListValue)
        return {};
    std::string text(needed, '\0');
    if (LockedGetPrinterDataA(printer, const_cast<LPSTR>(name), &type, reinterpret_cast<LPBYTE>(text.data()), needed,
                              &needed) != ERROR_SUCCESS)
        return {};
    text.resize(std::min<std::size_t>(needed, text.size()));
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

// Every item of a stored list; false when the summary is full.
bool AddNamed(Builder& summary, Source source, const std::vector<std::string>& names)
{
    std::uint16_t number = 0;
    for (const std::string& name : names) {
        Entry e;
        e.source = source;
        e.number = ++number;
        e.name = name;
        if (!summary.Add(e) && summary.Full())
            return false;
    }
    return true;
}

bool AddListFile(Builder& summary, const std::string& path)
{
    std::optional<recordlist::RecordList> list = ReadFontList(path);
    if (!list)
        return true;
    for (bool more = list->Rewind(); more; more = list->Next()) {
        Entry e;
        e.source = Source::Downloaded;
        e.number = list->FieldUInt16(1).value_or(0);
        e.name = list->FieldText(2).value_or("");
        if (!summary.Add(e) && summary.Full())
            return false;
    }
    return true;
}

bool EastAsianCodePage(UINT cp)
{
    return cp == 932 || cp == 936 || cp == 949 || cp == 950;
}

std::vector<fontcache::Bytes> DialogTexts()
{
    std::vector<fontcache::Bytes> texts;
    const siblings::DialogLibrary library;
    for (std::uint16_t n = kFirstText; n <= kLastText; ++n)
        if (const std::optional<std::string> s = library.String(n, false, 256))
            texts.emplace_back(s->begin(), s->end());
    return texts;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> BuildFontSummary(std::span<const std::uint8_t> devmode, HANDLE printer)
try {
    Builder summary;
    const PrinterFiles files = PrinterFontFiles(printer);
    bool room = true;
    for (int name = 1; room && name <= int(model::kMaxResidentFonts); ++name) {
        const std::optional<model::ResidentFont> font =
            model::ParseResidentFont(model::LoadModelResource(DriverModule(), model::kResidentFontType, name));
        if (font && fontsummary::InFontSets(devmode, font->fontSet))
            room = summary.Add(fontsummary::FromResident(*font, std::uint16_t(name))) || !summary.Full();
    }
    room = room && AddNamed(summary, Source::Additional, fontsummary::SplitList(TextValue(printer, "AdditionalFonts"), ";"));
    room = room && AddListFile(summary, files.fontList) && AddListFile(summary, files.metricList);
    if (room && EastAsianCodePage(GetACP()) && devmode.size() > kDbcsFlagByte && (devmode[kDbcsFlagByte] & kDbcsFontsBit))
        AddNamed(summary, Source::EastAsian, fontsummary::SplitList(TextValue(printer, "DBCSpfm"), ";,"));
    return summary.Finish();
} catch (const std::bad_alloc&) {
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> FontSummaryForDocument(std::span<const std::uint8_t> devmode,
                                                                const std::string& printerName, HANDLE printer)
{
    if (devmode.size() < fontcache::kDevmodeSize)
        return std::nullopt;
    std::string path = PrinterFontFiles(printer).fontCache;
    if (path.empty())
        path = SiblingPathA(DriverModule(), (std::string(kNoPrinterStem) + std::string(kFontCacheExtension)).c_str());
    const std::optional<fontcache::Outcome> outcome = fontcache::CachedSummary(
        path, devmode, [&] { return BuildFontSummary(devmode, printer); }, DialogTexts);
    if (!outcome)
        return std::nullopt;
    if (outcome->created && outcome->stored) {
        installlog::RegisterWithInstallLog(printer, printerName, installlog::LogKind::Printer, {path, {}, {}, {}});
        LockedSetPrinterDataA(printer, const_cast<LPSTR>(kFontSummaryFileValue), REG_BINARY,
                              reinterpret_cast<LPBYTE>(path.data()), DWORD(path.size() + 1));
    }
    return outcome->summary;
}

}  // namespace fontfiles
