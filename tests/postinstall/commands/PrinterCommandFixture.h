// Shared by the printer-command tests: an engine with a script, test drivers registered with
// dependent files, and printer records read from Wine's spooler. Names carry a per-process
// counter because the Wine prefix lives for the whole test run.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../engine/EngineTestUtil.h"
#include "TestSupport.h"
#include "engine/OstrafelEngine.h"

namespace printertest {

inline std::string Unique(const std::string& base)
{
    static int counter = 0;
    return base + " " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

inline std::string DriverDirectory(const char* environment)
{
    char dir[MAX_PATH] = "";
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(environment), 1, reinterpret_cast<BYTE*>(dir), sizeof dir,
                               &needed);
    return dir;
}

// The "Windows NT x86" driver record as the spooler reports it at level 6, in its own buffer.
struct DriverSnapshot {
    std::vector<BYTE> buffer;
    DRIVER_INFO_6A* info = nullptr;
    std::vector<std::string> DependentFileNames() const
    {
        std::vector<std::string> names;
        for (const char* p = info ? info->pDependentFiles : nullptr; p && *p; p += strlen(p) + 1) {
            std::string path = p;
            names.push_back(path.substr(path.find_last_of('\\') + 1));
        }
        return names;
    }
};

inline DriverSnapshot ReadDriver(const std::string& name, const char* environment = "Windows NT x86",
                                 DWORD level = 6)
{
    DriverSnapshot snapshot;
    DWORD needed = 0, count = 0;
    EnumPrinterDriversA(nullptr, const_cast<char*>(environment), level, nullptr, 0, &needed, &count);
    snapshot.buffer.assign(needed + 1, 0);
    if (!EnumPrinterDriversA(nullptr, const_cast<char*>(environment), level, snapshot.buffer.data(), needed, &needed,
                             &count))
        return snapshot;
    const size_t stride = level == 6 ? sizeof(DRIVER_INFO_6A) : sizeof(DRIVER_INFO_3A);
    for (DWORD i = 0; i < count; ++i) {
        auto* info = reinterpret_cast<DRIVER_INFO_6A*>(snapshot.buffer.data() + i * stride);
        if (name == info->pName)
            snapshot.info = info;
    }
    return snapshot;
}

// The test driver, with its "Windows NT x86" entry re-added with these dependent files (staged
// into that environment's driver directory first, so the spooler takes them).
inline bool InstallDriverWithDependents(const std::string& name, const std::vector<std::string>& dependents)
{
    if (!qvtest::InstallTestDriver(name))
        return false;
    const std::string dir = DriverDirectory("Windows NT x86");
    std::string list;
    for (const std::string& file : dependents) {
        if (!qvtest::WriteFile(dir + "\\" + file, "dependent " + file))
            return false;
        list += file + '\0';
    }
    list += '\0';
    DriverSnapshot current = ReadDriver(name);
    if (!current.info)
        return false;
    current.info->pDependentFiles = list.data();
    return AddPrinterDriverExA(nullptr, 6, reinterpret_cast<BYTE*>(current.info), APD_COPY_NEW_FILES);
}

// A printer's level-2 record in its own buffer.
struct PrinterSnapshot {
    std::vector<BYTE> buffer;
    PRINTER_INFO_2A* info = nullptr;
};

inline PrinterSnapshot ReadPrinter(const std::string& name)
{
    PrinterSnapshot snapshot;
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, &defaults))
        return snapshot;
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    snapshot.buffer.assign(needed + 1, 0);
    if (GetPrinterA(printer, 2, snapshot.buffer.data(), needed, &needed))
        snapshot.info = reinterpret_cast<PRINTER_INFO_2A*>(snapshot.buffer.data());
    ClosePrinter(printer);
    return snapshot;
}

using qvtest::Lines;

inline bool HasLine(const std::string& log, const std::string& line)
{
    for (const std::string& l : Lines(log))
        if (l == line)
            return true;
    return false;
}

// An engine that has read a script whose models section maps each driver to Drv_Install.
class EngineFixture : public ::testing::Test {
protected:
    void LoadScript(const std::vector<std::string>& drivers, const std::string& install,
                    const std::string& sections = "")
    {
        std::string text = "[Manufacturer]\nQelbrin=Models\n[Models]\n";
        for (const std::string& d : drivers)
            text += "\"" + d + "\"=Drv_Install\n";
        text += "[Drv_Install]\n" + install + sections;
        auto inf = std::make_unique<InfFile>();
        inf->LoadFromText(text);
        engine_.SetScript(std::move(inf), "Drv_Install", false);
        ASSERT_TRUE(engine_.getManufacturers());
    }

    enginetest::LogCapture log_;
    OstrafelEngine engine_;
};

}  // namespace printertest
