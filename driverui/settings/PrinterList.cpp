#include "PrinterList.h"

#include <algorithm>
#include <cstring>

#include "PrinterAccess.h"
#include "SpoolLock.h"

namespace {


bool EqualNoCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

}  // namespace

PrinterList::PrinterList(std::string printerName, std::string valueName, std::vector<std::uint8_t> bytes)
    : printerName_(std::move(printerName)), valueName_(std::move(valueName)), records_(std::move(bytes))
{
    records_.Rewind();
}

std::unique_ptr<PrinterList> PrinterList::Open(const std::string& printerName, const std::string& valueName)
{
    OpenedPrinter printer(printerName.c_str(), PrinterAccess::FullElseDefault);
    if (!printer.get())
        return nullptr;
    char* name = const_cast<char*>(valueName.c_str());
    DWORD type = 0, needed = 0;
    DWORD result = LockedGetPrinterDataA(printer.get(), name, &type, nullptr, 0, &needed);
    std::vector<std::uint8_t> bytes;
    if (result == ERROR_FILE_NOT_FOUND || ((result == ERROR_SUCCESS || result == ERROR_MORE_DATA) && needed == 0)) {
        // Not stored yet: an empty list.
    } else if (result == ERROR_MORE_DATA || result == ERROR_SUCCESS) {
        bytes.resize(needed);
        DWORD got = 0;
        result = LockedGetPrinterDataA(printer.get(), name, &type, bytes.data(), needed, &got);
        if (result != ERROR_SUCCESS || got != needed) {
            SetLastError(result != ERROR_SUCCESS ? result : ERROR_INVALID_DATA);
            return nullptr;
        }
    } else {
        SetLastError(result);
        return nullptr;
    }
    return std::unique_ptr<PrinterList>(new PrinterList(printerName, valueName, std::move(bytes)));
}

PrinterList::~PrinterList()
{
    if (!closed_)
        Close();
}

bool PrinterList::Close()
{
    closed_ = true;
    if (!records_.Changed())
        return true;
    OpenedPrinter printer(printerName_.c_str(), PrinterAccess::FullOnly);
    if (!printer.get())
        return false;
    const auto& bytes = records_.Bytes();
    BYTE empty = 0;
    const DWORD result = LockedSetPrinterDataA(printer.get(), const_cast<char*>(valueName_.c_str()), REG_BINARY,
                                               bytes.empty() ? &empty : const_cast<BYTE*>(bytes.data()),
                                               static_cast<DWORD>(bytes.size()));
    SetLastError(result);
    return result == ERROR_SUCCESS;
}

bool PrinterList::FindNumber(std::int16_t number)
{
    for (bool more = records_.Rewind(); more; more = records_.Next())
        if (records_.FieldInt16(kKeyNumber) == number)
            return true;
    return false;
}

bool PrinterList::FindName(const std::string& name)
{
    for (bool more = records_.Rewind(); more; more = records_.Next()) {
        const auto text = records_.FieldText(kKeyName);
        if (text && EqualNoCase(*text, name))
            return true;
    }
    return false;
}

bool AddUserForm(const std::string& printerName, const UserForm& form)
{
    auto list = PrinterList::Open(printerName, kUserFormList);
    if (!list)
        return false;
    std::int16_t number = form.number;
    if (number == 0) {
        bool used[kLastUserForm - kFirstUserForm + 1] = {};
        auto& records = list->Records();
        int seen = 0;
        for (bool more = records.Rewind(); more && seen < 8; more = records.Next(), ++seen) {
            const auto n = records.FieldInt16(kKeyNumber);
            if (n && *n >= kFirstUserForm && *n <= kLastUserForm)
                used[*n - kFirstUserForm] = true;
        }
        for (std::int16_t n = kFirstUserForm; n <= kLastUserForm && number == 0; ++n)
            if (!used[n - kFirstUserForm])
                number = n;
        if (number == 0)
            return false;
    } else if (number < kFirstUserForm || number > kLastUserForm) {
        return false;
    }

    if (list->FindNumber(number))
        list->Records().DeleteCurrent();
    if (form.name.empty())
        return list->Close();
    if (list->FindName(form.name))
        list->Records().DeleteCurrent();

    const auto numberData = recordlist::Int16Data(number);
    const auto nameData = recordlist::TextData(form.name);
    std::vector<std::uint8_t> values[4];
    for (int i = 0; i < 4; ++i)
        values[i] = recordlist::Int16Data(static_cast<std::int16_t>(form.values[i]));
    const recordlist::Field fields[] = {
        {1, numberData}, {2, nameData},  {3, values[0]}, {4, values[1]}, {5, values[2]},
        {6, values[3]},  {7, std::span<const std::uint8_t>(form.paperInfo, sizeof form.paperInfo)},
    };
    if (!list->Records().Append(fields))
        return false;
    return list->Close();
}

bool AddNamedRecord(const std::string& printerName, const std::string& valueName, std::int16_t number,
                    const std::string& name, const std::uint8_t* data, std::size_t dataLength)
{
    if (number <= 0)
        return false;
    auto list = PrinterList::Open(printerName, valueName);
    if (!list)
        return false;
    const std::string text =
        data ? recordlist::HexText(std::span<const std::uint8_t>(data, dataLength), 64) : name;
    if (list->FindNumber(number))
        list->Records().DeleteCurrent();
    if (list->FindName(text))
        list->Records().DeleteCurrent();
    const auto numberData = recordlist::Int16Data(number);
    const auto nameData = recordlist::TextData(text);
    const recordlist::Field fields[] = {{kKeyNumber, numberData}, {kKeyName, nameData}};
    if (!list->Records().Append(fields))
        return false;
    return list->Close();
}

bool IsListedFormCode(const std::string& printerName, std::int16_t paperCode)
{
    if (paperCode >= 896)
        return false;
    const bool association = paperCode >= 640 && paperCode <= 671;
    auto list = PrinterList::Open(printerName, association ? kFormAssociationList : kUserFormList);
    return list && list->FindNumber(paperCode);
}

std::string FormNameOf(const std::string& printerName, std::int16_t paperCode)
{
    const bool association = paperCode >= 640 && paperCode <= 671;
    if (!association && (paperCode < kFirstUserForm || paperCode > kLastUserForm))
        return {};
    auto list = PrinterList::Open(printerName, association ? kFormAssociationList : kUserFormList);
    if (!list || !list->FindNumber(paperCode))
        return {};
    return list->Records().FieldText(kKeyName).value_or(std::string());
}
