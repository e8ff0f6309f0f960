#include "JobLaunches.h"

#include <winspool.h>

#include <array>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "DialogLibrary.h"
#include "DocEventApi.h"
#include "EscapeReplies.h"
#include "LaunchCommands.h"
#include "Library.h"
#include "PrinterAccess.h"
#include "PrinterValues.h"
#include "SiblingNames.h"
#include "SiblingPath.h"

namespace docevents {
namespace {

constexpr UINT kProgramShow = 5;  // SW_SHOW
constexpr wchar_t kShowInOwnProcessValue[] = L"ShowInstructionsInOwnProcess";
constexpr char kAllocationCaption[] = "ENDDOCPOST -- Allocating pDevice & pDm: Error";

std::string ComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD n = sizeof name;
    return GetComputerNameA(name, &n) ? std::string(name, n) : std::string();
}

void AllocationNotice()
{
    const DWORD error = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    const HWND owner = GetForegroundWindow();
    SetActiveWindow(owner);
    MessageBoxA(owner, text ? text : "", kAllocationCaption, MB_OK | MB_ICONINFORMATION);
    LocalFree(text);
}

}  // namespace

bool StartProgram(const std::wstring& commandLine, const std::wstring& workingDirectory)
{
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = 0;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::wstring OwnDirectory()
{
    std::wstring dir = SiblingPathW(DriverModule(), L"");
    if (!dir.empty() && dir.back() == L'\\')
        dir.pop_back();
    return dir;
}

void StartJobPrograms(HANDLE printer, DWORD jobId)
{
    const std::vector<BYTE> info = PrinterInfo2(printer);
    const std::vector<BYTE> job = JobInfo1(printer, jobId);
    if (info.empty() || job.empty())
        return;
    const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    const auto* j = reinterpret_cast<const JOB_INFO_1W*>(job.data());
    if (!IsLocalJob(NarrowText(j->pMachineName), NarrowText(p->pServerName), ComputerName()))
        return;
    const std::string port = FirstPort(NarrowText(p->pPortName));
    if (port.empty())
        return;
    const std::vector<BYTE> driverInfo = PrinterDriverInfo2(printer);
    if (driverInfo.empty())
        return;
    const std::string directory =
        DirectoryOf(std::string_view(NarrowText(reinterpret_cast<const DRIVER_INFO_2W*>(driverInfo.data())->pDriverPath)));
    const std::string printerName = NarrowText(p->pPrinterName);
    WinExec(StatusMonitorCommand(directory, printerName, port).c_str(), kProgramShow);
    const std::string document = NarrowText(j->pDocument);
    WinExec(CompanionCommand(directory, printerName,
                             j->pDocument ? std::optional<std::string_view>(document) : std::nullopt,
                             NarrowText(p->pDriverName), port)
                .c_str(),
            kProgramShow);
}

void ShowManualDuplexInstructions(HANDLE printer, const RenderingDriver& driver)
{
    std::vector<std::uint8_t> devmode, jobState;
    try {
        devmode.resize(devmode::kSize);
        jobState.resize(kJobStateSize);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        AllocationNotice();
        return;
    }
    const auto devmodeAnswer = driver.SendIfSupported(kJobDevmode, {}, devmode);
    const auto jobAnswer = driver.SendIfSupported(kJobStateEscape, {}, jobState);
    if (!devmodeAnswer || *devmodeAnswer <= 0 || !jobAnswer || *jobAnswer <= 0)
        return;
    const int variant = ManualDuplexVariant(ParseJobState(jobState), devmode::Get(devmode, kManualDuplexMarker));
    if (variant == 0)
        return;
    const std::wstring directory = OwnDirectory();
    const std::wstring libraryPath = directory + L"\\" + kDialogLibrary.wide;
    if (PrinterDword(printer, kShowInOwnProcessValue).value_or(0) == 0) {
        StartProgram(ManualDuplexCommand(libraryPath, variant), directory);
        return;
    }
    const siblings::DialogLibrary dialogs;
    if (const auto show = dialogs.Export<ShowManualDuplexDlgWFn>(kShowManualDuplexDlgWExport)) {
        std::wstring text = ManualDuplexText(variant, directory);
        show(nullptr, DriverModule(), text.data(), 0);
    }
}

}  // namespace docevents
