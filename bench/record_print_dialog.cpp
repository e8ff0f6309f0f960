// Records the calls the platform's print dialogs make into a driver of ours: registers the
// recording configuration file (recorder/) for a model, with QVTDX5DA.DLL and QVTDX5DU.DLL beside
// it, makes its printer the default one, opens PrintDlgW and PrintDlgExW on it (each closed as
// soon as it is shown) and prints the recorded calls, the capability queries also as the table
// that the dialog benchmark replays (PrintDialogQueries.h). Run once by hand:
//   scripts/bench win32 record_print_dialog
#include <windows.h>
#include <commdlg.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr wchar_t kPrinter[] = L"QV print dialog";
#ifdef _WIN64
constexpr char kEnvironment[] = "Windows x64";
#else
constexpr char kEnvironment[] = "Windows NT x86";
#endif

bool RegisterRecorder()
{
    const std::string bin = qvtest::BinDir();
    std::string recorder = bin + "\\..\\bench\\qvrecord.dll";
    std::string data = bin + "\\QVTDX5DU.DLL";
    std::string dependents = bin + "\\QVTDX5DA.DLL" + '\0' + bin + "\\QVTDX5DU.DLL" + '\0' + '\0';
    DRIVER_INFO_6A info{};
    info.cVersion = 3;
    info.pName = const_cast<char*>(kDriver);
    info.pEnvironment = const_cast<char*>(kEnvironment);
    info.pDriverPath = recorder.data();
    info.pConfigFile = recorder.data();
    info.pDataFile = data.data();
    info.pDependentFiles = dependents.data();
    info.pDefaultDataType = const_cast<char*>("RAW");
    return AddPrinterDriverExA(nullptr, 6, reinterpret_cast<BYTE*>(&info),
                               APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY);
}

UINT_PTR CALLBACK CloseAtOnce(HWND dialog, UINT message, WPARAM, LPARAM)
{
    // The hook sees its dialog's first message after the printer is set up.
    if (message == WM_INITDIALOG)
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return message == WM_INITDIALOG;
}

// PrintDlgExW has no hook that sees its frame: a timer of the owner cancels whatever dialog the
// thread shows.
void CALLBACK CancelShown(HWND, UINT, UINT_PTR, DWORD)
{
    HWND shown = FindWindowW(L"#32770", nullptr);
    if (shown)
        PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
}

std::string Log()
{
    char path[MAX_PATH];
    GetEnvironmentVariableA("QV_RECORD_LOG", path, MAX_PATH);
    return qvtest::ReadFile(path).value_or("");
}

void Mark(const char* what)
{
    char path[MAX_PATH];
    GetEnvironmentVariableA("QV_RECORD_LOG", path, MAX_PATH);
    qvtest::WriteFile(path, Log() + "== " + what + "\n");
}

// Whether anything under the spooler's registry changed while `work` ran.
template <class Work>
bool SpoolerStoreChanged(Work work)
{
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Print", 0, KEY_NOTIFY, &key);
    const HANDLE changed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
    work();
    const bool fired = WaitForSingleObject(changed, 0) == WAIT_OBJECT_0;
    CloseHandle(changed);
    RegCloseKey(key);
    return fired;
}

}  // namespace

int main()
{
    const std::string log = qvtest::TempFolder() + "qvrecord.log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("QV_RECORD_LOG", log.c_str());
    if (!RegisterRecorder() || !qvtest::AddTestPrinter("QV print dialog", kDriver, "FILE:") ||
        !SetDefaultPrinterW(kPrinter)) {
        std::printf("the recording driver or its printer could not be added: %lu\n", GetLastError());
        return 1;
    }

    const auto printDlg = [](DWORD flags) {
        PRINTDLGW pd{};
        pd.lStructSize = sizeof pd;
        pd.Flags = PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK | flags;
        pd.lpfnPrintHook = CloseAtOnce;
        pd.lpfnSetupHook = CloseAtOnce;
        PrintDlgW(&pd);
        if (pd.hDevMode)
            GlobalFree(pd.hDevMode);
        if (pd.hDevNames)
            GlobalFree(pd.hDevNames);
    };
    const auto printDlgEx = [] {
        HWND owner = CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                   nullptr, nullptr);
        const UINT_PTR timer = SetTimer(nullptr, 0, 300, CancelShown);
        PRINTDLGEXW pd{};
        pd.lStructSize = sizeof pd;
        pd.hwndOwner = owner;
        pd.Flags = PD_NOPAGENUMS;
        pd.nStartPage = START_PAGE_GENERAL;
        const HRESULT hr = PrintDlgExW(&pd);
        KillTimer(nullptr, timer);
        DestroyWindow(owner);
        if (pd.hDevMode)
            GlobalFree(pd.hDevMode);
        if (pd.hDevNames)
            GlobalFree(pd.hDevNames);
        return hr;
    };

    const auto pageSetup = [] {
        PAGESETUPDLGW psd{};
        psd.lStructSize = sizeof psd;
        psd.Flags = PSD_ENABLEPAGESETUPHOOK;
        psd.lpfnPageSetupHook = CloseAtOnce;
        PageSetupDlgW(&psd);
        if (psd.hDevMode)
            GlobalFree(psd.hDevMode);
        if (psd.hDevNames)
            GlobalFree(psd.hDevNames);
    };

    Mark("PrintDlgW, first");
    printDlg(0);
    Mark("PrintDlgW");
    const bool printWrote = SpoolerStoreChanged([&] { printDlg(0); });
    Mark("PrintDlgW PD_PRINTSETUP");
    const bool setupWrote = SpoolerStoreChanged([&] { printDlg(PD_PRINTSETUP); });
    Mark("PageSetupDlgW");
    const bool pageWrote = SpoolerStoreChanged(pageSetup);
    Mark("PrintDlgExW");
    HRESULT exResult = S_OK;
    const bool exWrote = SpoolerStoreChanged([&] { exResult = printDlgEx(); });
    std::printf("%s", Log().c_str());
    std::printf("the spooler's registry changed during PrintDlgW: %s, Print Setup: %s, PageSetupDlgW: %s, "
                "PrintDlgExW (0x%lx): %s\n",
                printWrote ? "yes" : "no", setupWrote ? "yes" : "no", pageWrote ? "yes" : "no",
                static_cast<unsigned long>(exResult), exWrote ? "yes" : "no");

    qvtest::DeleteTestPrinter("QV print dialog");
    return 0;
}
