// The property entry points of QVTDX5DA.DLL without a user interface, on printers of the three
// models in Wine's spooler.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <compstui.h>

#include <string>
#include <vector>

#include "CallRecord.h"
#include "DevmodeLayout.h"
#include "DriverLibraryFixture.h"
#include "DrvUiDecls.h"
#include "PrinterFixture.h"
#include "TestSupport.h"

using namespace devmode;

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Bytes = std::vector<std::uint8_t>;

using DocumentPropertiesFn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using AdvancedPropertiesFn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW);
using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);
using PrinterPropertiesFn = BOOL(WINAPI*)(HWND, HANDLE);
using DevQueryFn = BOOL(WINAPI*)(PDEVQUERYPRINT_INFO);

constexpr char kDesktop[] = "Qelbrin QV-5 PCL";
constexpr char kWorkgroup[] = "Qelbrin QV-5n PCL";
constexpr char kColour[] = "Qelbrin QV-5c PCL";

class EntryPoints : public qvtest::DriverLibraryTest {
protected:
    static void SetUpTestSuite()
    {
        DriverLibraryTest::SetUpTestSuite();
        if (!library_)
            return;
        documentProperties_ = Export<DocumentPropertiesFn>("DrvDocumentProperties");
        advanced_ = Export<AdvancedPropertiesFn>("DrvAdvancedDocumentProperties");
        documentSheets_ = Export<SheetsFn>("DrvDocumentPropertySheets");
        deviceSheets_ = Export<SheetsFn>("DrvDevicePropertySheets");
        printerProperties_ = Export<PrinterPropertiesFn>("PrinterProperties");
        devQuery_ = Export<DevQueryFn>("DevQueryPrintEx");
        driversReady_ = true;
        for (const char* driver : {kDesktop, kWorkgroup, kColour})
            driversReady_ = qvtest::InstallTestDriver(driver) && driversReady_;
    }
    void SetUp() override
    {
        ASSERT_TRUE(library_) << "QVTDX5DA.DLL did not load";
        ASSERT_TRUE(documentProperties_ && advanced_ && documentSheets_ && deviceSheets_ && printerProperties_ &&
                    devQuery_)
            << "an export is missing";
        ASSERT_TRUE(driversReady_);
    }
    HANDLE Printer(const std::string& driver)
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return printers_.Open(
            printers_.Add(driver, std::string("QV ") + info->name() + " " + std::to_string(printers_.Count())));
    }
    std::wstring Name() const { return std::wstring(printers_.Last().begin(), printers_.Last().end()); }

    static inline DocumentPropertiesFn documentProperties_ = nullptr;
    static inline AdvancedPropertiesFn advanced_ = nullptr;
    static inline SheetsFn documentSheets_ = nullptr;
    static inline SheetsFn deviceSheets_ = nullptr;
    static inline PrinterPropertiesFn printerProperties_ = nullptr;
    static inline DevQueryFn devQuery_ = nullptr;
    static inline bool driversReady_ = false;
    qvtest::TestPrinters printers_;
};

DEVMODEW* AsDevmode(Bytes& b) { return reinterpret_cast<DEVMODEW*>(b.data()); }

TEST_F(EntryPoints, SizeQueriesAnswerTheFullDevmodeAndTouchNothing)
{
    HANDLE printer = Printer(kDesktop);
    std::wstring name = Name();
    Bytes out(kSize, 0xEE);
    EXPECT_EQ(1256, documentProperties_(nullptr, printer, name.data(), AsDevmode(out), nullptr, 0));
    EXPECT_EQ(1256, documentProperties_(nullptr, printer, name.data(), nullptr, nullptr, DM_COPY));
    EXPECT_EQ(1256, advanced_(nullptr, printer, name.data(), nullptr, nullptr));
    EXPECT_EQ(Bytes(kSize, 0xEE), out);

    DOCUMENTPROPERTYHEADER header{};
    header.cbSize = sizeof header;
    header.hPrinter = printer;
    header.pszPrinterName = name.data();
    header.pdmOut = AsDevmode(out);
    EXPECT_EQ(1256, documentSheets_(nullptr, LPARAM(&header)));
    EXPECT_EQ(1256u, header.cbOut);
    EXPECT_EQ(Bytes(kSize, 0xEE), out);
}

TEST_F(EntryPoints, OutputOnlyGivesEachModelsCurrentDevmode)
{
    for (const char* model : {kDesktop, kWorkgroup, kColour}) {
        SCOPED_TRACE(model);
        HANDLE printer = Printer(model);
        std::wstring name = Name();
        Bytes out(kSize, 0);
        ASSERT_EQ(IDOK, documentProperties_(nullptr, printer, name.data(), AsDevmode(out), nullptr, DM_COPY));
        EXPECT_TRUE(IsDriverDevmode(out));
        EXPECT_TRUE(ChecksumMatches(out));
        EXPECT_EQ(model, std::string(GetText(out, kModelName)));
    }
}

TEST_F(EntryPoints, AnInputDevmodeIsMergedAndAnOlderLayoutGetsOnlyItsOwnSizes)
{
    HANDLE printer = Printer(kWorkgroup);
    std::wstring name = Name();
    Bytes current(kSize, 0);
    ASSERT_EQ(IDOK, documentProperties_(nullptr, printer, name.data(), AsDevmode(current), nullptr, DM_COPY));

    Bytes input = current;
    Set(input, dmCopies, 7);
    Set(input, dmFields, Get(input, dmFields) | DM_COPIES);
    Bytes out(kSize, 0);
    ASSERT_EQ(IDOK, documentProperties_(nullptr, printer, name.data(), AsDevmode(out), AsDevmode(input), DM_COPY));
    EXPECT_EQ(7, Get(out, dmCopies));

    // An older devmode: 212 public bytes and no private part. The answer keeps that layout and
    // writes nothing beyond it.
    Bytes old(kOldPublicSize, 0);
    std::copy_n(current.begin(), kOldPublicSize, old.begin());
    Set(old, dmSize, std::uint16_t(kOldPublicSize));
    Set(old, dmDriverExtra, 0);
    Set(old, dmSpecVersion, kOldSpecVersionValue);
    Set(old, dmCopies, 3);
    Bytes small(kSize, 0xEE);
    ASSERT_EQ(IDOK, documentProperties_(nullptr, printer, name.data(), AsDevmode(small), AsDevmode(old), DM_COPY));
    EXPECT_EQ(kOldPublicSize, Get(small, dmSize));
    EXPECT_EQ(0, Get(small, dmDriverExtra));
    EXPECT_EQ(3, Get(small, dmCopies));
    EXPECT_EQ(Bytes(kSize - kOldPublicSize, 0xEE), Bytes(small.begin() + kOldPublicSize, small.end()));
}

TEST_F(EntryPoints, SheetsCannotStartYetAndReleaseWhatTheyLoaded)
{
    qvtest::TempDir dir;
    qvtest::CallRecord siblings("QVSIBLING_RECORD", dir.File("siblings.txt"));
    HANDLE printer = Printer(kWorkgroup);
    std::wstring name = Name();
    Bytes out(kSize, 0);
    DOCUMENTPROPERTYHEADER header{};
    header.cbSize = sizeof header;
    header.hPrinter = printer;
    header.pszPrinterName = name.data();
    header.pdmOut = AsDevmode(out);
    header.fMode = DM_COPY;
    PROPSHEETUI_INFO info{};
    info.cbSize = sizeof info;
    info.lParamInit = LPARAM(&header);
    info.Reason = PROPSHEETUI_REASON_INIT;
    EXPECT_EQ(-1, documentSheets_(&info, 0));
    EXPECT_EQ(0u, info.UserData);
    EXPECT_THAT(siblings.Calls(),
                ElementsAre("attach QVTDX5BT.DLL", "attach QVTDX5B1.DLL", "detach QVTDX5B1.DLL", "detach QVTDX5BT.DLL"));

    // Without a context from INIT every other reason fails, as does a missing header.
    for (int reason : {PROPSHEETUI_REASON_GET_INFO_HEADER, PROPSHEETUI_REASON_SET_RESULT,
                       PROPSHEETUI_REASON_DESTROY, 77}) {
        info.Reason = WORD(reason);
        EXPECT_EQ(-1, documentSheets_(&info, 0)) << reason;
        EXPECT_EQ(-1, deviceSheets_(&info, 0)) << reason;
    }
    info.lParamInit = 0;
    info.Reason = PROPSHEETUI_REASON_INIT;
    EXPECT_EQ(-1, documentSheets_(&info, 0));

    // The desktop model has no model family: nothing is loaded for it.
    DEVICEPROPERTYHEADER device{};
    device.cbSize = sizeof device;
    device.hPrinter = Printer(kDesktop);
    info.lParamInit = LPARAM(&device);
    EXPECT_EQ(-1, deviceSheets_(&info, 0));
    EXPECT_EQ(4u, siblings.Calls().size());
}

TEST_F(EntryPoints, PromptingCallsGoThroughTheSheetServiceAndReportNoSuccess)
{
    HANDLE printer = Printer(kColour);
    std::wstring name = Name();
    Bytes out(kSize, 0xEE);
    const LONG result =
        documentProperties_(nullptr, printer, name.data(), AsDevmode(out), nullptr, DM_COPY | DM_PROMPT);
    EXPECT_NE(IDOK, result);
    EXPECT_EQ(0, advanced_(nullptr, printer, name.data(), AsDevmode(out), nullptr));
    EXPECT_EQ(Bytes(kSize, 0xEE), out);

    EXPECT_FALSE(printerProperties_(nullptr, printer));
    DWORD type = 0, value = 0, needed = 0;
    ASSERT_EQ(DWORD(ERROR_SUCCESS),
              GetPrinterDataW(printer, const_cast<LPWSTR>(L"Permission"), &type, reinterpret_cast<BYTE*>(&value),
                              sizeof value, &needed));
    EXPECT_EQ(DWORD(REG_DWORD), type);
    EXPECT_EQ(1u, value);
}

TEST_F(EntryPoints, EveryJobIsAccepted)
{
    EXPECT_TRUE(devQuery_(nullptr));
    DEVQUERYPRINT_INFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(devQuery_(&info));
}

}  // namespace
