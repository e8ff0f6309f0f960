// The printer-system commands in one run of the utility: a driver's dependent files, printer
// data, registry lines, the port monitor and the print processor, read back from the spooler
// and the registry afterwards.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

const char* const kSwitchKey = "SOFTWARE\\Qelbrin";

std::string DriverDirectory(const char* environment)
{
    char dir[MAX_PATH] = "";
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(environment), 1, reinterpret_cast<BYTE*>(dir), sizeof dir,
                               &needed);
    return dir;
}

struct DriverState {
    bool found = false;
    std::vector<std::string> dependentNames;
    std::string monitor;
};

DriverState ReadDriver(const std::string& name)
{
    DriverState state;
    DWORD needed = 0, count = 0;
    char environment[] = "Windows NT x86";
    EnumPrinterDriversA(nullptr, environment, 6, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrinterDriversA(nullptr, environment, 6, buffer.data(), needed, &needed, &count))
        return state;
    const auto* info = reinterpret_cast<const DRIVER_INFO_6A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (name != info[i].pName)
            continue;
        state.found = true;
        state.monitor = info[i].pMonitorName ? info[i].pMonitorName : "";
        for (const char* p = info[i].pDependentFiles; p && *p; p += strlen(p) + 1) {
            std::string path = p;
            state.dependentNames.push_back(path.substr(path.find_last_of('\\') + 1));
        }
    }
    return state;
}

// Re-adds the test driver's "Windows NT x86" entry with one dependent file.
bool AddDependentFile(const std::string& driver, const std::string& file)
{
    const std::string dir = DriverDirectory("Windows NT x86");
    if (!qvtest::WriteFile(dir + "\\" + file, "dependent"))
        return false;
    DWORD needed = 0, count = 0;
    char environment[] = "Windows NT x86";
    EnumPrinterDriversA(nullptr, environment, 6, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrinterDriversA(nullptr, environment, 6, buffer.data(), needed, &needed, &count))
        return false;
    auto* info = reinterpret_cast<DRIVER_INFO_6A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (driver != info[i].pName)
            continue;
        std::string list = file + '\0' + '\0';
        info[i].pDependentFiles = list.data();
        return AddPrinterDriverExA(nullptr, 6, reinterpret_cast<BYTE*>(&info[i]), APD_COPY_NEW_FILES);
    }
    return false;
}

class Printer {
public:
    explicit Printer(const std::string& name)
    {
        PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
        OpenPrinterA(const_cast<char*>(name.c_str()), &handle_, &defaults);
    }
    ~Printer()
    {
        if (handle_)
            ClosePrinter(handle_);
    }
    bool SetString(const std::string& name, const std::string& text)
    {
        return handle_ && SetPrinterDataA(handle_, const_cast<char*>(name.c_str()), REG_SZ,
                                          reinterpret_cast<BYTE*>(const_cast<char*>(text.c_str())),
                                          DWORD(text.size() + 1)) == ERROR_SUCCESS;
    }
    // Type and bytes of a value; type 0 when it cannot be read.
    std::pair<DWORD, std::string> Get(const std::string& name)
    {
        BYTE buffer[512];
        DWORD type = 0, needed = 0;
        if (!handle_ ||
            GetPrinterDataA(handle_, const_cast<char*>(name.c_str()), &type, buffer, sizeof buffer, &needed))
            return {0, ""};
        return {type, std::string(reinterpret_cast<char*>(buffer), needed)};
    }
    // Attributes, print processor and data type.
    std::tuple<DWORD, std::string, std::string> Settings()
    {
        DWORD needed = 0;
        GetPrinterA(handle_, 2, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed + 1);
        if (!handle_ || !GetPrinterA(handle_, 2, buffer.data(), needed, &needed))
            return {};
        const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        return {info->Attributes, info->pPrintProcessor ? info->pPrintProcessor : "",
                info->pDatatype ? info->pDatatype : ""};
    }

private:
    HANDLE handle_ = nullptr;
};

std::string Dword(std::uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

bool Contains(const std::string& log, const std::string& line)
{
    std::istringstream in(log);
    for (std::string l; std::getline(in, l);)
        if (l == line)
            return true;
    return false;
}

TEST(PrinterCommandsRun, UpdatesDriverPrinterDataRegistryMonitorAndProcessor)
{
    const std::string tag = std::to_string(GetCurrentProcessId());
    const std::string driver = "Qelbrin E2E Printer Commands " + tag;
    const std::string printer = "Qelbrin E2E Commands Office " + tag;
    const std::string processor = "QelE2EProc" + tag;
    const std::string key = "SOFTWARE\\QelE2E\\Commands" + tag;
    const std::string depA = "qe2e" + tag + "a.dat", depB = "qe2e" + tag + "b.dat";
    ASSERT_TRUE(qvtest::InstallTestDriver(driver));
    ASSERT_TRUE(AddDependentFile(driver, depA));
    ASSERT_TRUE(qvtest::AddTestPrinter(printer, driver));
    // The script's files, where the installer puts them: this program's versioned driver directory.
    const std::string versioned = DriverDirectory(nullptr) + "\\3";
    CreateDirectoryA(versioned.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFile(versioned + "\\" + depA, "a"));
    ASSERT_TRUE(qvtest::WriteFile(versioned + "\\" + depB, "b"));
    ASSERT_TRUE(qvtest::SetHklmString(key, "Kept", "old"));
    ASSERT_TRUE(qvtest::SetHklmString(key, "Old", "x"));
    ASSERT_TRUE(Printer(printer).SetString("Kept", "old"));

    qvtest::TempDir dir;
    const std::string script =
        "[Manufacturer]\nQelbrin=Models\n[Models]\n\"" + driver + "\"=Drv_Install\n"
        "[Drv_Install]\nCopyFiles=@" + depA + ",DrvFiles\nAddReg=Regs\nDelReg=Dels\nQelPrtDrvData=Data\n"
        "QelAssociateMonitor=Monitors\nDataSection=DrvData\n"
        "[DrvFiles]\n" + depB + "=" + depB + "_\n"
        "[Regs]\nHKLM," + key + ",Count,0x00010001,5\nHKLM," + key + ",Name,0,text\nHKLM," + key + ",Kept,2,new\n"
        "[Dels]\nHKLM," + key + ",Old\n"
        "[Data]\nd,3,STRING,Greeting,hello\nd,3,NUMBER,Count,0x10\nd,3,BINARY,Blob,0x01020304\n"
        "d,3,STRING,Kept,new,2\n"
        "[Monitors]\nm,3,Local Port,1\n"
        "[DrvData]\nQelPrintProcessor=" + processor + ",qele2e.dll\nQelDefaultDataType=NT EMF 1.008\n";
    ASSERT_TRUE(qvtest::WriteFile(dir.File("setup.inf"), script));
    const std::string logFile = dir.File("pi.log");
    ASSERT_TRUE(qvtest::SetHklmString(kSwitchKey, "OstrafelDebug", logFile));
    const int exitCode = qvtest::RunProcess("\"" + qvtest::BinDir() + "\\QVTDX5PI.EXE\" -i \"" +
                                            dir.File("setup.inf") + "\" -n \"" + printer + "\"");
    qvtest::DeleteHklmValue(kSwitchKey, "OstrafelDebug");
    ASSERT_EQ(0, exitCode);
    const std::string log = qvtest::ReadFile(logFile).value_or("");

    for (const std::string& line : std::vector<std::string>{
             "UpdateDepFilesInfo::Process: driver " + driver + " needs an update",
             "DriverComponent::UpdatePrinterDriver: AddPrinterDriverEx succeded for Driver name: " + driver,
             "MonitorInfo::HandleCommand: Printer " + printer + " needs an update!",
             "\t\tData section:    DrvData",
             "ProcessorInfo::addProcessor: added processor successfully!",
             "PrinterInfo::writeProcessorInfo: adding processor " + processor + " to printer " + printer,
         })
        EXPECT_TRUE(Contains(log, line)) << line << "\n" << log;
    EXPECT_EQ(log.find("Error parsing command"), std::string::npos) << log;

    // The driver: the script's dependent files and the monitor.
    const DriverState state = ReadDriver(driver);
    EXPECT_EQ((std::vector<std::string>{depA, depB}), state.dependentNames);
    EXPECT_EQ("Local Port", state.monitor);

    // Printer data of each type; the no-clobber value kept.
    Printer after(printer);
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), std::string("hello") + '\0'), after.Get("Greeting"));
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), Dword(16)), after.Get("Count"));
    EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), Dword(0x01020304)), after.Get("Blob"));
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), std::string("old") + '\0'), after.Get("Kept"));

    // Bidi from the monitor line, then the processor and data type.
    const auto [attributes, printProcessor, datatype] = after.Settings();
    EXPECT_EQ(0x800u, attributes & 0x800);
    EXPECT_EQ(processor, printProcessor);
    EXPECT_EQ("NT EMF 1.008", datatype);

    // Registry lines: a number from hexadecimal flags, text, a kept value, a deleted one.
    EXPECT_EQ(5u, qvtest::GetHklmDword(key, "Count").value_or(0));
    EXPECT_EQ("text", qvtest::GetHklmString(key, "Name").value_or(""));
    EXPECT_EQ("old", qvtest::GetHklmString(key, "Kept").value_or(""));
    EXPECT_FALSE(qvtest::GetHklmString(key, "Old"));
    qvtest::DeleteHklmTree(key);
}

}  // namespace
