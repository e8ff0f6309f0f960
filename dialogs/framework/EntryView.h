// A page's view of one feature entry of the sheet's feature block: bounded reads and writes at
// the entry offsets of FeatureBindings.h. The entry belongs to the driver library; the view only
// borrows it, and every access stays inside the size the entry declares, so a short or missing
// entry reads as 0 and ignores writes. No platform headers: the protocol's core builds natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FeatureBindings.h"

namespace pages {

class EntryView {
public:
    EntryView() = default;
    explicit EntryView(void* entry) : p_(static_cast<std::uint8_t*>(entry)) {}

    // The entry exists (the model's feature layout lists its identifier).
    bool Exists() const { return p_ && Size() >= feature::kRecordHead; }
    explicit operator bool() const { return Exists(); }
    std::uint16_t Size() const { return p_ ? Raw<std::uint16_t>(feature::kRecordSize) : 0; }
    std::int16_t Id() const { return Exists() ? std::int16_t(Raw<std::uint16_t>(feature::kRecordId)) : 0; }
    // The entry type the identifier binds (type 1 for identifiers without a binding).
    feature::EntryType Type() const
    {
        const feature::Binding* b = feature::Find(Id());
        return b ? b->type : feature::kValueEntry;
    }

    // The value a page shows and its default, for entries with a 16-bit value at +6 and +8.
    std::int16_t Current() const { return Get<std::int16_t>(feature::kCurrent); }
    std::int16_t Default() const { return Get<std::int16_t>(feature::kDefault); }
    void SetCurrent(std::int16_t v) { Set<std::int16_t>(feature::kCurrent, v); }
    // The range of a type-1 entry.
    std::int16_t Minimum() const { return Get<std::int16_t>(feature::value::kMinimum); }
    std::int16_t Maximum() const { return Get<std::int16_t>(feature::value::kMaximum); }

    // Takes part in constraints: a change of it runs the driver's refresh procedure.
    bool Constrained() const { return Get<std::uint8_t>(feature::kConstrained) != 0; }
    bool Changed() const { return Get<std::uint8_t>(feature::kChanged) != 0; }
    void MarkChanged() { Set<std::uint8_t>(feature::kChanged, 1); }

    // A value of type T at an entry offset; 0 when it lies past the entry's end.
    template <class T>
    T Get(std::size_t offset) const
    {
        return Fits(offset, sizeof(T)) ? Raw<T>(offset) : T{};
    }
    // Writes nothing past the entry's end; false then.
    template <class T>
    bool Set(std::size_t offset, T v)
    {
        if (!Fits(offset, sizeof(T)))
            return false;
        std::memcpy(p_ + offset, &v, sizeof(T));
        return true;
    }
    // The entry's bytes from offset to offset + n, or null when they do not all lie inside it.
    const std::uint8_t* Bytes(std::size_t offset, std::size_t n) const { return Fits(offset, n) ? p_ + offset : nullptr; }
    std::uint8_t* Bytes(std::size_t offset, std::size_t n) { return Fits(offset, n) ? p_ + offset : nullptr; }

    // The value bytes (everything after the flag bytes) equal those of `other`, an entry of the
    // same identifier (the saved copy). Two missing entries are equal.
    bool SameValue(const EntryView& other) const
    {
        if (!Exists() || !other.Exists())
            return Exists() == other.Exists();
        if (Size() != other.Size())
            return false;
        const std::size_t from = feature::kChanged + 1;
        return Size() <= from || std::memcmp(p_ + from, other.p_ + from, Size() - from) == 0;
    }

    // Every value of the entry takes its default, as its type keeps them; false for an entry
    // without defaults of its own (type 9: the page restores it).
    bool RestoreDefault();

    void* Address() const { return p_; }

private:
    bool Fits(std::size_t offset, std::size_t n) const { return Exists() && offset + n <= Size(); }
    template <class T>
    T Raw(std::size_t offset) const
    {
        T v;
        std::memcpy(&v, p_ + offset, sizeof(T));
        return v;
    }
    bool CopyWithin(std::size_t from, std::size_t to, std::size_t n)
    {
        if (!Fits(from, n) || !Fits(to, n))
            return false;
        std::memmove(p_ + to, p_ + from, n);
        return true;
    }

    std::uint8_t* p_ = nullptr;
};

inline bool EntryView::RestoreDefault()
{
    namespace f = feature;
    switch (Type()) {
    case f::kTextEntry:
        return CopyWithin(f::text::kDefaultText, f::text::kCurrentText, 2 * f::text::kTextChars) &&
               CopyWithin(f::text::kDefaultPlacement, f::text::kPlacement, 1);
    case f::kFontSourceEntry:
        return CopyWithin(f::font_source::kMaskDefault, f::font_source::kMask, 4) &&
               CopyWithin(f::font_source::kSecondDefault, f::font_source::kSecond, 4);
    case f::kWatermarkEntry:
        return CopyWithin(f::watermark::kFirstPageDefault, f::watermark::kFirstPage, 2) &&
               CopyWithin(f::watermark::kOtherPagesDefault, f::watermark::kOtherPages, 2) &&
               CopyWithin(f::watermark::kSwitchDefault, f::watermark::kSwitch, 4) &&
               CopyWithin(f::watermark::kPlacementDefault, f::watermark::kPlacement, 4);
    case f::kNumberEntry:
        return CopyWithin(f::number::kDefault, f::number::kValue, 4);
    case f::kIdentityEntry:
        return CopyWithin(f::identity::kDefaultIdentity, f::identity::kCurrentIdentity, f::identity::kIdentitySize);
    case f::kPaperTypeEntry:
    case f::kNoEntry:
        return false;
    default:  // a 16-bit current value and its default
        return CopyWithin(f::kDefault, f::kCurrent, 2);
    }
}

// The apply bookkeeping of one sheet kind: each page that applies counts once, and the page that
// brings the count to the sheet's page count commits (true) and starts the count again. A count
// that has run past the pages (a page that applied twice) commits as well rather than never.
inline bool CountApply(std::uint16_t pages, std::uint16_t& applied)
{
    ++applied;
    if (applied < pages)
        return false;
    applied = 0;
    return true;
}

}  // namespace pages
