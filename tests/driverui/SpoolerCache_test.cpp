// The serialised wrappers' answers kept inside a call scope (SpoolerCache.h), against Wine's
// spooler: every question answered as the spooler answers it, the records' pointers into the
// caller's buffer, a write read back at once, a change made past the wrappers seen when the next
// call starts, a reused handle taken for its new printer.
#include "PrinterFixture.h"
#include "SpoolLock.h"
#include "SpoolerCache.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

namespace {

constexpr char kDriver[] = "QV Spooler Cache Driver";
constexpr char kPrinter[] = "QV Spooler Cache Printer";
constexpr char kOther[] = "QV Spooler Cache Other";

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

struct DataAnswer {
    DWORD result = 0;
    DWORD type = 0;
    DWORD needed = 0;
    std::vector<BYTE> bytes;
    bool operator==(const DataAnswer&) const = default;
};

std::ostream& operator<<(std::ostream& out, const DataAnswer& a)
{
    return out << "result " << a.result << " type " << a.type << " needed " << a.needed << " bytes " << a.bytes.size();
}

// One GetPrinterData question: a buffer of `size` bytes (none for -1).
template <class Call>
DataAnswer Ask(Call call, HANDLE printer, const wchar_t* value, int size)
{
    DataAnswer a;
    std::vector<BYTE> buffer(size > 0 ? std::size_t(size) : 1, 0xEE);
    a.type = 0xDEAD;
    a.needed = 0xDEAD;
    a.result = call(printer, const_cast<LPWSTR>(value), &a.type, size < 0 ? nullptr : buffer.data(),
                    DWORD(size < 0 ? 0 : size), &a.needed);
    if (size > 0)
        a.bytes.assign(buffer.begin(), buffer.begin() + size);
    return a;
}

std::wstring Text(const wchar_t* s)
{
    return s ? s : L"<null>";
}

class SpoolerCacheTest : public qvtest::TestPrinterTest<kDriver, kPrinter> {
protected:
    void Store(const wchar_t* value, DWORD type, const std::vector<BYTE>& bytes)
    {
        ASSERT_EQ(SetPrinterDataW(printer_, const_cast<LPWSTR>(value), type, const_cast<BYTE*>(bytes.data()),
                                  DWORD(bytes.size())),
                  DWORD(ERROR_SUCCESS));
    }
};

TEST_F(SpoolerCacheTest, EveryQuestionIsAnsweredAsTheSpoolerAnswersIt)
{
    std::vector<BYTE> devmode(1256);
    for (std::size_t i = 0; i < devmode.size(); ++i)
        devmode[i] = BYTE(i * 7);
    Store(L"QvCacheBinary", REG_BINARY, devmode);
    const std::wstring text = L"Accounts floor";
    Store(L"QvCacheText", REG_SZ,
          std::vector<BYTE>(reinterpret_cast<const BYTE*>(text.c_str()),
                            reinterpret_cast<const BYTE*>(text.c_str() + text.size() + 1)));

    const auto direct = [](HANDLE p, LPWSTR v, LPDWORD t, LPBYTE d, DWORD s, LPDWORD n) {
        return GetPrinterDataW(p, v, t, d, s, n);
    };
    for (const wchar_t* value : {L"QvCacheBinary", L"QvCacheText", L"QvCacheMissing", L"qvcachebinary"})
        for (int size : {-1, 0, 4, 30, 1256, 2000}) {
            SCOPED_TRACE(testing::Message() << Text(value).size() << " chars, buffer " << size);
            const DataAnswer want = Ask(direct, printer_, value, size);
            for (int round = 0; round < 2; ++round) {
                const spoolcache::CallScope scope;
                // Asked twice: the second from memory.
                EXPECT_EQ(Ask(QelGetPrinterDataW, printer_, value, size), want);
                EXPECT_EQ(Ask(QelGetPrinterDataW, printer_, value, size), want);
            }
        }
}

// The level-2 and driver records come with their pointers into the caller's own buffer.
TEST_F(SpoolerCacheTest, KeptRecordsPointIntoTheCallersBuffer)
{
    const spoolcache::CallScope scope;
    for (int round = 0; round < 2; ++round) {
        DWORD needed = 0;
        EXPECT_FALSE(QelGetPrinterW(printer_, 2, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
        std::vector<BYTE> info(needed + 64 * round);
        ASSERT_TRUE(QelGetPrinterW(printer_, 2, info.data(), DWORD(info.size()), &needed));
        const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
        const BYTE* end = info.data() + info.size();
        for (const wchar_t* s : {p->pPrinterName, p->pDriverName, p->pPortName}) {
            ASSERT_TRUE(s);
            EXPECT_TRUE(reinterpret_cast<const BYTE*>(s) >= info.data() && reinterpret_cast<const BYTE*>(s) < end);
        }
        EXPECT_EQ(Text(p->pPrinterName), Wide(kPrinter));
        EXPECT_EQ(Text(p->pDriverName), Wide(kDriver));

        needed = 0;
        QelGetPrinterDriverW(printer_, nullptr, 3, nullptr, 0, &needed);
        std::vector<BYTE> driver(needed + 32 * round);
        ASSERT_TRUE(QelGetPrinterDriverW(printer_, nullptr, 3, driver.data(), DWORD(driver.size()), &needed));
        const auto* d = reinterpret_cast<const DRIVER_INFO_3W*>(driver.data());
        ASSERT_TRUE(d->pName && d->pConfigFile);
        EXPECT_EQ(Text(d->pName), Wide(kDriver));
        EXPECT_GE(reinterpret_cast<const BYTE*>(d->pConfigFile), driver.data());
        EXPECT_LT(reinterpret_cast<const BYTE*>(d->pConfigFile), driver.data() + driver.size());
    }
}

TEST_F(SpoolerCacheTest, AWriteThroughTheWrappersIsReadBackAtOnce)
{
    const spoolcache::CallScope scope;
    BYTE value[4] = {1, 2, 3, 4};
    ASSERT_EQ(QelSetPrinterDataW(printer_, const_cast<LPWSTR>(L"QvCacheWritten"), REG_BINARY, value, 4),
              DWORD(ERROR_SUCCESS));
    const DataAnswer first = Ask(QelGetPrinterDataW, printer_, L"QvCacheWritten", 4);
    value[0] = 9;
    ASSERT_EQ(QelSetPrinterDataW(printer_, const_cast<LPWSTR>(L"QvCacheWritten"), REG_BINARY, value, 4),
              DWORD(ERROR_SUCCESS));
    EXPECT_EQ(first.bytes, (std::vector<BYTE>{1, 2, 3, 4}));
    EXPECT_EQ(Ask(QelGetPrinterDataW, printer_, L"QvCacheWritten", 4).bytes, (std::vector<BYTE>{9, 2, 3, 4}));
}

// A change that does not go through the wrappers (another process, another library) is seen by
// the next call: the store's notifications tell.
TEST_F(SpoolerCacheTest, AChangePastTheWrappersIsSeenByTheNextCall)
{
    Store(L"QvCachePast", REG_BINARY, {1});
    std::uint64_t before = 0;
    {
        const spoolcache::CallScope scope;
        before = spoolcache::Generation();
        ASSERT_NE(before, 0u) << "the store cannot be watched";
        EXPECT_EQ(Ask(QelGetPrinterDataW, printer_, L"QvCachePast", 1).bytes, std::vector<BYTE>{1});
    }
    Store(L"QvCachePast", REG_BINARY, {2});
    const spoolcache::CallScope scope;
    EXPECT_NE(spoolcache::Generation(), before);
    EXPECT_EQ(Ask(QelGetPrinterDataW, printer_, L"QvCachePast", 1).bytes, std::vector<BYTE>{2});
}

// Outside a call scope nothing is kept.
TEST_F(SpoolerCacheTest, OutsideACallEveryReadGoesToTheSpooler)
{
    Store(L"QvCacheOutside", REG_BINARY, {1});
    EXPECT_EQ(spoolcache::Generation(), 0u);
    EXPECT_EQ(Ask(QelGetPrinterDataW, printer_, L"QvCacheOutside", 1).bytes, std::vector<BYTE>{1});
    Store(L"QvCacheOutside", REG_BINARY, {2});
    EXPECT_EQ(Ask(QelGetPrinterDataW, printer_, L"QvCacheOutside", 1).bytes, std::vector<BYTE>{2});
}

// A handle closed and its number given to another printer is asked its printer again.
TEST_F(SpoolerCacheTest, AReusedHandleIsTakenForItsNewPrinter)
{
    ASSERT_TRUE(qvtest::AddTestPrinter(kOther, kDriver) || GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
    std::wstring name = Wide(kPrinter), other = Wide(kOther);
    HANDLE h = nullptr;
    ASSERT_TRUE(OpenPrinterW(name.data(), &h, nullptr));
    BYTE mine = 1, theirs = 2;
    Store(L"QvCacheWhose", REG_BINARY, {mine});
    {
        const spoolcache::CallScope scope;
        EXPECT_EQ(Ask(QelGetPrinterDataW, h, L"QvCacheWhose", 1).bytes, std::vector<BYTE>{mine});
    }
    ClosePrinter(h);
    HANDLE o = nullptr;
    PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterW(other.data(), &o, &all));
    ASSERT_EQ(SetPrinterDataW(o, const_cast<LPWSTR>(L"QvCacheWhose"), REG_BINARY, &theirs, 1), DWORD(ERROR_SUCCESS));
    ClosePrinter(o);
    HANDLE reused = nullptr;
    ASSERT_TRUE(OpenPrinterW(other.data(), &reused, nullptr));
    {
        const spoolcache::CallScope scope;
        EXPECT_EQ(Ask(QelGetPrinterDataW, reused, L"QvCacheWhose", 1).bytes, std::vector<BYTE>{theirs})
            << (reused == h ? "the same handle number" : "another handle number");
    }
    ClosePrinter(reused);
    qvtest::DeleteTestPrinter(kOther);
}

// The installed configuration's hand-off lives under the maker's key: a key made there, also
// when the maker's key itself is new, is a change of the store.
TEST_F(SpoolerCacheTest, AKeyMadeUnderTheMakersKeyIsAChange)
{
    qvtest::DeleteHklmTree("SOFTWARE\\Qelbrin\\DrvCfg\\QV Spooler Cache");
    for (const bool makerKeyNew : {false, true}) {
        SCOPED_TRACE(makerKeyNew ? "the maker's key made anew" : "the maker's key there");
        if (makerKeyNew)
            ASSERT_TRUE(qvtest::DeleteHklmTree("SOFTWARE\\Qelbrin"));
        else
            ASSERT_TRUE(qvtest::SetHklmString("SOFTWARE\\Qelbrin", "QvCacheMark", "1"));
        std::uint64_t before = 0;
        {
            const spoolcache::CallScope scope;
            before = spoolcache::Generation();
        }
        {
            const spoolcache::CallScope scope;
            EXPECT_EQ(spoolcache::Generation(), before) << "nothing changed yet";
        }
        ASSERT_TRUE(qvtest::SetHklmString("SOFTWARE\\Qelbrin\\DrvCfg\\QV Spooler Cache", "DCDConfigFile", "x"));
        const spoolcache::CallScope scope;
        EXPECT_NE(spoolcache::Generation(), before);
    }
    qvtest::DeleteHklmTree("SOFTWARE\\Qelbrin\\DrvCfg\\QV Spooler Cache");
    qvtest::DeleteHklmValue("SOFTWARE\\Qelbrin", "QvCacheMark");
}

}  // namespace
