#include "JobRedirection.h"

#include <winspool.h>

#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "EscapeReplies.h"
#include "JobLaunches.h"
#include "LaunchCommands.h"
#include "Library.h"
#include "PrinterAccess.h"
#include "PrinterValues.h"
#include "SiblingNames.h"
#include "SiblingPath.h"

namespace docevents {
namespace {

constexpr wchar_t kTempPrefix[] = L"QVJ";
constexpr wchar_t kTempSubdirectory[] = L"TEMP";
constexpr wchar_t kConvertInOwnProcessValue[] = L"ConvertInOwnProcess";

// The records this library made and has not ended: the only addresses it follows back.
std::mutex g_recordsLock;
std::set<ConversionRecord*>& Records()
{
    static std::set<ConversionRecord*> records;
    return records;
}

std::size_t Chars(LPCWSTR text)
{
    return text ? wcslen(text) + 1 : 0;
}

// The record and its three names in one block.
ConversionRecord* NewRecord(DOCINFOW* docInfo, const std::wstring& tempFile, HMODULE library, FARPROC entry)
{
    const std::size_t tempChars = tempFile.size() + 1;
    const std::size_t documentChars = Chars(docInfo->lpszDocName);
    const std::size_t outputChars = Chars(docInfo->lpszOutput);
    const std::size_t bytes = sizeof(ConversionRecord) + (tempChars + documentChars + outputChars) * sizeof(wchar_t);
    auto* record = static_cast<ConversionRecord*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes));
    if (!record)
        return nullptr;
    record->size = sizeof(ConversionRecord);
    record->docInfo = docInfo;
    record->applicationOutput = docInfo->lpszOutput;
    record->library = library;
    record->convertForRenderer = entry;
    auto* names = reinterpret_cast<wchar_t*>(record + 1);
    record->tempFile = names;
    std::memcpy(names, tempFile.c_str(), tempChars * sizeof(wchar_t));
    names += tempChars;
    if (documentChars) {
        record->documentName = names;
        std::memcpy(names, docInfo->lpszDocName, documentChars * sizeof(wchar_t));
        names += documentChars;
    }
    if (outputChars) {
        record->outputName = names;
        std::memcpy(names, docInfo->lpszOutput, outputChars * sizeof(wchar_t));
    }
    std::lock_guard lock(g_recordsLock);
    Records().insert(record);
    return record;
}

void EndRecord(ConversionRecord* record)
{
    {
        std::lock_guard lock(g_recordsLock);
        Records().erase(record);
    }
    HeapFree(GetProcessHeap(), 0, record);
}

bool ServerPortsReadable(const PRINTER_INFO_2W& info)
{
    DWORD needed = 0, count = 0;
    EnumPortsW(info.pServerName, 1, nullptr, 0, &needed, &count);
    if (needed == 0)
        return false;
    std::vector<BYTE> ports(needed);
    return EnumPortsW(info.pServerName, 1, ports.data(), needed, &needed, &count) != FALSE;
}

// Only the library beside this one, by its full path: a bare name would run whatever the current
// directory or the search path holds under that name inside the printing process.
HMODULE LoadConversionLibrary()
{
    const std::wstring path = SiblingFullPathW(DriverModule(), kJobConversionLibrary.wide);
    return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

// A new temporary file in the temporary directory, or in its "TEMP" directory when that fails.
std::wstring NewTempFile()
{
    wchar_t dir[MAX_PATH + 1] = L"";
    const DWORD n = GetTempPathW(MAX_PATH, dir);
    if (n == 0 || n > MAX_PATH)
        return {};
    wchar_t name[MAX_PATH] = L"";
    if (GetTempFileNameW(dir, kTempPrefix, 0, name))
        return name;
    const std::wstring sub = std::wstring(dir) + kTempSubdirectory;
    CreateDirectoryW(sub.c_str(), nullptr);
    if (sub.size() < MAX_PATH - 14 && GetTempFileNameW(sub.c_str(), kTempPrefix, 0, name))
        return name;
    return {};
}

std::wstring Text(LPCWSTR text)
{
    return text ? std::wstring(text) : std::wstring();
}

}  // namespace

void RedirectJob(HANDLE printer, const RenderingDriver& driver, DOCINFOW* docInfo)
{
    const std::vector<BYTE> info = PrinterInfo2(printer);
    if (info.empty() || !docInfo)
        return;
    const std::optional<std::uint32_t> capability = driver.ReadValue(kRendererCapability);
    if (!capability || *capability == 0)
        return;
    if (!ServerPortsReadable(*reinterpret_cast<const PRINTER_INFO_2W*>(info.data())))
        return;
    driver.ReadValue(kDocumentQuery);

    const HMODULE library = LoadConversionLibrary();
    const FARPROC entry = library ? GetProcAddress(library, kConvertForRendererExport) : nullptr;
    if (!entry) {
        if (library)
            FreeLibrary(library);
        return;
    }
    const std::wstring tempFile = NewTempFile();
    ConversionRecord* record = tempFile.empty() ? nullptr : NewRecord(docInfo, tempFile, library, entry);
    if (!record) {
        if (!tempFile.empty())
            DeleteFileW(tempFile.c_str());
        FreeLibrary(library);
        return;
    }
    docInfo->lpszOutput = record->tempFile;
    if (!driver.SendIfSupported(kRegisterConversion, BytesOf(record))) {
        // Nobody would convert the file: the job prints as the application asked.
        docInfo->lpszOutput = record->applicationOutput;
        DeleteFileW(record->tempFile);
        EndRecord(record);
        FreeLibrary(library);
    }
}

ConversionRecord* RegisteredRecord(const RenderingDriver& driver)
{
    ConversionRecord* reported = nullptr;
    const auto answer = driver.SendIfSupported(
        kReadConversion, {}, {reinterpret_cast<std::uint8_t*>(&reported), sizeof reported});
    if (!answer || !reported)
        return nullptr;
    std::lock_guard lock(g_recordsLock);
    return Records().count(reported) ? reported : nullptr;
}

void RestoreOutputName(const RenderingDriver& driver)
{
    if (ConversionRecord* record = RegisteredRecord(driver))
        record->docInfo->lpszOutput = record->applicationOutput;
}

void ConvertJob(HANDLE printer, const RenderingDriver& driver)
{
    ConversionRecord* record = RegisteredRecord(driver);
    if (!record)
        return;
    const std::vector<BYTE> info = PrinterInfo2(printer);
    const std::vector<BYTE> driverInfo = PrinterDriverInfo2(printer);
    if (info.empty()) {
        DeleteFileW(record->tempFile);
    } else if (!driverInfo.empty()) {
        const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
        const auto* d = reinterpret_cast<const DRIVER_INFO_2W*>(driverInfo.data());
        std::wstring arguments = ConversionArguments(Text(record->documentName), Text(p->pPrinterName),
                                                     record->tempFile, Text(record->outputName));
        const std::wstring workingDirectory = DirectoryOf(std::wstring_view(Text(d->pDriverPath)));
        if (PrinterDword(printer, kConvertInOwnProcessValue).value_or(0) == 0) {
            StartProgram(ConversionCommand(arguments), workingDirectory);
        } else if (const auto run = reinterpret_cast<RunConvertWFn>(GetProcAddress(record->library, kRunConvertWExport))) {
            run(nullptr, DriverModule(), arguments.data(), 0);
            DeleteFileW(record->tempFile);
        }
    }
    const HMODULE library = record->library;
    EndRecord(record);
    FreeLibrary(library);
    driver.SendIfSupported(kRegisterConversion);
}

}  // namespace docevents
