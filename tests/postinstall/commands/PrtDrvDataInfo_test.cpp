#include <gtest/gtest.h>

#include "PrinterCommandFixture.h"
#include "commands/PrtDrvDataInfo.h"

namespace {

using printertest::HasLine;

struct PrinterValue {
    DWORD error = 0;
    DWORD type = 0;
    std::string bytes;
};

PrinterValue ReadValue(const std::string& printer, const std::string& name)
{
    PrinterValue value;
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    HANDLE h = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &h, &defaults)) {
        value.error = GetLastError();
        return value;
    }
    BYTE buffer[512];
    DWORD needed = 0;
    value.error = GetPrinterDataA(h, const_cast<char*>(name.c_str()), &value.type, buffer, sizeof buffer, &needed);
    if (value.error == ERROR_SUCCESS)
        value.bytes.assign(reinterpret_cast<char*>(buffer), needed);
    ClosePrinter(h);
    return value;
}

std::string Dword(std::uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

class PrtDrvDataInfoTest : public printertest::EngineFixture {
protected:
    void SetUp() override
    {
        driver_ = printertest::Unique("Qel Data Driver");
        printerName_ = printertest::Unique("Qel Data Printer");
        ASSERT_TRUE(qvtest::InstallTestDriver(driver_));
        ASSERT_TRUE(qvtest::AddTestPrinter(printerName_, driver_));
        LoadScript({driver_}, "");
        printer_ = printertest::ReadPrinter(printerName_);
        ASSERT_TRUE(printer_.info);
    }
    std::string driver_, printerName_;
    printertest::PrinterSnapshot printer_;
};

TEST_F(PrtDrvDataInfoTest, WritesEachTypeFromItsWordAndNumberText)
{
    struct Case {
        CStdStringList arguments;
        DWORD type;
        std::string bytes;
    };
    const Case cases[] = {
        {{"NUMBER", "Hex", "0x10"}, REG_DWORD, Dword(16)},
        {{"number", "Dec", "10"}, REG_DWORD, Dword(10)},
        {{"BINARY", "Bin", "0x01020304"}, REG_BINARY, Dword(0x01020304)},
        {{"STRING", "Str", "hello, world"}, REG_SZ, std::string("hello, world") + '\0'},
        {{"Whatever", "Other", "text"}, REG_SZ, std::string("text") + '\0'},
        {{"STRING", "Flagged", "x", "0"}, REG_SZ, std::string("x") + '\0'},
    };
    PrtDrvDataInfo handler(&engine_, printer_.info);
    for (const Case& c : cases) {
        EXPECT_TRUE(handler.HandleCommand(c.arguments)) << c.arguments[1] << "\n" << log_.Text();
        PrinterValue written = ReadValue(printerName_, c.arguments[1]);
        EXPECT_EQ(0u, written.error) << c.arguments[1];
        EXPECT_EQ(c.type, written.type) << c.arguments[1];
        EXPECT_EQ(c.bytes, written.bytes) << c.arguments[1];
    }
}

// Flag 2 keeps a value that exists with the same type; another type is overwritten.
TEST_F(PrtDrvDataInfoTest, NoClobberKeepsOnlyAValueOfTheSameType)
{
    PrtDrvDataInfo handler(&engine_, printer_.info);
    ASSERT_TRUE(handler.HandleCommand({"STRING", "Kept", "first"}));
    EXPECT_TRUE(handler.HandleCommand({"STRING", "Kept", "second", "2"}));
    EXPECT_EQ(std::string("first") + '\0', ReadValue(printerName_, "Kept").bytes);

    EXPECT_TRUE(handler.HandleCommand({"NUMBER", "Kept", "7", "2"}));
    PrinterValue replaced = ReadValue(printerName_, "Kept");
    EXPECT_EQ(REG_DWORD, replaced.type);
    EXPECT_EQ(Dword(7), replaced.bytes);

    EXPECT_TRUE(handler.HandleCommand({"NUMBER", "Fresh", "9", "2"}));
    EXPECT_EQ(Dword(9), ReadValue(printerName_, "Fresh").bytes);
}

TEST_F(PrtDrvDataInfoTest, FailuresAreLoggedWithThePrinterValueAndData)
{
    PrtDrvDataInfo handler(&engine_, printer_.info);
    EXPECT_FALSE(handler.HandleCommand({"STRING", "Name"}));
    EXPECT_TRUE(HasLine(log_.Text(), "PrtDrvDataInfo::HandleCommand: not enough arguments!"));

    PRINTER_INFO_2A unnamed{};
    PrtDrvDataInfo noName(&engine_, &unnamed);
    EXPECT_FALSE(noName.HandleCommand({"STRING", "Name", "Data"}));
    EXPECT_TRUE(HasLine(log_.Text(), "PrtDrvDataInfo::HandleCommand: No printer name!"));

    const std::string missing = printertest::Unique("Qel No Such Printer");
    PRINTER_INFO_2A gone{};
    gone.pPrinterName = const_cast<char*>(missing.c_str());
    PrtDrvDataInfo absent(&engine_, &gone);
    EXPECT_FALSE(absent.HandleCommand({"STRING", "Name", "Data"}));
    const std::vector<std::string> lines = printertest::Lines(log_.Text());
    auto open = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("PrtDrvDataInfo::HandleCommand: OpenPrinter failed with code ", 0) == 0;
    });
    ASSERT_NE(lines.end(), open);
    ASSERT_GE(lines.end() - open, 4);
    EXPECT_EQ("\tPrinter: " + missing, open[1]);
    EXPECT_EQ("\tValue name: Name", open[2]);
    EXPECT_EQ("\tData: Data", open[3]);
}

}  // namespace
