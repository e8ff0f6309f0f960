#include "PaperFormat.h"

#include <algorithm>

#include "DevmodeLayout.h"
#include "Merge.h"

namespace caps {
namespace {

using namespace paperformat;

void Put(PaperFormatRecord& r, std::size_t offset, std::int32_t value)
{
    r[offset] = std::uint8_t(value);
    r[offset + 1] = std::uint8_t(value >> 8);
}

// The paper a request resolves to: its size and printable areas in 1/1200 inch.
struct Resolved {
    std::int16_t code = 0;
    std::uint16_t width = 0;
    std::uint16_t length = 0;
    Quads quads{};
    bool form = false;
};

const StoredForm* FindStored(const std::vector<StoredForm>& list, std::int32_t code)
{
    const auto it = std::find_if(list.begin(), list.end(), [code](const StoredForm& f) { return f.code == code; });
    return it != list.end() ? &*it : nullptr;
}

bool IsAssociation(std::int32_t code)
{
    return code >= kFirstAssociation && code <= kLastAssociation;
}

std::uint16_t Clamp16(std::int64_t v)
{
    return std::uint16_t(std::clamp<std::int64_t>(v, 0, 0xFFFF));
}

std::optional<Resolved> ResolvePaper(std::span<const std::uint8_t> devmode, std::int32_t code,
                                     const PrinterForms& forms, const std::optional<model::PaperLimits>& limits)
{
    Resolved r;
    r.code = std::int16_t(code);
    if (code == kUserDefinedPaper) {
        const std::int32_t width = devmode::Get(devmode, devmode::dmPaperWidth);
        const std::int32_t length = devmode::Get(devmode, devmode::dmPaperLength);
        if (width > 0 && length > 0) {
            r.width = Clamp16(TenthsTo1200ths(width));
            r.length = Clamp16(TenthsTo1200ths(length));
        } else if (limits) {
            r.width = limits->maxWidth;
            r.length = limits->maxLength;
        }
        if (r.width == 0 || r.length == 0)
            return std::nullopt;
        r.quads = DefaultQuads(r.width, r.length);
        return r;
    }
    if (const PaperInfo* info = FindPaperInfo(code)) {
        r.width = info->width;
        r.length = info->length;
        r.quads = DefaultQuads(r.width, r.length);
        return r;
    }
    if (code >= kFirstSpoolerForm) {
        const std::size_t index = std::size_t(code - kFirstSpoolerForm);
        if (index >= forms.spooler.size())
            return std::nullopt;
        const SpoolerForm& f = forms.spooler[index];
        r.width = Clamp16(MicronsTo1200ths(f.width));
        r.length = Clamp16(MicronsTo1200ths(f.length));
        r.quads = DefaultQuads(r.width, r.length);
        r.form = true;
        return r;
    }
    if (code >= kFirstUserForm && !IsAssociation(code)) {
        const StoredForm* f = FindStored(forms.user, code);
        if (!f || f->width == 0 || f->length == 0)
            return std::nullopt;
        r.width = f->width;
        r.length = f->length;
        r.quads = f->quads.value_or(DefaultQuads(f->width, f->length));
        r.form = true;
        return r;
    }
    return std::nullopt;
}

}  // namespace

std::optional<PaperFormatRecord> ComputePaperFormat(std::span<const std::uint8_t> devmode,
                                                    const PaperFormatRequest& request,
                                                    const PrinterForms& forms,
                                                    const std::optional<model::PaperLimits>& limits)
{
    std::int32_t code = request.code;
    if (IsAssociation(code)) {
        // An association stands for its paper; one that is missing, or that names no paper or
        // another association, for Letter.
        const StoredForm* a = FindStored(forms.associations, code);
        code = a && a->base > 0 && !IsAssociation(a->base) ? a->base : kFallbackPaper;
    }
    std::optional<Resolved> paper = ResolvePaper(devmode, code, forms, limits);
    if (!paper && code != request.code && code != kFallbackPaper)
        paper = ResolvePaper(devmode, code = kFallbackPaper, forms, limits);
    if (!paper)
        return std::nullopt;

    const bool landscape = request.orientation == 2;
    const bool flagged = request.flag != 0;
    const Quad& quad = paper->quads[QuadIndex(landscape, flagged)];
    const std::uint16_t width = landscape ? paper->length : paper->width;
    const std::uint16_t length = landscape ? paper->width : paper->length;

    // The model's paper set may give the paper margins of its own.
    const std::uint16_t set = devmode::Get(devmode, devmode::kPaperSetIndex);
    const PaperSetEntry* entry = FindSetEntry(set, devmode::PaperBit(paper->code));
    const PaperFormatRow* row = entry ? FindRow(entry->rows[QuadIndex(landscape, flagged)]) : nullptr;
    std::uint16_t originX = quad.x, originY = quad.y, areaWidth = quad.width, areaLength = quad.length;
    if (row) {
        originX = row->originX;
        originY = row->originY;
        areaWidth = Clamp16(std::int32_t(width) - 2 * originX);
        areaLength = Clamp16(std::int32_t(length) - 2 * originY);
    }

    PaperFormatRecord r{};
    Put(r, kRequestedCode, request.code);
    Put(r, kRequestOrientation, request.orientation);
    Put(r, kRequestFlag, request.flag);
    Put(r, kRequestResolution, request.resolution);
    Put(r, kRequestMode, std::int32_t(request.mode & 0xFFFF));
    Put(r, kResolvedCode, paper->code);
    Put(r, kOrientation, (landscape ? 2 : 1) * (flagged ? -1 : 1));
    Put(r, kPhysicalWidth, width);
    Put(r, kPhysicalLength, length);
    Put(r, kQuad, quad.width);
    Put(r, kQuad + 2, quad.length);
    Put(r, kQuad + 4, quad.x);
    Put(r, kQuad + 6, quad.y);
    Put(r, kQuadIn720, (quad.width * 720 + 600) / 1200);
    Put(r, kQuadIn720 + 2, (quad.length * 720 + 600) / 1200);
    for (std::size_t at : {kAreaOrigin, kAreaOriginCopy}) {
        Put(r, at, originX);
        Put(r, at + 2, originY);
    }
    for (std::size_t at : {kAreaSize, kAreaSizeCopy}) {
        Put(r, at, areaWidth);
        Put(r, at + 2, areaLength);
    }
    Put(r, kFlags, paper->form ? kFlagForm : 0);
    return r;
}

}  // namespace caps
