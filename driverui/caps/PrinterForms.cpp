#include "PrinterForms.h"

#include <winspool.h>

#include <algorithm>
#include <vector>

#include "PrinterList.h"

namespace caps {
namespace {

std::u16string Widened(const std::string& text)
{
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), n);
    return std::u16string(wide.begin(), wide.end());
}

// The four printable areas of a form record; nothing when the block is short or all zero.
std::optional<Quads> AreasOf(const recordlist::RecordList& r)
{
    const auto block = r.FieldData(kUserFormAreasKey);
    if (!block || block->size() < 32)
        return std::nullopt;
    Quads quads{};
    bool any = false;
    for (std::size_t i = 0; i < quads.size(); ++i) {
        std::uint16_t w[4];
        for (std::size_t k = 0; k < 4; ++k) {
            const std::size_t at = 8 * i + 2 * k;
            w[k] = std::uint16_t((*block)[at] | (*block)[at + 1] << 8);
            any = any || w[k] != 0;
        }
        quads[i] = {w[0], w[1], w[2], w[3]};
    }
    return any ? std::optional<Quads>(quads) : std::nullopt;
}

bool Listed(const std::vector<StoredForm>& list, std::int16_t code)
{
    return std::any_of(list.begin(), list.end(), [code](const StoredForm& f) { return f.code == code; });
}

// The records of one list whose number is in range, the first of each number.
template <class Fill>
std::vector<StoredForm> ReadList(const std::string& printer, const char* valueName, std::int16_t first,
                                 std::int16_t last, Fill fill)
{
    std::vector<StoredForm> forms;
    auto list = PrinterList::Open(printer, valueName);
    if (!list)
        return forms;
    auto& records = list->Records();
    for (bool more = records.Rewind(); more; more = records.Next()) {
        const auto number = records.FieldInt16(kKeyNumber);
        if (!number || *number < first || *number > last || Listed(forms, *number))
            continue;
        StoredForm f;
        f.code = *number;
        f.name = Widened(records.FieldText(kKeyName).value_or(std::string()));
        fill(records, f);
        forms.push_back(std::move(f));
    }
    return forms;
}

std::vector<SpoolerForm> SpoolerUserForms(HANDLE printer)
{
    std::vector<SpoolerForm> forms;
    DWORD needed = 0, count = 0;
    if (!printer || EnumFormsW(printer, 1, nullptr, 0, &needed, &count) || needed == 0)
        return forms;
    std::vector<BYTE> buffer(needed);
    if (!EnumFormsW(printer, 1, buffer.data(), needed, &needed, &count))
        return forms;
    count = std::min<DWORD>(count, DWORD(buffer.size() / sizeof(FORM_INFO_1W)));
    const auto* info = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (info[i].Flags != FORM_USER || info[i].Size.cx <= 0 || info[i].Size.cy <= 0)
            continue;
        SpoolerForm f;
        for (const wchar_t* p = info[i].pName; p && *p; ++p)
            f.name.push_back(char16_t(*p));
        f.width = std::uint32_t(info[i].Size.cx);
        f.length = std::uint32_t(info[i].Size.cy);
        forms.push_back(std::move(f));
    }
    return forms;
}

}  // namespace

PrinterForms LoadPrinterForms(HANDLE printer, const std::string& printerName, bool spoolerForms)
{
    PrinterForms forms;
    if (!printerName.empty()) {
        const auto user = [](const recordlist::RecordList& r, StoredForm& f) {
            f.width = r.FieldUInt16(kUserFormWidthKey).value_or(0);
            f.length = r.FieldUInt16(kUserFormLengthKey).value_or(0);
            f.quads = AreasOf(r);
        };
        forms.user = ReadList(printerName, kUserFormList, kFirstUserForm, kTemplateUserForm, user);
        std::erase_if(forms.user, [](const StoredForm& f) {
            return f.code > kLastUserForm && f.code != kTemplateUserForm;
        });
        const auto association = [](const recordlist::RecordList& r, StoredForm& f) {
            f.base = r.FieldInt16(kAssociationPaperKey).value_or(0);
        };
        forms.associations =
            ReadList(printerName, kFormAssociationList, kFirstAssociation, kLastAssociation, association);
    }
    if (spoolerForms)
        forms.spooler = SpoolerUserForms(printer);
    return forms;
}

}  // namespace caps
