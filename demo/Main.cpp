#include <cstdio>
#include <cstring>

#include "Demo.h"

namespace {

constexpr const char* kUsage =
    "usage: qvdemo install <post-install script> <update file> <port>\n"
    "       qvdemo event init \"<printer>\"\n"
    "       qvdemo client \"<printer>\" <pictures directory> <picture tag> [--interactive]\n";

int RunClient(demo::Client& client)
{
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(client.printer.data(), &client.handle, &defaults))
        return demo::Failed("opening the printer", "OpenPrinterW: error " + std::to_string(GetLastError())), 1;
    client.port = demo::PortOf(client.handle);
    CreateDirectoryA(client.shots.c_str(), nullptr);
    const bool ok = demo::ShowCapabilities(client) && demo::DocumentSheet(client) && demo::DeviceSheet(client) &&
                    demo::PrintDialogs(client) &&
                    demo::PrintJob(client, client.shots + "\\" + client.tag + "-job.prn");
    ClosePrinter(client.handle);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "install" && argc == 5)
        return demo::Install(argv[2], argv[3], argv[4]);
    if (command == "event" && argc == 4 && std::strcmp(argv[2], "init") == 0)
        return demo::PlayInitialise(demo::Wide(argv[3]));
    if (command == "client" && (argc == 5 || (argc == 6 && std::strcmp(argv[5], "--interactive") == 0))) {
        demo::Client client;
        client.printer = demo::Wide(argv[2]);
        client.shots = argv[3];
        client.tag = argv[4];
        client.interactive = argc == 6;
        return RunClient(client);
    }
    std::fputs(kUsage, stderr);
    return 2;
}
