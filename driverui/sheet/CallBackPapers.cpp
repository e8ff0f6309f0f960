// The paper requests of CallBackAccess: the papers a list offers, a built-in paper's information,
// a paper-format record and the spooler forms that fit the model, all from the working devmode
// with the pages' current entries.
#include <algorithm>
#include <cstring>

#include "CallBacks.h"
#include "DeviceCapabilities.h"
#include "DevmodeLayout.h"
#include "DialogLibrary.h"
#include "FeatureSheet.h"
#include "Library.h"
#include "Merge.h"
#include "ModelResources.h"
#include "PaperFormatRecord.h"
#include "PaperList.h"
#include "PrinterAccess.h"
#include "PrinterForms.h"
#include "SheetCalls.h"

namespace sheet {
namespace {

constexpr WORD kBuiltInOnly = 1;  // the output-size list's selector

// The working devmode as the pages have it now.
devmode::Buffer CurrentDevmode(const SheetContext* c)
{
    devmode::Buffer d{};
    std::copy_n(c->workingDevmode, devmode::kSize, d.begin());
    WriteBackEntries(c, d);
    return d;
}

std::optional<model::PaperLimits> LimitsOf(std::span<const std::uint8_t> d)
{
    return model::ParsePaperLimits(
        model::LoadSelectedResource(DriverModule(), model::kPaperLimitsType, devmode::Get(d, devmode::kPaperLimitNumber)));
}

std::vector<caps::PaperListEntry> PapersOf(const SheetContext* c, const devmode::Buffer& d)
{
    const caps::PrinterForms forms = caps::LoadPrinterForms(c->printer, c->printerNameA ? c->printerNameA : "", true);
    return caps::BuildPaperList(d, forms, LimitsOf(d));
}

std::string Narrow(const std::u16string& text)
{
    const std::wstring wide(text.begin(), text.end());
    return NarrowText(wide.c_str());
}

// A paper's display name: a built-in paper's from the dialog library, a form's own.
std::string NameOf(const caps::PaperListEntry& paper, const siblings::DialogLibrary& library)
{
    if (paper.logicalName == 0)
        return Narrow(paper.name);
    return library.String(paper.logicalName, false, kRecordNameBytes).value_or(std::string());
}

WORD PaperList(const SheetContext* c, PaperListRequest* r)
{
    if (!r || r->size < sizeof(PaperListRequest))
        return 0;
    devmode::Buffer d = CurrentDevmode(c);
    devmode::Set(d, devmode::kGraphicsMode, std::uint8_t(r->mode));
    std::vector<caps::PaperListEntry> papers = PapersOf(c, d);
    if (r->selector == kBuiltInOnly)
        std::erase_if(papers, [](const caps::PaperListEntry& p) { return p.logicalName == 0; });
    if (!r->buffer) {
        r->count = WORD(std::min<std::size_t>(papers.size(), 0xFFFF));
        return r->count;
    }
    // The lists may have grown since the page asked for the count: never past its buffer.
    const std::size_t n = std::min<std::size_t>({papers.size(), r->capacity, 0xFFFF});
    auto* codes = static_cast<std::uint8_t*>(r->buffer);
    char* names = reinterpret_cast<char*>(codes + 2 * std::size_t(r->capacity));
    const siblings::DialogLibrary library;
    for (std::size_t i = 0; i < n; ++i) {
        const auto code = std::uint16_t(papers[i].code);
        std::memcpy(codes + 2 * i, &code, 2);
        PutField(names + i * kRecordNameBytes, kRecordNameBytes, NameOf(papers[i], library));
    }
    r->count = WORD(n);
    return r->count;
}

WORD SpoolerForms(SheetContext* c, void* data)
{
    std::vector<std::pair<std::int16_t, std::string>> items;
    for (const caps::PaperListEntry& p : PapersOf(c, CurrentDevmode(c)))
        if (p.code >= caps::kFirstSpoolerForm)
            items.emplace_back(p.code, Narrow(p.name));
    return Answer(c, data, items);
}

// A paper of the model's set: its name, size and four printable areas.
WORD PaperInfo(const SheetContext* c, UserFormRecord* r)
{
    if (!r)
        return 0;
    const devmode::Buffer d = CurrentDevmode(c);
    const caps::PaperInfo* info = caps::FindPaperInfo(r->number);
    const std::uint32_t bit = devmode::PaperBit(r->number);
    if (!info || bit == 0 || bit == devmode::kFormsBit ||
        !(caps::PaperSetMask(devmode::Get(d, devmode::kPaperSetIndex)) & bit))
        return 0;
    const siblings::DialogLibrary library;
    PutField(r->name, sizeof r->name, library.String(info->logicalName, false, sizeof r->name).value_or(""));
    r->flags = 0;
    r->width = info->width;
    r->height = info->length;
    r->reserved = 0;
    const caps::PrinterForms none;
    for (std::size_t q = 0; q < 4; ++q) {
        caps::PaperFormatRequest request;
        request.code = r->number;
        request.orientation = q & 1 ? 2 : 1;
        request.flag = q & 2 ? 1 : 0;
        const auto record = caps::ComputePaperFormat(d, request, none, LimitsOf(d));
        for (std::size_t k = 0; k < 4; ++k)
            r->areas[4 * q + k] = record ? caps::RecordWord(*record, paperformat::kQuad + 2 * k) : 0;
    }
    return 0;
}

// The paper-format record for the request words already in it (a code of 0: the current paper).
WORD PaperFormat(const SheetContext* c, void* data)
{
    if (!data)
        return 0;
    devmode::Buffer d = CurrentDevmode(c);
    auto* record = static_cast<std::uint8_t*>(data);
    const auto word = [&](std::size_t at) { return WORD(record[at] | record[at + 1] << 8); };
    WORD code = word(paperformat::kRequestedCode);
    if (code == 0)
        code = WORD(devmode::Get(d, devmode::dmPaperSize));
    const BOOL ok = caps::PaperFormat(nullptr, c->printer, data, reinterpret_cast<const DEVMODEW*>(d.data()), code,
                                      word(paperformat::kRequestOrientation), BYTE(word(paperformat::kRequestFlag)),
                                      word(paperformat::kRequestResolution), word(paperformat::kRequestMode));
    return ok ? 1 : 0;
}

}  // namespace

WORD PaperRequest(SheetContext* c, DWORD type, void* data)
{
    switch (type) {
    case kCbEnumSpoolerForms: return SpoolerForms(c, data);
    case kCbPaperInfo: return PaperInfo(c, static_cast<UserFormRecord*>(data));
    case kCbPaperList: return PaperList(c, static_cast<PaperListRequest*>(data));
    case kCbPaperFormat: return PaperFormat(c, data);
    default: return 0;
    }
}

}  // namespace sheet
