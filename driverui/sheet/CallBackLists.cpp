// The record-list requests of CallBackAccess: macros and named lists, user-defined forms, form
// associations and watermarks in the printer's values. Records the pages pass are read within
// their declared layouts; names are bounded by their fields.
#include <algorithm>
#include <cstring>

#include "CallBacks.h"
#include "ListRecords.h"
#include "PrinterList.h"
#include "SheetCalls.h"

namespace sheet {
namespace {

using Items = std::vector<std::pair<std::int16_t, std::string>>;

constexpr std::size_t kListNameBytes = 64;
constexpr std::size_t kNameReadBytes = 256;
constexpr std::size_t kHexBytes = 64;
constexpr std::int16_t kFirstWatermark = 1;
constexpr std::int16_t kLastWatermark = 255;

std::string PrinterOf(const SheetContext* c)
{
    return c->printerNameA ? c->printerNameA : "";
}

// Every record's number and name, as far as the list is whole.
Items Numbered(const SheetContext* c, const char* valueName)
{
    Items items;
    auto list = PrinterList::Open(PrinterOf(c), valueName);
    if (!list)
        return items;
    auto& records = list->Records();
    for (bool more = records.Rewind(); more; more = records.Next()) {
        const auto number = records.FieldInt16(kKeyNumber);
        const auto name = records.FieldText(kKeyName);
        if (number && name)
            items.emplace_back(*number, name->substr(0, kRecordNameBytes - 1));
    }
    return items;
}

// ---- Named lists (types 1 to 3) ----

WORD ClearList(const SheetContext* c, const char* valueName)
{
    const std::string name = BoundedText(valueName, kListNameBytes);
    if (name.empty())
        return 0;
    if (auto list = PrinterList::Open(PrinterOf(c), name)) {
        list->Records().Clear();
        list->Close();
    }
    return 0;
}

std::string ListNameOf(const char* list)
{
    const std::string name = BoundedText(list, kListNameBytes);
    return name.empty() ? std::string(kMacroList) : name;
}

WORD AddNamed(const SheetContext* c, const NamedRecord* r)
{
    if (!r)
        return 0;
    const std::size_t length = r->data ? std::min<std::size_t>(r->dataLength, kHexBytes) : 0;
    AddNamedRecord(PrinterOf(c), ListNameOf(r->list), r->number, BoundedText(r->name, kNameReadBytes),
                   length ? r->data : nullptr, length);
    return 0;
}

WORD FindNamed(const SheetContext* c, NamedLookup* r)
{
    if (!r)
        return 0;
    r->replaced = 0;
    auto list = PrinterList::Open(PrinterOf(c), ListNameOf(r->list));
    if (!list || !list->FindNumber(r->number))
        return 0;
    const auto name = list->Records().FieldText(kKeyName);
    if (!name || name->empty() || !r->name || r->nameSize == 0)
        return 0;
    PutField(r->name, r->nameSize, *name);
    r->replaced = 1;
    return 1;
}

// ---- User-defined forms (types 4 to 7) ----

WORD SetUserForm(const SheetContext* c, const UserFormRecord* r)
{
    if (!r)
        return 0;
    UserForm form;
    form.number = r->number;
    form.name = BoundedText(r->name, sizeof r->name);
    form.values[0] = r->width;
    form.values[1] = r->height;
    form.values[2] = r->flags;
    form.values[3] = r->reserved;
    std::memcpy(form.paperInfo, r->areas, sizeof form.paperInfo);
    AddUserForm(PrinterOf(c), form);
    return 0;
}

WORD GetUserForm(const SheetContext* c, UserFormRecord* r)
{
    if (!r)
        return 0;
    auto list = PrinterList::Open(PrinterOf(c), kUserFormList);
    if (!list || !list->FindNumber(r->number))
        return 0;
    const auto& records = list->Records();
    PutField(r->name, sizeof r->name, records.FieldText(kKeyName).value_or(""));
    r->width = records.FieldUInt16(kUserFormWidthKey).value_or(0);
    r->height = records.FieldUInt16(kUserFormLengthKey).value_or(0);
    r->flags = records.FieldUInt16(kUserFormFlagsKey).value_or(0);
    r->reserved = records.FieldUInt16(6).value_or(0);
    std::memset(r->areas, 0, sizeof r->areas);
    if (const auto areas = records.FieldData(kUserFormAreasKey))
        std::memcpy(r->areas, areas->data(), std::min(areas->size(), sizeof r->areas));
    return 1;
}

WORD DeleteNumbered(const SheetContext* c, const char* valueName, const SHORT* number)
{
    if (!number)
        return 0;
    if (auto list = PrinterList::Open(PrinterOf(c), valueName)) {
        if (list->FindNumber(*number))
            list->Records().DeleteCurrent();
        list->Close();
    }
    return 0;
}

// ---- Form associations (types 8 to 11), keys as the association record orders its fields ----

std::vector<std::uint8_t> Word(std::int16_t v)
{
    return recordlist::Int16Data(v);
}

WORD SetAssociation(const SheetContext* c, const AssociationRecord* r)
{
    if (!r || r->number < kFirstAssociation || r->number > kLastAssociation)
        return 0;
    recordlist::FormAssociation a;
    a.number = r->number;
    a.name = BoundedText(r->name, sizeof r->name);
    if (a.name.empty())
        return 0;
    const auto text = [](const char (&field)[kRecordNameBytes]) {
        return recordlist::TextData(BoundedText(field, sizeof field));
    };
    a.values = {{3, Word(r->form)},
                {4, Word(r->paperType)},
                {5, text(r->firstOverlay)},
                {6, Word(std::int16_t(r->firstOverlayOption))},
                {7, text(r->secondOverlay)},
                {8, Word(std::int16_t(r->secondOverlayOption))},
                {9, text(r->firstWatermark)},
                {10, Word(std::int16_t(r->firstWatermarkOption))},
                {11, text(r->secondWatermark)},
                {12, Word(std::int16_t(r->secondWatermarkOption))}};
    auto list = PrinterList::Open(PrinterOf(c), kFormAssociationList);
    if (!list)
        return 0;
    if (list->FindNumber(a.number))
        list->Records().DeleteCurrent();
    if (list->FindName(a.name))
        list->Records().DeleteCurrent();
    if (recordlist::AppendFormAssociation(list->Records(), a))
        list->Close();
    return 0;
}

WORD GetAssociation(const SheetContext* c, AssociationRecord* r)
{
    if (!r)
        return 0;
    auto list = PrinterList::Open(PrinterOf(c), kFormAssociationList);
    if (!list || !list->FindNumber(r->number))
        return 0;
    const auto& records = list->Records();
    const auto word = [&](std::int16_t key, std::int16_t fallback) { return records.FieldInt16(key).value_or(fallback); };
    const auto text = [&](std::int16_t key, char (&field)[kRecordNameBytes]) {
        PutField(field, sizeof field, records.FieldText(key).value_or(""));
    };
    PutField(r->name, sizeof r->name, records.FieldText(kKeyName).value_or(""));
    r->form = word(3, -1);
    r->paperType = word(4, -1);
    text(5, r->firstOverlay);
    r->firstOverlayOption = WORD(word(6, 1));
    text(7, r->secondOverlay);
    r->secondOverlayOption = WORD(word(8, 1));
    text(9, r->firstWatermark);
    r->firstWatermarkOption = WORD(word(10, 1));
    text(11, r->secondWatermark);
    r->secondWatermarkOption = WORD(word(12, 1));
    return 0;
}

// ---- Watermarks (types 13 to 21) ----

PrinterList* OpenListOf(SheetState& state, const void* handle)
{
    for (const auto& list : state.lists)
        if (list.get() == handle)
            return list.get();
    return nullptr;
}

WORD OpenWatermarks(const SheetContext* c, SheetState& state, ListOpen* r)
{
    if (!r)
        return 0;
    r->list = nullptr;
    auto list = PrinterList::Open(PrinterOf(c), kWatermarkList);
    if (!list)
        return 0;
    r->list = list.get();
    state.lists.push_back(std::move(list));
    return 0;
}

WORD CloseList(SheetState& state, const void* handle)
{
    const auto it = std::find_if(state.lists.begin(), state.lists.end(), [&](const auto& l) { return l.get() == handle; });
    if (it != state.lists.end()) {
        (*it)->Close();
        state.lists.erase(it);
    }
    return 0;
}

void CopyField(const recordlist::RecordList& records, std::int16_t key, void* to, std::size_t size, bool text)
{
    if (!to)
        return;
    std::memset(to, 0, size);
    const auto data = records.FieldData(key);
    if (!data)
        return;
    const std::size_t n = std::min(data->size(), text ? size - 1 : size);
    std::memcpy(to, data->data(), n);
    if (text)
        static_cast<char*>(to)[strnlen(static_cast<const char*>(to), n)] = '\0';
}

WORD ReadWatermarkFields(SheetState& state, WatermarkFields* r)
{
    PrinterList* list = r ? OpenListOf(state, r->list) : nullptr;
    if (!list || !list->Records().HasCurrent())
        return 0;
    const auto& records = list->Records();
    constexpr std::size_t kSizes[kWatermarkFields] = {2, kRecordNameBytes, kRecordNameBytes, kWatermarkBlockBytes,
                                                      4, 2, 2, 2, 2};
    for (std::size_t i = 0; i < kWatermarkFields; ++i)
        CopyField(records, std::int16_t(i + 1), r->field[i], kSizes[i], i == 1 || i == 2);
    return 1;
}

recordlist::Watermark WatermarkOf(const WatermarkRecord& r)
{
    recordlist::Watermark w;
    w.number = std::int16_t(r.number);
    w.name = BoundedText(r.name, sizeof r.name);
    w.text = BoundedText(r.text, sizeof r.text);
    static_assert(sizeof r.font == sizeof w.layout);
    std::memcpy(w.layout.data(), &r.font, sizeof r.font);
    w.value = r.colour;
    w.words[0] = r.intensity;
    return w;
}

// Adds or, with onlyExisting, replaces the watermark of the record's number; 1 when the number
// had a record.
WORD StoreWatermark(const SheetContext* c, const WatermarkRecord* r, bool onlyExisting)
{
    if (!r || std::int16_t(r->number) < kFirstWatermark || std::int16_t(r->number) > kLastWatermark)
        return 0;
    const recordlist::Watermark w = WatermarkOf(*r);
    auto list = PrinterList::Open(PrinterOf(c), kWatermarkList);
    if (!list)
        return 0;
    const bool existed = list->FindNumber(w.number);
    if (onlyExisting && !existed) {
        list->Discard();
        return 0;
    }
    if (existed)
        list->Records().DeleteCurrent();
    if (!w.name.empty() && list->FindName(w.name))
        list->Records().DeleteCurrent();
    if (recordlist::AppendWatermark(list->Records(), w))
        list->Close();
    else
        list->Discard();
    return existed ? 1 : 0;
}

WORD GetWatermark(const SheetContext* c, WatermarkRecord* r)
{
    if (!r)
        return 0;
    auto list = PrinterList::Open(PrinterOf(c), kWatermarkList);
    if (!list || !list->FindNumber(std::int16_t(r->number)))
        return 0;
    const auto w = recordlist::ReadWatermark(list->Records());
    if (!w)
        return 0;
    r->size = kWatermarkRecordSize;
    PutField(r->name, sizeof r->name, w->name);
    PutField(r->text, sizeof r->text, w->text);
    std::memcpy(&r->font, w->layout.data(), sizeof r->font);
    r->colour = w->value;
    r->intensity = w->words[0];
    return 1;
}

}  // namespace

WORD ListRequest(SheetContext* c, SheetState& state, DWORD type, void* data)
{
    switch (type) {
    case kCbEnumMacros: return Answer(c, data, Numbered(c, kMacroList));
    case kCbClearList: return ClearList(c, static_cast<const char*>(data));
    case kCbAddNamedRecord: return AddNamed(c, static_cast<const NamedRecord*>(data));
    case kCbFindNamedRecord: return FindNamed(c, static_cast<NamedLookup*>(data));
    case kCbDeleteUserForm: {
        const auto* number = static_cast<const SHORT*>(data);
        if (number) {
            UserForm form;
            form.number = *number;
            if (form.number != 0)
                AddUserForm(PrinterOf(c), form);
        }
        return 0;
    }
    case kCbEnumUserForms: return Answer(c, data, Numbered(c, kUserFormList));
    case kCbSetUserForm: return SetUserForm(c, static_cast<const UserFormRecord*>(data));
    case kCbGetUserForm: return GetUserForm(c, static_cast<UserFormRecord*>(data));
    case kCbDeleteAssociation: return DeleteNumbered(c, kFormAssociationList, static_cast<const SHORT*>(data));
    case kCbEnumAssociations: return Answer(c, data, Numbered(c, kFormAssociationList));
    case kCbSetAssociation: return SetAssociation(c, static_cast<const AssociationRecord*>(data));
    case kCbGetAssociation: return GetAssociation(c, static_cast<AssociationRecord*>(data));
    case kCbOpenWatermarks: return OpenWatermarks(c, state, static_cast<ListOpen*>(data));
    case kCbCloseList: return CloseList(state, data);
    case kCbNextRecord: {
        PrinterList* list = OpenListOf(state, data);
        return list && list->Records().Next() ? 1 : 0;
    }
    case kCbReadWatermarkFields: return ReadWatermarkFields(state, static_cast<WatermarkFields*>(data));
    case kCbEnumWatermarks: return Answer(c, data, Numbered(c, kWatermarkList));
    case kCbAddWatermark: StoreWatermark(c, static_cast<const WatermarkRecord*>(data), false); return 0;
    case kCbGetWatermark: return GetWatermark(c, static_cast<WatermarkRecord*>(data));
    case kCbUpdateWatermark: return StoreWatermark(c, static_cast<const WatermarkRecord*>(data), true);
    case kCbDeleteRecord:
        if (PrinterList* list = OpenListOf(state, data); list && list->Records().HasCurrent())
            list->Records().DeleteCurrent();
        return 0;
    default: return 0;
    }
}

}  // namespace sheet
