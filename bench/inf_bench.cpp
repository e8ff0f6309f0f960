// The utility's script model against the platform's own INF parser on the same generated
// scripts: load, then find every command section the install section names and read every field
// of every line. Both times and the ratio for 1k, 10k and 100k lines, so growth shows.
#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "engine/InfFile.h"
#include "engine/Tokenizer.h"

namespace {

constexpr int kLinesPerSection = 10;

// A script of about `lines` lines: the install section names every command section.
std::string Script(int lines)
{
    const int sections = lines / (kLinesPerSection + 2);
    std::string text = "[Version]\r\nSignature=\"$Windows NT$\"\r\n[Manufacturer]\r\n\"Qelbrin\"=Models\r\n"
                       "[Models]\r\n\"Qelbrin QV-5 PCL\"=Install\r\n[Install]\r\n";
    for (int s = 0; s < sections; ++s)
        text += "QelInstallFile=Files" + std::to_string(s) + "\r\n";
    for (int s = 0; s < sections; ++s) {
        text += "[Files" + std::to_string(s) + "]\r\n";
        for (int l = 0; l < kLinesPerSection; ++l)
            text += "\"File " + std::to_string(l) + "\",3,$777$\\file" + std::to_string(s) + "_" + std::to_string(l) +
                    ".dll,$1$\\file.dl_,$2$\\file.tmp,0,1\r\n";
    }
    return text;
}

// Every field of every line of the sections the install section names; the count of fields.
size_t WalkOwn(const std::string& path)
{
    InfFile inf;
    inf.Load(path);
    size_t fields = 0;
    const CStdStringList* install = inf.FindSection("Install");
    for (const CStdStr& line : install ? *install : CStdStringList()) {
        CStdStr key, value;
        SplitKeyValue(line, key, value);
        const CStdStringList* section = inf.FindSection(value);
        for (const CStdStr& command : section ? *section : CStdStringList()) {
            CStdStringList parts;
            Tokenizer(command, ',', TokQuotes).SplitAll(parts);
            fields += parts.size();
        }
    }
    return fields;
}

size_t WalkPlatform(const std::string& path)
{
    HINF inf = SetupOpenInfFileA(path.c_str(), nullptr, INF_STYLE_WIN4, nullptr);
    if (inf == INVALID_HANDLE_VALUE)
        return 0;
    size_t fields = 0;
    INFCONTEXT line;
    char text[512];
    for (BOOL more = SetupFindFirstLineA(inf, "Install", nullptr, &line); more; more = SetupFindNextLine(&line, &line)) {
        if (!SetupGetStringFieldA(&line, 1, text, sizeof text, nullptr))
            continue;
        INFCONTEXT command;
        for (BOOL c = SetupFindFirstLineA(inf, text, nullptr, &command); c; c = SetupFindNextLine(&command, &command)) {
            const DWORD count = SetupGetFieldCount(&command);
            for (DWORD f = 1; f <= count; ++f) {
                char field[512];
                if (SetupGetStringFieldA(&command, f, field, sizeof field, nullptr))
                    ++fields;
            }
        }
    }
    SetupCloseInfFile(inf);
    return fields;
}

}  // namespace

int main()
{
    std::printf("Script model against the platform's INF parser (load + every command field)\n");
    for (int lines : {1000, 10000, 100000}) {
        const std::string path = bench::TempPath("qvbench_" + std::to_string(lines) + ".inf");
        const std::string text = Script(lines);
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
        const int repetitions = lines >= 100000 ? 3 : 7;
        size_t own = 0, platform = 0;
        const double ownTime = bench::MedianMicros(repetitions, [&] { own = WalkOwn(path); });
        const double platformTime = bench::MedianMicros(repetitions, [&] { platform = WalkPlatform(path); });
        bench::Report("InfFile, " + std::to_string(lines) + " lines (" + std::to_string(own) + " fields)", ownTime,
                      "setupapi (" + std::to_string(platform) + " fields)", platformTime);
        DeleteFileA(path.c_str());
    }
    return 0;
}
