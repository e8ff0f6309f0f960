// The refresh procedure: the constraint rules that follow a page's change of a constrained entry.
// Every entry it touches is found by identifier and used only when its size is its type's.
#include <algorithm>

#include "DevmodeValues.h"
#include "FeatureBlock.h"

namespace feature {
namespace {

using Bytes = std::span<std::uint8_t>;

class Entries {
public:
    explicit Entries(Bytes block) : block_(block), index_(IndexBlock(block)) {}
    // The entry of an identifier when it has at least the size of the type it is used as.
    Bytes Of(int id, int type) const
    {
        const Bytes e = RecordAt(block_, index_[std::size_t(id)]);
        return e.size() >= EntrySize(type) && EntrySize(type) > 0 ? e : Bytes();
    }
    Bytes Header() const
    {
        const Bytes h = RecordAt(block_, index_[std::size_t(kHeaderId)]);
        return h.size() >= kHeaderSize ? h : Bytes();
    }

private:
    Bytes block_;
    RecordIndex index_;
};

std::int16_t CurrentOf(Bytes e)
{
    return std::int16_t(Get16(e, kCurrent));
}

// Recomputes the resolution entry from the pages-per-sheet and graphics-mode entries, when the
// header and both entries 47 and 50 are there.
void RecomputeFrom(const Entries& entries)
{
    const Bytes e47 = entries.Of(kPagesPerSheet.id, kValueEntry);
    const Bytes e50 = entries.Of(kQuality.id, kResolutionEntry);
    if (e47.empty() || e50.empty() || entries.Header().empty())
        return;
    const Bytes e13 = entries.Of(kGraphicsMode.id, kListEntry);
    RecomputeResolution(e50, CurrentOf(e47), e13.empty() ? 0 : CurrentOf(e13));
}

void GraphicsModeChanged(const Entries& entries, Bytes e13)
{
    const Bytes e2 = entries.Of(kPaperSize.id, kPaperSizeEntry);
    const Bytes e81 = entries.Of(kPaperHandlingFlags.id, kValueEntry);
    if (!e81.empty() && !e2.empty()) {
        // Custom forms are off in the compatible mode unless the model keeps them (397, bit 7).
        const bool off = CurrentOf(e13) == kCompatibleMode && !(Get16(e81, kCurrent) & kFormsInCompatibleMode);
        Set16(e2, paper_size::kFirstUserForm, off ? 0 : paper_size::kUserWordValues[0]);
        Set16(e2, paper_size::kLastUserForm, off ? 0 : paper_size::kUserWordValues[1]);
        Set16(e2, paper_size::kTemplateForm, off ? 0 : paper_size::kUserWordValues[3]);
    }
    RecomputeFrom(entries);
}

void PagesPerSheetChanged(const Entries& entries, Bytes e47, const RefreshModel& model)
{
    if (const Bytes e7 = entries.Of(kFontHandling.id, kTrueTypeEntry); !e7.empty()) {
        // Several pages per sheet: the layout index in the low byte.
        if (CurrentOf(e47) & 0xFF) {
            Set8(e7, truetype::kChoice2, 0);
            if (CurrentOf(e7) == 2)
                Set16(e7, kCurrent, (model.fontFlags & kFontHandling4Allowed) ? 4 : 1);
        } else {
            Set8(e7, truetype::kChoice2, 1);
        }
    }
    RecomputeFrom(entries);
}

// Applies the rule of a changed entry; true when it asks for a refresh.
bool Apply(Bytes block, const Entries& entries, Bytes e, int id, const RefreshModel& model)
{
    switch (id) {
    case kGraphicsMode.id:
        if (e.size() >= kDefault)
            GraphicsModeChanged(entries, e);
        return true;
    case kPagesPerSheet.id:
        if (e.size() >= kDefault)
            PagesPerSheetChanged(entries, e, model);
        return true;
    case kQuality.id: {
        // Every resolution entry, however many the block has.
        std::size_t at = 0;
        while (at + kRecordHead <= block.size()) {
            const std::size_t size = Get16(block, at);
            if (size < kRecordHead || size > block.size() - at)
                break;
            const Bytes r = block.subspan(at, size);
            if (Get16(r, kRecordId) == kQuality.id && r.size() >= EntrySize(kResolutionEntry))
                Set8(r, resolution::kRecompute2, Get16(r, resolution::kRecompute1) != 0 ? 1 : 0);
            at += size;
        }
        return true;
    }
    case kSelectBy.id:
        if (e.size() >= kDefault && CurrentOf(e) == kSelectByType)
            if (const Bytes e4 = entries.Of(kPaperSource.id, kPaperSourceEntry); !e4.empty())
                Set16(e4, kCurrent, std::uint16_t(kAutomaticSource));
        return true;
    case kAccountTracking.id:
        return !(model.optionFlags & kAccountKeepsIdentity);
    default:
        return RequestsRefresh(id);
    }
}

}  // namespace

bool Refresh(std::span<std::uint8_t> block, const RefreshModel& model)
{
    const Entries entries(block);
    bool requested = false;
    std::size_t at = 0;
    while (at + kRecordHead <= block.size()) {
        const std::size_t size = Get16(block, at);
        if (size < kRecordHead || size > block.size() - at)
            break;
        const Bytes e = block.subspan(at, size);
        const std::uint16_t id = Get16(e, kRecordId);
        if (id != kHeaderId && e.size() > kChanged && e[kChanged]) {
            e[kChanged] = 0;
            requested = Apply(block, entries, e, id, model) || requested;
        }
        at += size;
    }
    if (requested)
        if (const Bytes e94 = entries.Of(kConfigIdentity.id, kIdentityEntry); !e94.empty())
            std::fill_n(e94.begin() + identity::kCurrentIdentity, identity::kIdentitySize, std::uint8_t(0));
    return requested;
}

}  // namespace feature
