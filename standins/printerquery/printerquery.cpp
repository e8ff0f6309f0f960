// The printer query of the driver package. It answers from QVTDX5BJ_REPLY, items separated by
// ';': "flags=N", "memory=N", "tray=NAME:SHEETS", "bin=NAME:CODE", "type=NAME:CODE", or "fail"
// (the query fails), "fail510" (only the options request fails); "count=N" claims more trays than the reply holds. The probe (request 1)
// succeeds unless the text is "fail". Each call is one line appended to the file
// QVTDX5BJ_RECORD names: the export, then the printer, port and request.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

#include "PrinterQueryApi.h"

namespace {

using namespace printerquery;

std::string Env(const char* name)
{
    char value[2048];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

void Record(const std::string& line)
{
    const std::string path = Env("QVTDX5BJ_RECORD");
    if (path.empty())
        return;
    if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

void Put(char (&field)[kNameBytes], const std::string& text)
{
    std::snprintf(field, sizeof field, "%s", text.c_str());
}

}  // namespace

extern "C" DWORD WINAPI GetDrvNPAData(const char* printer, const char* port, DWORD request, Reply** reply,
                                      DWORD version)
{
    Record(std::string("GetDrvNPAData\t") + (printer ? printer : "(null)") + "\t" + (port ? port : "(null)") + "\t" +
           std::to_string(request));
    const std::string script = Env("QVTDX5BJ_REPLY");
    if (!reply || version != kReplyVersion || script == "fail" || (script == "fail510" && request == kOptionsRequest))
        return 1;
    auto* r = static_cast<Reply*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Reply)));
    if (!r)
        return 8;
    r->size = sizeof *r;
    for (std::size_t at = 0; at < script.size();) {
        std::size_t end = script.find(';', at);
        if (end == std::string::npos)
            end = script.size();
        const std::string item = script.substr(at, end - at);
        at = end + 1;
        const std::size_t eq = item.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = item.substr(0, eq), value = item.substr(eq + 1);
        const std::size_t colon = value.rfind(':');
        const std::string name = value.substr(0, colon);
        const long number = colon == std::string::npos ? 0 : std::strtol(value.c_str() + colon + 1, nullptr, 10);
        if (key == "flags")
            r->flags = DWORD(std::strtoul(value.c_str(), nullptr, 10));
        else if (key == "memory")
            r->memory = DWORD(std::strtoul(value.c_str(), nullptr, 10));
        else if (key == "count")
            r->trayCount = DWORD(std::strtoul(value.c_str(), nullptr, 10));
        else if (key == "tray" && r->trayCount < kMaxTrays) {
            Put(r->trays[r->trayCount].name, name);
            r->trays[r->trayCount++].sheets = DWORD(number);
        } else if (key == "bin" && r->binCount < kMaxBins) {
            Put(r->bins[r->binCount].name, name);
            r->bins[r->binCount++].code = SHORT(number);
        } else if (key == "type" && r->paperTypeCount < kMaxPaperTypes) {
            Put(r->paperTypes[r->paperTypeCount].name, name);
            r->paperTypes[r->paperTypeCount++].code = SHORT(number);
        }
    }
    *reply = r;
    return 0;
}

extern "C" void WINAPI FreeDrvNPAData(Reply* reply)
{
    Record("FreeDrvNPAData");
    if (reply)
        HeapFree(GetProcessHeap(), 0, reply);
}

static_assert(std::is_same_v<decltype(&GetDrvNPAData), GetDrvNpaDataFn>);
static_assert(std::is_same_v<decltype(&FreeDrvNPAData), FreeDrvNpaDataFn>);
