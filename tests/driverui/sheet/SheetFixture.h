// A driver library of its own for the sheet tests: QVTDX5DA.DLL copied into a fresh directory
// with the stand-ins it loads (pictures, instructions, profiles, toolkit) and the test dialog
// library as QVTDX5DU.DLL, loaded once for the suite; printers of the three models; and a
// property-sheet service of the test's own that records the pages it is handed, so the sheet
// reasons run without a window.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <compstui.h>
#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "CallRecord.h"
#include "DevmodeLayout.h"
#include "DrvUiDecls.h"
#include "FeatureBindings.h"
#include "PrinterFixture.h"
#include "SheetCalls.h"
#include "TestSupport.h"

namespace sheettest {

using Bytes = std::vector<std::uint8_t>;
using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);

inline constexpr char kDesktop[] = "Qelbrin QV-5 PCL";
inline constexpr char kWorkgroup[] = "Qelbrin QV-5n PCL";
inline constexpr char kColour[] = "Qelbrin QV-5c PCL";
inline constexpr const char* kModels[] = {kDesktop, kWorkgroup, kColour};

inline std::string TestDialogsDir()
{
    return qvtest::BinDir() + "\\..\\testdialogs";
}

inline std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// The fake service: pages are counted, results remembered.
struct Service {
    int pages = 0;
    bool refuse = false;
    std::vector<LPARAM> results;
};
inline Service* g_service = nullptr;

inline LONG_PTR CALLBACK ServiceCall(HANDLE handle, UINT function, LPARAM first, LPARAM second)
{
    if (!g_service)
        return 0;
    if (function == CPSFUNC_ADD_PROPSHEETPAGEW) {
        if (g_service->refuse)
            return 0;
        return ++g_service->pages;
    }
    if (function == CPSFUNC_SET_RESULT)
        g_service->results.push_back(second);
    return 1;
}

// A binary or numeric printer value; empty when absent.
inline Bytes PrinterValue(HANDLE printer, const wchar_t* name)
{
    DWORD type = 0, needed = 0;
    if (GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed) != ERROR_MORE_DATA &&
        needed == 0)
        return {};
    Bytes bytes(needed);
    if (GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, bytes.data(), needed, &needed) != ERROR_SUCCESS)
        return {};
    bytes.resize(needed);
    return bytes;
}

class SheetLibraryTest : public ::testing::Test {
public:
    // The directory the suite's driver library and its siblings were copied into.
    static const qvtest::TempDir& Dir() { return *dir_; }

protected:
    static void SetUpTestSuite()
    {
        dir_ = new qvtest::TempDir();
        const std::string bin = qvtest::BinDir();
        bool copied = true;
        for (const char* name : {"QVTDX5DA.DLL", "QVTDX5BT.DLL", "QVTDX5B1.DLL", "QVTDX5PU.DLL", "QVTDX5TE.DLL"})
            copied = CopyFileA((bin + "\\" + name).c_str(), dir_->File(name).c_str(), FALSE) && copied;
        copied = CopyFileA((TestDialogsDir() + "\\QVTDX5DU.DLL").c_str(), dir_->File("QVTDX5DU.DLL").c_str(), FALSE) &&
                 copied;
        library_ = copied ? LoadLibraryA(dir_->File("QVTDX5DA.DLL").c_str()) : nullptr;
        driversReady_ = true;
        for (const char* model : kModels)
            driversReady_ = qvtest::InstallTestDriver(model) && driversReady_;
    }
    static void TearDownTestSuite()
    {
        if (library_)
            FreeLibrary(library_);
        library_ = nullptr;
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(library_) << "QVTDX5DA.DLL did not load from " << dir_->Path();
        ASSERT_TRUE(driversReady_);
        documentSheets_ = Export<SheetsFn>("DrvDocumentPropertySheets");
        deviceSheets_ = Export<SheetsFn>("DrvDevicePropertySheets");
        callBack_ = Export<CallBackAccessFn>(kCallBackAccessExport);
        refresh_ = Export<RefreshProcFn>("RefreshProc");
        ASSERT_TRUE(documentSheets_ && deviceSheets_ && callBack_ && refresh_);
        g_service = &service_;
    }
    void TearDown() override { g_service = nullptr; }

    template <class F>
    static F Export(const char* name)
    {
        return reinterpret_cast<F>(GetProcAddress(library_, name));
    }

    HANDLE Printer(const std::string& driver)
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return printers_.Open(
            printers_.Add(driver, std::string("QV sheet ") + info->name() + " " + std::to_string(printers_.Count())));
    }
    std::wstring Name() const { return Wide(printers_.Last()); }

    static Bytes Value(HANDLE printer, const wchar_t* name) { return PrinterValue(printer, name); }

    static inline qvtest::TempDir* dir_ = nullptr;
    static inline HMODULE library_ = nullptr;
    static inline bool driversReady_ = false;
    SheetsFn documentSheets_ = nullptr;
    SheetsFn deviceSheets_ = nullptr;
    CallBackAccessFn callBack_ = nullptr;
    RefreshProcFn refresh_ = nullptr;
    Service service_;
    qvtest::TestPrinters printers_;
};

// One document or device sheet driven through its reasons with the fake service.
class Sheet {
public:
    Sheet(SheetsFn sheets, HANDLE printer, std::wstring name, DWORD mode = DM_COPY, const DEVMODEW* input = nullptr)
        : sheets_(sheets), name_(std::move(name)), out_(devmode::kSize, 0xEE)
    {
        document_.cbSize = sizeof document_;
        document_.hPrinter = printer;
        document_.pszPrinterName = name_.data();
        document_.pdmIn = const_cast<DEVMODEW*>(input);
        document_.pdmOut = reinterpret_cast<DEVMODEW*>(out_.data());
        document_.fMode = mode;
        device_.cbSize = sizeof device_;
        device_.hPrinter = printer;
        device_.pszPrinterName = name_.data();
        info_.cbSize = sizeof info_;
        info_.pfnComPropSheet = reinterpret_cast<PFNCOMPROPSHEET>(ServiceCall);
        info_.hComPropSheet = HANDLE(0x5150);
    }
    void AsDevice() { info_.lParamInit = LPARAM(&device_); }
    LONG Init()
    {
        if (!info_.lParamInit)
            info_.lParamInit = LPARAM(&document_);
        info_.Reason = PROPSHEETUI_REASON_INIT;
        return sheets_(&info_, 0);
    }
    LONG Reason(WORD reason, LPARAM parameter = 0)
    {
        info_.Reason = reason;
        return sheets_(&info_, parameter);
    }
    LONG SetResult(LONG result)
    {
        SETRESULT_INFO r{};
        r.cbSize = sizeof r;
        r.Result = result;
        return Reason(PROPSHEETUI_REASON_SET_RESULT, LPARAM(&r));
    }
    LONG Destroy() { return Reason(PROPSHEETUI_REASON_DESTROY); }

    SheetContext* Context() const { return reinterpret_cast<SheetContext*>(info_.UserData); }
    std::span<std::uint8_t> Block() const
    {
        return {static_cast<std::uint8_t*>(static_cast<void*>(Context()->featureBlock)), Context()->featureBlockSize};
    }
    std::uint8_t* Entry(int id) const { return static_cast<std::uint8_t*>(Context()->featureEntries[id]); }
    std::int16_t Current(int id) const
    {
        std::int16_t v = 0;
        std::memcpy(&v, Entry(id) + feature::kCurrent, 2);
        return v;
    }
    void SetCurrent(int id, std::int16_t v) { std::memcpy(Entry(id) + feature::kCurrent, &v, 2); }
    Bytes Working() const { return Bytes(Context()->workingDevmode, Context()->workingDevmode + devmode::kSize); }
    const Bytes& Out() const { return out_; }
    PROPSHEETUI_INFO& Info() { return info_; }

private:
    SheetsFn sheets_;
    std::wstring name_;
    Bytes out_;
    DOCUMENTPROPERTYHEADER document_{};
    DEVICEPROPERTYHEADER device_{};
    PROPSHEETUI_INFO info_{};
};

}  // namespace sheettest
