// DrvDeviceCapabilities, GetPaperFormat and isUSA as exports of QVTDX5DA.DLL, on printers of the
// three models in Wine's spooler, with the dialog library beside the library for the tray and
// paper names.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "DialogLibraryApi.h"
#include "DriverLibraryFixture.h"
#include "DrvUiDecls.h"
#include "PaperFormatRecord.h"
#include "PrinterList.h"
#include "TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using CapsFn = DWORD(WINAPI*)(HANDLE, PWSTR, WORD, void*, DEVMODEW*);
using ConvertDevModeFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);

constexpr char kDesktop[] = "Qelbrin QV-5 PCL";
constexpr char kWorkgroup[] = "Qelbrin QV-5n PCL";
constexpr char kColour[] = "Qelbrin QV-5c PCL";
constexpr DWORD kFailed = 0xFFFFFFFFu;

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// Counts the loads of one library into this process, from the loader's own notifications.
class LoadCounter {
public:
    explicit LoadCounter(const wchar_t* baseName) : name_(baseName)
    {
        using Register = LONG(NTAPI*)(ULONG, Callback, void*, void**);
        const auto reg = reinterpret_cast<Register>(
            GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "LdrRegisterDllNotification"));
        if (reg && reg(0, &LoadCounter::Notified, this, &cookie_) != 0)
            cookie_ = nullptr;
    }
    ~LoadCounter()
    {
        using Unregister = LONG(NTAPI*)(void*);
        const auto unreg = reinterpret_cast<Unregister>(
            GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "LdrUnregisterDllNotification"));
        if (unreg && cookie_)
            unreg(cookie_);
    }
    LoadCounter(const LoadCounter&) = delete;
    LoadCounter& operator=(const LoadCounter&) = delete;

    bool Listening() const { return cookie_ != nullptr; }
    int Loads() const { return loads_; }

private:
    struct Text {
        USHORT length, maximum;  // in bytes
        PWSTR buffer;
    };
    struct Notification {
        ULONG flags;
        const Text* fullName;
        const Text* baseName;
        void* base;
        ULONG size;
    };
    using Callback = void(CALLBACK*)(ULONG, const Notification*, void*);
    static constexpr ULONG kLoaded = 1;

    static void CALLBACK Notified(ULONG reason, const Notification* data, void* context)
    {
        auto* self = static_cast<LoadCounter*>(context);
        if (reason != kLoaded || !data || !data->baseName || !data->baseName->buffer)
            return;
        const std::wstring base(data->baseName->buffer, data->baseName->length / sizeof(wchar_t));
        if (lstrcmpiW(base.c_str(), self->name_) == 0)
            ++self->loads_;
    }

    const wchar_t* name_;
    void* cookie_ = nullptr;
    int loads_ = 0;
};

std::string Narrow(const wchar_t* s, std::size_t max)
{
    std::string out;
    for (std::size_t i = 0; i < max && s[i]; ++i)
        out.push_back(char(s[i]));
    return out;
}

// One model's printer and what its answers must be.
struct ModelCase {
    const char* driver;
    const char* printer;
    DWORD duplex;
    DWORD minExtent, maxExtent;
    std::vector<WORD> bins;
    std::vector<std::string> binNames;
    std::vector<WORD> papers;  // built-in papers only: the printers have no forms
};

const ModelCase kModels[] = {
    {kDesktop, "QV Caps Desktop", 0, 762 | 1270u << 16, 2159 | 3556u << 16, {7, 1, 4},
     {"Automatically Select", "Tray 1", "Manual Feed"},
     {1, 5, 6, 7, 9, 11, 13, 14, 19, 20, 27, 28, 34, 37, 256, 257, 258, 262}},
    {kWorkgroup, "QV Caps Workgroup", 1, 762 | 1270u << 16, 2159 | 3556u << 16, {7, 1, 2, 4},
     {"Automatically Select", "Tray 1", "Tray 2", "Manual Feed"},
     {1, 5, 6, 7, 9, 11, 13, 14, 19, 20, 27, 28, 34, 37, 256, 257, 258, 259, 260, 261, 262}},
    {kColour, "QV Caps Colour", 1, 1016 | 1524u << 16, 2159 | 3556u << 16, {7, 1, 2, 4},
     {"Automatically Select", "Tray 1", "Tray 2", "Manual Feed"},
     {1, 5, 6, 7, 9, 11, 13, 14, 20, 27, 28, 37, 256, 257, 258, 262}},
};

class DeviceCapabilitiesTest : public qvtest::DriverLibraryTest {
protected:
    static void SetUpTestSuite()
    {
        DriverLibraryTest::SetUpTestSuite();
        if (!library_)
            return;
        caps_ = reinterpret_cast<CapsFn>(GetProcAddress(library_, "DrvDeviceCapabilities"));
        convert_ = reinterpret_cast<ConvertDevModeFn>(GetProcAddress(library_, "DrvConvertDevMode"));
        paperFormat_ = reinterpret_cast<GetPaperFormatFn>(GetProcAddress(library_, kGetPaperFormatExport));
        isUsa_ = reinterpret_cast<IsUsaFn>(GetProcAddress(library_, kIsUsaExport));
        ready_ = true;
        for (const ModelCase& m : kModels)
            ready_ = qvtest::InstallTestDriver(m.driver) &&
                     (qvtest::AddTestPrinter(m.printer, m.driver) || GetLastError() == ERROR_PRINTER_ALREADY_EXISTS) &&
                     ready_;
    }
    void SetUp() override
    {
        ASSERT_TRUE(library_) << "QVTDX5DA.DLL did not load: " << GetLastError();
        ASSERT_TRUE(caps_ && convert_ && paperFormat_ && isUsa_) << "an export is missing";
        ASSERT_TRUE(ready_) << "the test printers could not be set up";
    }

    static DWORD Caps(const std::string& printer, WORD index, void* output = nullptr, DEVMODEW* in = nullptr)
    {
        std::wstring name = Wide(printer);
        return caps_(nullptr, name.data(), index, output, in);
    }

    // The printer's current devmode, as the driver builds it.
    static Bytes CurrentDevmode(const std::string& printer)
    {
        Bytes d(devmode::kSize, 0);
        LONG size = LONG(d.size());
        std::wstring name = Wide(printer);
        if (!convert_(name.data(), nullptr, reinterpret_cast<PDEVMODEW>(d.data()), &size, CDM_DRIVER_DEFAULT))
            return {};
        return d;
    }

    static std::vector<WORD> Papers(const std::string& printer, DEVMODEW* in = nullptr)
    {
        std::vector<WORD> codes(Caps(printer, DC_PAPERS, nullptr, in));
        Caps(printer, DC_PAPERS, codes.data(), in);
        return codes;
    }
    static std::map<WORD, POINT> PaperSizes(const std::string& printer, DEVMODEW* in = nullptr)
    {
        const std::vector<WORD> codes = Papers(printer, in);
        std::vector<POINT> sizes(Caps(printer, DC_PAPERSIZE, nullptr, in));
        Caps(printer, DC_PAPERSIZE, sizes.data(), in);
        std::map<WORD, POINT> out;
        for (std::size_t i = 0; i < std::min(codes.size(), sizes.size()); ++i)
            out[codes[i]] = sizes[i];
        return out;
    }
    static std::vector<std::string> Names(const std::string& printer, WORD index, std::size_t chars)
    {
        const DWORD n = Caps(printer, index);
        if (n == kFailed)
            return {"<failed>"};
        std::vector<wchar_t> buffer(n * chars, L'?');
        Caps(printer, index, buffer.data());
        std::vector<std::string> names;
        for (DWORD i = 0; i < n; ++i) {
            EXPECT_EQ(buffer[i * chars + chars - 1], L'\0') << "name " << i << " ends in its slot";
            names.push_back(Narrow(buffer.data() + i * chars, chars));
        }
        return names;
    }

    static inline CapsFn caps_ = nullptr;
    static inline ConvertDevModeFn convert_ = nullptr;
    static inline GetPaperFormatFn paperFormat_ = nullptr;
    static inline IsUsaFn isUsa_ = nullptr;
    static inline bool ready_ = false;
};

TEST_F(DeviceCapabilitiesTest, ConstantsAndDevmodeAnswersForEachModel)
{
    for (const ModelCase& m : kModels) {
        SCOPED_TRACE(m.driver);
        const Bytes d = CurrentDevmode(m.printer);
        ASSERT_FALSE(d.empty());
        struct Index {
            WORD index;
            DWORD answer;
        };
        const Index indexes[] = {
            {DC_FIELDS, devmode::Get(d, devmode::dmFields)},
            {DC_DUPLEX, m.duplex},
            {DC_SIZE, 220},
            {DC_EXTRA, 1036},
            {DC_VERSION, 0x0401},
            {DC_DRIVER, 0x1400},
            {DC_TRUETYPE, 11},
            {DC_ORIENTATION, 90},
            {DC_COPIES, 9999},
            {DC_BINADJUST, 2},
            {DC_MINEXTENT, m.minExtent},
            {DC_MAXEXTENT, m.maxExtent},
            {DC_FILEDEPENDENCIES, 0},
            {0, kFailed},
            {20, kFailed},
            {DC_COLORDEVICE, kFailed},
            {0xFFFF, kFailed},
        };
        for (const Index& i : indexes)
            EXPECT_EQ(Caps(m.printer, i.index), i.answer) << "index " << i.index;
    }
}

// A count query and a filled call agree, and a filled call writes nothing past its count.
TEST_F(DeviceCapabilitiesTest, NullBuffersGiveTheCountsTheFilledCallsWrite)
{
    struct Index {
        WORD index;
        std::size_t bytes;  // per item
    };
    const Index indexes[] = {{DC_PAPERS, 2}, {DC_PAPERSIZE, 8}, {DC_BINS, 2}, {DC_BINNAMES, 48},
                             {DC_ENUMRESOLUTIONS, 8}, {DC_PAPERNAMES, 128}};
    for (const ModelCase& m : kModels)
        for (const Index& i : indexes) {
            SCOPED_TRACE(::testing::Message() << m.driver << " index " << i.index);
            const DWORD count = Caps(m.printer, i.index);
            ASSERT_NE(count, kFailed);
            ASSERT_GT(count, 0u);
            std::vector<std::uint8_t> buffer((count + 1) * i.bytes, 0xAB);
            EXPECT_EQ(Caps(m.printer, i.index, buffer.data()), count);
            EXPECT_TRUE(std::all_of(buffer.end() - std::ptrdiff_t(i.bytes), buffer.end(),
                                    [](std::uint8_t b) { return b == 0xAB; }));
        }
}

TEST_F(DeviceCapabilitiesTest, PapersTraysAndResolutionsOfEachModel)
{
    for (const ModelCase& m : kModels) {
        SCOPED_TRACE(m.driver);
        EXPECT_EQ(Papers(m.printer), m.papers);

        std::vector<WORD> bins(Caps(m.printer, DC_BINS));
        Caps(m.printer, DC_BINS, bins.data());
        EXPECT_EQ(bins, m.bins);
        EXPECT_EQ(Names(m.printer, DC_BINNAMES, 24), m.binNames);

        const auto papers = Names(m.printer, DC_PAPERNAMES, 64);
        ASSERT_GE(papers.size(), 5u);
        EXPECT_EQ(papers[0], "Letter");
        EXPECT_EQ(papers[1], "Legal");
        EXPECT_EQ(papers[4], "A4");

        std::vector<LONG> resolutions(2 * Caps(m.printer, DC_ENUMRESOLUTIONS));
        Caps(m.printer, DC_ENUMRESOLUTIONS, resolutions.data());
        const Bytes d = CurrentDevmode(m.printer);
        const LONG quality = devmode::Get(d, devmode::dmPrintQuality);
        ASSERT_GE(resolutions.size(), 2u);
        EXPECT_EQ(resolutions[0], quality);
        EXPECT_EQ(resolutions[1], quality);
        for (std::size_t i = 2; i < resolutions.size(); i += 2) {
            EXPECT_EQ(resolutions[i], resolutions[i + 1]);
            EXPECT_EQ(std::count(resolutions.begin(), resolutions.end(), resolutions[i]), 2) << "listed once";
        }
    }
}

TEST_F(DeviceCapabilitiesTest, A4AndLetterInTenthsOfAMillimetreAndLandscapeSwaps)
{
    for (const ModelCase& m : kModels) {
        SCOPED_TRACE(m.driver);
        const auto portrait = PaperSizes(m.printer);
        ASSERT_TRUE(portrait.count(1) && portrait.count(9));
        EXPECT_EQ(portrait.at(1).x, 2159);
        EXPECT_EQ(portrait.at(1).y, 2794);
        EXPECT_EQ(portrait.at(9).x, 2100);
        EXPECT_EQ(portrait.at(9).y, 2970);

        Bytes d = CurrentDevmode(m.printer);
        devmode::Set(d, devmode::dmOrientation, 2);
        const auto landscape = PaperSizes(m.printer, reinterpret_cast<DEVMODEW*>(d.data()));
        ASSERT_EQ(landscape.size(), portrait.size());
        for (const auto& [code, size] : portrait) {
            EXPECT_EQ(landscape.at(code).x, size.y) << code;
            EXPECT_EQ(landscape.at(code).y, size.x) << code;
        }
    }
}

// The printer's own lists: a user-defined form on a model with forms, an association on every
// model.
TEST_F(DeviceCapabilitiesTest, AddedFormsAppear)
{
    const std::string printer = "QV Caps Forms";
    ASSERT_TRUE(qvtest::AddTestPrinter(printer, kWorkgroup) || GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
    const std::string desktop = "QV Caps Forms Desktop";
    ASSERT_TRUE(qvtest::AddTestPrinter(desktop, kDesktop) || GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);

    UserForm form;
    form.number = 515;
    form.name = "Label 4x6";
    form.values[0] = 4800;
    form.values[1] = 7200;
    for (const std::string& p : {printer, desktop}) {
        ASSERT_TRUE(AddUserForm(p, form));
        ASSERT_TRUE(AddNamedRecord(p, kFormAssociationList, 645, "Plain A4"));
    }

    const auto codes = Papers(printer);
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[codes.size() - 2], 515);
    EXPECT_EQ(codes.back(), 645);
    const auto names = Names(printer, DC_PAPERNAMES, 64);
    EXPECT_EQ(names[names.size() - 2], "Label 4x6");
    EXPECT_EQ(names.back(), "Plain A4");
    const auto sizes = PaperSizes(printer);
    EXPECT_EQ(sizes.at(515).x, 1016);
    EXPECT_EQ(sizes.at(515).y, 1524);
    EXPECT_EQ(sizes.at(645).x, 2159) << "an association without its paper stands for Letter";

    // The desktop model offers no forms: only the association joins its papers.
    const auto desktopCodes = Papers(desktop);
    EXPECT_EQ(std::count(desktopCodes.begin(), desktopCodes.end(), 515), 0);
    EXPECT_EQ(desktopCodes.back(), 645);
    EXPECT_EQ(Names(desktop, DC_PAPERNAMES, 64).back(), "Plain A4");
}

// The answers follow the printer's stored settings as they change between calls.
TEST_F(DeviceCapabilitiesTest, ChangedSettingsAreSeenAtTheNextCall)
{
    const std::string printer = "QV Caps Changing";
    ASSERT_TRUE(qvtest::AddTestPrinter(printer, kWorkgroup) || GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
    Bytes d = CurrentDevmode(printer);
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(PaperSizes(printer).at(1).x, 2159);

    // A landscape devmode; configuration data that installs tray 3 (the installed trays follow the
    // hardware: they come from the data, element 0x100).
    devmode::Set(d, devmode::dmOrientation, 2);
    devmode::UpdateChecksum(d);
    const Bytes data = {0x01, 0, 0, 0, 0x1C, 0, 0, 0,  0x00, 0x01, 0, 0, 0x14, 0, 0, 0,
                        0x01, 0, 0, 0, 0x0C, 0, 0, 0,  0x0F, 0, 0, 0};
    HANDLE h = nullptr;
    PRINTER_DEFAULTSA all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>(printer.c_str()), &h, &all));
    EXPECT_EQ(SetPrinterDataW(h, const_cast<LPWSTR>(L"CurrentDevmode"), REG_BINARY, d.data(), DWORD(d.size())),
              DWORD(ERROR_SUCCESS));
    EXPECT_EQ(SetPrinterDataW(h, const_cast<LPWSTR>(L"DefDrvCfgData"), REG_BINARY, const_cast<BYTE*>(data.data()),
                              DWORD(data.size())),
              DWORD(ERROR_SUCCESS));
    ClosePrinter(h);

    EXPECT_EQ(PaperSizes(printer).at(1).x, 2794) << "landscape now";
    std::vector<WORD> bins(Caps(printer, DC_BINS));
    Caps(printer, DC_BINS, bins.data());
    EXPECT_EQ(bins, (std::vector<WORD>{7, 1, 2, 257, 4})) << "tray 3 installed now";
}

// The dialog library is loaded at most once for a run of queries: names once given are kept.
TEST_F(DeviceCapabilitiesTest, RepeatedQueriesLoadTheDialogLibraryOnce)
{
    const LoadCounter loads(L"QVTDX5DU.DLL");
    ASSERT_TRUE(loads.Listening());
    for (int round = 0; round < 10; ++round)
        for (const ModelCase& m : kModels) {
            EXPECT_EQ(Names(m.printer, DC_BINNAMES, 24), m.binNames);
            EXPECT_EQ(Names(m.printer, DC_PAPERNAMES, 64).at(0), "Letter");
        }
    EXPECT_LE(loads.Loads(), 1);
}

// A library without the dialog library beside it still answers the counts, with empty names.
TEST_F(DeviceCapabilitiesTest, WithoutTheDialogLibraryNamesAreEmpty)
{
    qvtest::TempDir dir;
    const std::string copy = dir.File("QVCAPSDA.DLL");
    ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\QVTDX5DA.DLL").c_str(), copy.c_str(), FALSE));
    HMODULE alone = LoadLibraryA(copy.c_str());
    ASSERT_TRUE(alone) << GetLastError();
    const auto caps = reinterpret_cast<CapsFn>(GetProcAddress(alone, "DrvDeviceCapabilities"));
    ASSERT_TRUE(caps);
    std::wstring name = Wide(kModels[1].printer);
    const DWORD trays = caps(nullptr, name.data(), DC_BINNAMES, nullptr, nullptr);
    EXPECT_EQ(trays, kModels[1].bins.size());
    std::vector<wchar_t> names(trays * 24, L'?');
    EXPECT_EQ(caps(nullptr, name.data(), DC_BINNAMES, names.data(), nullptr), trays);
    EXPECT_TRUE(std::all_of(names.begin(), names.end(), [](wchar_t c) { return c == L'\0'; }));
    const DWORD papers = caps(nullptr, name.data(), DC_PAPERNAMES, nullptr, nullptr);
    EXPECT_EQ(papers, kModels[1].papers.size());
    FreeLibrary(alone);
}

TEST_F(DeviceCapabilitiesTest, PrintersWithoutADevmode)
{
    EXPECT_EQ(Caps("QV No Such Printer", DC_VERSION), 0x0401u) << "answered before any devmode";
    for (WORD index : {DC_FIELDS, DC_PAPERS, DC_BINS, DC_DUPLEX})
        EXPECT_EQ(Caps("QV No Such Printer", index), kFailed) << index;
    EXPECT_EQ(caps_(nullptr, nullptr, DC_PAPERS, nullptr, nullptr), kFailed);

    // A caller's devmode without a usable header fails the query.
    Bytes broken(220, 0);
    EXPECT_EQ(Caps(kModels[0].printer, DC_PAPERS, nullptr, reinterpret_cast<DEVMODEW*>(broken.data())), kFailed);
}

// The handle, when the caller has one, serves as well as the name.
TEST_F(DeviceCapabilitiesTest, AnOpenHandleAnswersAsTheName)
{
    HANDLE h = nullptr;
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>(kModels[2].printer), &h, nullptr));
    EXPECT_EQ(caps_(h, nullptr, DC_PAPERS, nullptr, nullptr), kModels[2].papers.size());
    EXPECT_EQ(caps_(h, nullptr, DC_DUPLEX, nullptr, nullptr), 1u);
    ClosePrinter(h);
}

TEST_F(DeviceCapabilitiesTest, PaperFormatRecords)
{
    const ModelCase& m = kModels[2];
    Bytes d = CurrentDevmode(m.printer);
    ASSERT_FALSE(d.empty());
    std::array<std::uint8_t, paperformat::kSize> record{};
    const auto word = [&](std::size_t at) { return std::uint16_t(record[at] | record[at + 1] << 8); };
    char model[] = "Qelbrin QV-5c PCL";
    auto* dm = reinterpret_cast<PDEVMODEW>(d.data());

    ASSERT_TRUE(paperFormat_(model, nullptr, record.data(), dm, 9, 2, 0, 600, 0));
    EXPECT_EQ(word(paperformat::kResolvedCode), 9);
    EXPECT_EQ(word(paperformat::kOrientation), 2);
    EXPECT_EQ(word(paperformat::kPhysicalWidth), 14031);
    EXPECT_EQ(word(paperformat::kPhysicalLength), 9921);
    EXPECT_EQ(word(paperformat::kAreaOrigin), 240) << "the colour model's margins";
    EXPECT_EQ(word(paperformat::kAreaSize), 14031 - 480);
    EXPECT_EQ(word(paperformat::kRequestResolution), 600);

    record.fill(0x5A);
    EXPECT_FALSE(paperFormat_(model, nullptr, record.data(), dm, 2, 1, 0, 600, 0)) << "no such paper";
    EXPECT_FALSE(paperFormat_(model, nullptr, nullptr, dm, 9, 1, 0, 600, 0));
    EXPECT_FALSE(paperFormat_(model, nullptr, record.data(), nullptr, 9, 1, 0, 600, 0));
    EXPECT_TRUE(std::all_of(record.begin(), record.end(), [](std::uint8_t b) { return b == 0x5A; }));
}

// The driver's own default paper follows the same country test.
TEST_F(DeviceCapabilitiesTest, IsUsaAgreesWithTheDefaultPaper)
{
    const int usa = isUsa_();
    EXPECT_TRUE(usa == 0 || usa == 1);
    const std::string printer = "QV Caps Locale";
    ASSERT_TRUE(qvtest::AddTestPrinter(printer, kDesktop) || GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
    ASSERT_FALSE(CurrentDevmode(printer).empty());
    HANDLE h = nullptr;
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>(printer.c_str()), &h, nullptr));
    Bytes defaults(devmode::kSize, 0);
    DWORD type = 0, got = 0;
    const DWORD result = GetPrinterDataW(h, const_cast<LPWSTR>(L"CurrentDefaultDevMode"), &type, defaults.data(),
                                         DWORD(defaults.size()), &got);
    ClosePrinter(h);
    ASSERT_EQ(result, DWORD(ERROR_SUCCESS));
    EXPECT_EQ(devmode::Get(defaults, devmode::dmPaperSize), usa ? 1 : 9);
}

}  // namespace
