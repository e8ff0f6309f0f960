// Printers of the driver's models in Wine's spooler for the configuration tests: each test adds its
// own printers (Wine cannot delete printer values, so a printer's values belong to one test) and
// deletes them afterwards.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "PrinterFixture.h"
#include "TestSupport.h"

namespace proftest {

using Bytes = std::vector<std::uint8_t>;

inline constexpr char kDesktop[] = "Qelbrin QV-5 PCL";
inline constexpr char kWorkgroup[] = "Qelbrin QV-5n PCL";

inline std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// The printer's current devmode, as the driver's DrvConvertDevMode builds it (CDM_DRIVER_DEFAULT).
inline devmode::Buffer CurrentDevmode(BOOL(WINAPI* convertDevMode)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD),
                                      const std::string& printer)
{
    devmode::Buffer d{};
    LONG size = LONG(d.size());
    std::wstring name = Wide(printer);
    EXPECT_TRUE(convertDevMode(name.data(), nullptr, reinterpret_cast<PDEVMODEW>(d.data()), &size, 4)) << printer;
    return d;
}

// Printers added for one test (qvtest::TestPrinters); a name stays within the 31 characters a
// devmode keeps, and a printer left by an earlier run is replaced.
class TestPrinters : public qvtest::TestPrinters {
public:
    std::string Add(const std::string& driver, const std::string& name)
    {
        EXPECT_LE(name.size(), 31u) << name;
        qvtest::DeleteTestPrinter(name);
        return qvtest::TestPrinters::Add(driver, name);
    }
};

// A printer value as the spooler holds it; nothing when it is missing or empty.
inline std::optional<Bytes> PrinterValue(HANDLE printer, const wchar_t* name)
{
    DWORD type = 0, needed = 0;
    GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
    if (needed == 0)
        return std::nullopt;
    Bytes data(needed);
    if (GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, data.data(), needed, &needed) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(needed);
    return data;
}

// A text printer value (stored wide), narrowed.
inline std::optional<std::string> PrinterText(HANDLE printer, const wchar_t* name)
{
    const std::optional<Bytes> bytes = PrinterValue(printer, name);
    if (!bytes)
        return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / 2);
    text.resize(wcslen(text.c_str()));
    return std::string(text.begin(), text.end());
}

inline void SetPrinterValue(HANDLE printer, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    ASSERT_EQ(SetPrinterDataW(printer, const_cast<LPWSTR>(name), type, static_cast<BYTE*>(const_cast<void*>(data)),
                              size),
              DWORD(ERROR_SUCCESS));
}

inline void SetPrinterText(HANDLE printer, const wchar_t* name, const std::string& text)
{
    const std::wstring wide = Wide(text);
    SetPrinterValue(printer, name, REG_SZ, wide.c_str(), DWORD((wide.size() + 1) * 2));
}

inline std::uint32_t ConfigKind(const devmode::Buffer& d)
{
    return devmode::Get(d, devmode::kConfigKind);
}

inline std::uint32_t ConfigIdWord(const devmode::Buffer& d, int i)
{
    return devmode::Get(d, devmode::U32{std::uint16_t(devmode::kConfigId.offset + 4 * i)});
}

// The identity as "kind: w0 w1 w2 w3", for readable failures.
inline std::string Identity(const devmode::Buffer& d)
{
    std::string s = std::to_string(ConfigKind(d)) + ":";
    for (int i = 0; i < 4; ++i)
        s += " " + std::to_string(ConfigIdWord(d, i));
    return s;
}

}  // namespace proftest
