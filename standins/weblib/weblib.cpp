// The web library of the driver package, as the Web page calls it. Its addresses are made from
// the question, so a test sees exactly what the page asked:
//   PtWebGetURL     http://www.qelbrin.example/family<F>/page<T>/lang<L>
//   PtWebGetCGIURL  http://www.qelbrin.example/cgi?model=<M>&family=<F>&page=<T>&lang=<L>
// QVTDX5TD_ANSWER replaces every address with its text ("none": no address, "cgi": PtWebGetURL
// answers 48). PtIniOpen2 opens only files that exist. Each call is one line appended to the file
// QVTDX5TD_RECORD names, its arguments separated by tabs.
#include <windows.h>

#include <cstdio>
#include <string>
#include <type_traits>

#include "WebLibraryApi.h"

namespace {

std::string Env(const char* name)
{
    char value[1024];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

void Record(const std::string& line)
{
    const std::string path = Env("QVTDX5TD_RECORD");
    if (path.empty())
        return;
    if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

int Answer(const std::string& made, char* address, int size)
{
    const std::string answer = Env("QVTDX5TD_ANSWER");
    const std::string text = answer.empty() || answer == "cgi" ? made : answer;
    if (answer == "none" || !address || size <= 0)
        return 1;
    std::snprintf(address, std::size_t(size), "%s", text.c_str());
    return 0;
}

int g_handle = 0;

}  // namespace

extern "C" HANDLE WINAPI PtIniOpen2(const char* file, int mode)
{
    const bool there = file && GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES;
    Record(std::string("PtIniOpen2\t") + (file ? file : "(null)") + "\t" + std::to_string(mode) + "\t" +
           (there ? "open" : "failed"));
    return there ? HANDLE(&g_handle) : nullptr;
}

extern "C" int WINAPI PtWebGetURL(int family, int type, int language, char* address, int size, HANDLE ini)
{
    Record("PtWebGetURL\t" + std::to_string(family) + "\t" + std::to_string(type) + "\t" + std::to_string(language) +
           "\t" + std::to_string(size) + "\t" + (ini ? "ini" : "no ini"));
    if (Env("QVTDX5TD_ANSWER") == "cgi")
        return weblib::kAskCgi;
    return Answer("http://www.qelbrin.example/family" + std::to_string(family) + "/page" + std::to_string(type) +
                      "/lang" + std::to_string(language),
                  address, size);
}

extern "C" int WINAPI PtWebGetCGIURL(int model, int family, int model2, int type, int language, char* address,
                                     int size, HANDLE ini)
{
    Record("PtWebGetCGIURL\t" + std::to_string(model) + "\t" + std::to_string(family) + "\t" + std::to_string(model2) +
           "\t" + std::to_string(type) + "\t" + std::to_string(language) + "\t" + std::to_string(size) + "\t" +
           (ini ? "ini" : "no ini"));
    return Answer("http://www.qelbrin.example/cgi?model=" + std::to_string(model) + "&family=" + std::to_string(family) +
                      "&page=" + std::to_string(type) + "&lang=" + std::to_string(language),
                  address, size);
}

extern "C" void WINAPI PtIniClose(HANDLE ini)
{
    Record(std::string("PtIniClose\t") + (ini ? "ini" : "no ini"));
}

static_assert(std::is_same_v<decltype(&PtIniOpen2), weblib::PtIniOpen2Fn>);
static_assert(std::is_same_v<decltype(&PtWebGetURL), weblib::PtWebGetUrlFn>);
static_assert(std::is_same_v<decltype(&PtWebGetCGIURL), weblib::PtWebGetCgiUrlFn>);
static_assert(std::is_same_v<decltype(&PtIniClose), weblib::PtIniCloseFn>);
