// What the platform's print dialog asks the driver about a printer (DeviceCapabilitiesW), as a
// short table.
#include <algorithm>
#include <cstdio>

#include "Demo.h"

namespace demo {

std::wstring PortOf(HANDLE printer)
{
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterW(printer, 2, info.data(), needed, &needed))
        return L"";
    const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    return p->pPortName ? p->pPortName : L"";
}

namespace {

template <class T>
std::vector<T> Ask(const std::wstring& printer, const std::wstring& port, WORD what, std::size_t perItem = 1)
{
    const int count = DeviceCapabilitiesW(printer.c_str(), port.c_str(), what, nullptr, nullptr);
    if (count <= 0)
        return {};
    std::vector<T> items(std::size_t(count) * perItem);
    if (DeviceCapabilitiesW(printer.c_str(), port.c_str(), what, reinterpret_cast<LPWSTR>(items.data()), nullptr) <= 0)
        return {};
    return items;
}

// A fixed-width name from a capability's list, cut at its terminator.
std::wstring Name(const std::vector<wchar_t>& names, std::size_t index, std::size_t width)
{
    std::wstring name(names.data() + index * width, width);
    name.resize(std::min(name.find(L'\0'), width));
    return name;
}

std::string Padded(const std::string& text, std::size_t width)
{
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

}  // namespace

std::wstring PaperName(const std::wstring& printer, short code)
{
    const auto codes = Ask<WORD>(printer, L"", DC_PAPERS);
    const auto names = Ask<wchar_t>(printer, L"", DC_PAPERNAMES, 64);
    for (std::size_t i = 0; i < codes.size() && (i + 1) * 64 <= names.size(); ++i)
        if (codes[i] == WORD(code))
            return Name(names, i, 64);
    return L"?";
}

bool ShowCapabilities(Client& client)
{
    const std::wstring& printer = client.printer;
    const std::wstring& port = client.port;
    Say("== " + Utf8(printer) + ": what the print dialog asks (DeviceCapabilitiesW)");
    const auto papers = Ask<WORD>(printer, port, DC_PAPERS);
    const auto paperNames = Ask<wchar_t>(printer, port, DC_PAPERNAMES, 64);
    const auto sizes = Ask<POINT>(printer, port, DC_PAPERSIZE);
    const auto bins = Ask<WORD>(printer, port, DC_BINS);
    const auto binNames = Ask<wchar_t>(printer, port, DC_BINNAMES, 24);
    const auto resolutions = Ask<LONG>(printer, port, DC_ENUMRESOLUTIONS, 2);
    const int duplex = DeviceCapabilitiesW(printer.c_str(), port.c_str(), DC_DUPLEX, nullptr, nullptr);
    const int copies = DeviceCapabilitiesW(printer.c_str(), port.c_str(), DC_COPIES, nullptr, nullptr);
    if (papers.empty() || paperNames.size() < papers.size() * 64 || sizes.size() != papers.size())
        return Failed("DeviceCapabilitiesW", "the papers, their names or their sizes are missing");
    if (bins.empty() || binNames.size() < bins.size() * 24)
        return Failed("DeviceCapabilitiesW", "the bins or their names are missing");

    Say("  papers (" + std::to_string(papers.size()) + "):   code  name                          size (mm)");
    for (std::size_t i = 0; i < papers.size(); ++i) {
        char size[48];
        std::snprintf(size, sizeof size, "%6.1f x %6.1f", sizes[i].x / 10.0, sizes[i].y / 10.0);
        char code[16];
        std::snprintf(code, sizeof code, "%5u", unsigned(papers[i]));
        Say("                " + std::string(code) + "  " + Padded(Utf8(Name(paperNames, i, 64)), 28) + "  " + size);
    }
    std::string binLine;
    for (std::size_t i = 0; i < bins.size(); ++i)
        binLine += (i ? ", " : "") + std::to_string(bins[i]) + " " + Utf8(Name(binNames, i, 24));
    Say("  bins (" + std::to_string(bins.size()) + "): " + binLine);
    std::string resolutionLine;
    for (std::size_t i = 0; i + 1 < resolutions.size(); i += 2)
        resolutionLine += (i ? ", " : "") + std::to_string(resolutions[i]) + "x" + std::to_string(resolutions[i + 1]);
    Say("  resolutions (dpi): " + (resolutionLine.empty() ? std::string("none listed") : resolutionLine));
    Say("  duplex: " + std::string(duplex == 1 ? "yes" : duplex == 0 ? "no" : "not answered") +
        "    copies: up to " + std::to_string(copies));
    return true;
}

}  // namespace demo
