// qvprnsetup: installs the test printer driver and printers, and lists what the spooler holds.
#include "PrinterEvents.h"
#include "TestSupport.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: qvprnsetup driver \"<driver name>\" [help file]\n"
    "       qvprnsetup printer \"<printer name>\" \"<driver name>\" [port]\n"
    "       qvprnsetup list\n"
    "       qvprnsetup event init|connect|refresh|delete|disconnect \"<printer name>\"\n";

int Fail(const std::string& what)
{
    const DWORD error = GetLastError();
    std::fprintf(stderr, "qvprnsetup: %s (error %lu)\n", what.c_str(), error);
    return 1;
}

int InstallDriver(const std::string& name, const std::string& helpFile)
{
    if (!qvtest::InstallTestDriver(name, helpFile))
        return Fail("cannot install the driver \"" + name + "\" from " + qvtest::BinDir());
    return 0;
}

int AddPrinter(const std::string& name, const std::string& driver, const std::string& port)
{
    if (!qvtest::AddTestPrinter(name, driver, port))
        return Fail("cannot add the printer \"" + name + "\" on driver \"" + driver + "\", port " + port);
    return 0;
}

// One line a record, tab-separated, LF-ended for the shell scripts that read it: "printer" name
// driver port, then "driver" name version config-file help-file for "Windows NT x86".
int List()
{
    _setmode(_fileno(stdout), _O_BINARY);
    const auto printers = qvtest::ListPrinters();
    if (!printers)
        return Fail("cannot enumerate the printers");
    const auto drivers = qvtest::ListDrivers("Windows NT x86");
    if (!drivers)
        return Fail("cannot enumerate the drivers");
    for (const auto& p : *printers)
        std::printf("printer\t%s\t%s\t%s\n", p.name.c_str(), p.driver.c_str(), p.port.c_str());
    for (const auto& d : *drivers)
        std::printf("driver\t%s\t%u\t%s\t%s\n", d.name.c_str(), static_cast<unsigned>(d.version),
                    d.configFile.c_str(), d.helpFile.c_str());
    return 0;
}

// The spooler's part in a printer event, in this process: exit 0 when the driver answered TRUE,
// 1 for FALSE, 3 when its configuration file or export could not be had.
int PlayEvent(const std::string& which, const std::string& printer)
{
    const struct {
        const char* name;
        qvtest::SpoolerEvent event;
    } events[] = {
        {"init", qvtest::SpoolerEvent::Initialize},       {"connect", qvtest::SpoolerEvent::AddConnection},
        {"refresh", qvtest::SpoolerEvent::CacheRefresh},  {"delete", qvtest::SpoolerEvent::Delete},
        {"disconnect", qvtest::SpoolerEvent::DeleteConnection},
    };
    for (const auto& e : events) {
        if (which != e.name)
            continue;
        const std::optional<BOOL> answer = qvtest::PlayPrinterEvent(printer, e.event);
        if (!answer) {
            Fail("cannot call the configuration file of \"" + printer + "\"");
            return 3;
        }
        return *answer ? 0 : 1;
    }
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "driver" && (argc == 3 || argc == 4))
        return InstallDriver(argv[2], argc == 4 ? argv[3] : qvtest::kDefaultHelpFile);
    if (command == "printer" && (argc == 4 || argc == 5))
        return AddPrinter(argv[2], argv[3], argc == 5 ? argv[4] : "LPT1:");
    if (command == "list" && argc == 2)
        return List();
    if (command == "event" && argc == 4)
        return PlayEvent(argv[2], argv[3]);
    std::fputs(kUsage, stderr);
    return 2;
}
