#include <gtest/gtest.h>

#include "PrinterCommandFixture.h"
#include "commands/ProcessorInfo.h"

namespace {

using printertest::HasLine;

bool ProcessorRegistered(const std::string& name)
{
    DWORD needed = 0, count = 0;
    char environment[] = "Windows NT x86";
    EnumPrintProcessorsA(nullptr, environment, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrintProcessorsA(nullptr, environment, 1, buffer.data(), needed, &needed, &count))
        return false;
    const auto* info = reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (name == info[i].pName)
            return true;
    return false;
}

class ProcessorInfoTest : public printertest::EngineFixture {
protected:
    void SetUp() override
    {
        driver_ = printertest::Unique("Qel Processor Driver");
        printerName_ = printertest::Unique("Qel Processor Printer");
        processor_ = "QelProc" + std::to_string(GetCurrentProcessId()) + std::to_string(GetTickCount() % 10000);
        ASSERT_TRUE(qvtest::InstallTestDriver(driver_));
        ASSERT_TRUE(qvtest::AddTestPrinter(printerName_, driver_));
        printer_ = printertest::ReadPrinter(printerName_);
        ASSERT_TRUE(printer_.info);
    }
    std::string driver_, printerName_, processor_;
    printertest::PrinterSnapshot printer_;
};

TEST_F(ProcessorInfoTest, RegistersTheFirstPairsProcessorAndSetsItOnThePrinter)
{
    LoadScript({driver_}, "DataSection=Data\n",
               "[Data]\nPrintProcessor=winprint,other.dll\nDefaultDataType=RAW\nQelPrintProcessor=\"" + processor_ +
                   ", qelproc.dll\"\nQelDefaultDataType=NT EMF 1.008,RAW\n");
    ProcessorInfo handler(&engine_, printer_.info);
    EXPECT_TRUE(handler.Process()) << log_.Text();
    const std::vector<std::string> expected = {
        "ProcessorInfo Status",
        "\t\tPrinter name:    " + printerName_,
        "\t\tDriver name:     " + driver_,
        "\t\tInstall section: Drv_Install",
        "\t\tData section:    Data",
        "ProcessorInfo::addProcessor: About to add processor.",
        "\t\tProcessor: " + processor_,
        "\t\tDLL: qelproc.dll",
        "\t\tData Type: NT EMF 1.008",
        "ProcessorInfo::addProcessor: added processor successfully!",
        "PrinterInfo::writeProcessorInfo: adding processor " + processor_ + " to printer " + printerName_,
    };
    EXPECT_EQ(expected, printertest::Lines(log_.Text()));
    EXPECT_TRUE(ProcessorRegistered(processor_));
    printertest::PrinterSnapshot now = printertest::ReadPrinter(printerName_);
    EXPECT_EQ(processor_, now.info->pPrintProcessor);
    EXPECT_STREQ("NT EMF 1.008", now.info->pDatatype);
    EXPECT_EQ(processor_, printer_.info->pPrintProcessor);
}

// The second pair counts only when the first names no processor; a printer that already has the
// processor and data type is left alone though the processor is still registered.
TEST_F(ProcessorInfoTest, SecondPairAndAPrinterAlreadySet)
{
    LoadScript({driver_}, "DataSection=Data\n", "[Data]\nPrintProcessor=winprint,winprint.dll\nDefaultDataType=RAW,x\n");
    ProcessorInfo handler(&engine_, printer_.info);
    EXPECT_TRUE(handler.Process());
    EXPECT_EQ("winprint", handler.ProcessorName());
    EXPECT_EQ("winprint.dll", handler.ProcessorFile());
    EXPECT_EQ("RAW", handler.DataType());
    EXPECT_TRUE(HasLine(log_.Text(), "ProcessorInfo::addProcessor: About to add processor."));
    EXPECT_EQ(log_.Text().find("writeProcessorInfo"), std::string::npos) << log_.Text();
}

TEST_F(ProcessorInfoTest, WithoutDataSectionOrInstallSectionNothingHappens)
{
    LoadScript({driver_}, "");
    ProcessorInfo noData(&engine_, printer_.info);
    EXPECT_FALSE(noData.Process());
    EXPECT_TRUE(HasLine(log_.Text(), "\t\tNo data section!"));

    LoadScript({"Qel Some Other Driver"}, "DataSection=Data\n", "[Data]\nPrintProcessor=x,y.dll\n");
    const std::string before = log_.Text();
    ProcessorInfo noSection(&engine_, printer_.info);
    EXPECT_FALSE(noSection.Process());
    EXPECT_EQ(before, log_.Text());

    // The printer cannot be opened: reported with its detail lines.
    LoadScript({driver_}, "DataSection=Data\n", "[Data]\nPrintProcessor=" + processor_ + ",q.dll\n");
    const std::string gone = printertest::Unique("Qel Gone Printer");
    printer_.info->pPrinterName = const_cast<char*>(gone.c_str());
    ProcessorInfo closed(&engine_, printer_.info);
    EXPECT_TRUE(closed.Process());
    EXPECT_FALSE(closed.writeProcessorInfo());
    const std::vector<std::string> lines = printertest::Lines(log_.Text());
    auto at = std::find(lines.begin(), lines.end(), "ProcessorInfo::WriteProcessorInfo: OpenPrinter failed.");
    ASSERT_NE(lines.end(), at) << log_.Text();
    ASSERT_GE(lines.end() - at, 4);
    EXPECT_EQ(0u, at[1].rfind("\tCode: ", 0));
    EXPECT_EQ("\tPrint object: " + gone, at[2]);
    EXPECT_EQ("\tProcessor: " + processor_, at[3]);
}

}  // namespace
