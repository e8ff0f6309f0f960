// The script parsed from memory and, through a file, as the utility reads it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzCheck.h"
#include "engine/InfFile.h"
#include "engine/Tokenizer.h"

namespace {

// In memory where the machine has a tmpfs: a file per run is most of the run's time.
std::string ScratchDir()
{
    return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}

struct Scratch {
    std::string path = ScratchDir() + "/qvfuzz_inf_" + std::to_string(getpid()) + ".inf";
    ~Scratch() { std::remove(path.c_str()); }
};

const std::string& ScratchPath()
{
    static const Scratch scratch;
    return scratch.path;
}

bool WriteScratch(const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(ScratchPath().c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

void CheckShape(const InfFile& inf)
{
    for (const InfSection& section : inf.Sections()) {
        // The first section of a name is the one found.
        const CStdStringList* found = inf.FindSection(section.name);
        FUZZ_CHECK(found != nullptr);
        for (const CStdStr& line : section.lines) {
            FUZZ_CHECK(!line.empty() && line[0] != ';' && line[0] != '#');
            FUZZ_CHECK(Trim(line) == line);
            FUZZ_CHECK(line.find('\n') == CStdStr::npos);
            CStdStr key, value;
            if (found == &section.lines && SplitKeyValue(line, key, value)) {
                CStdStr got;
                FUZZ_CHECK(inf.GetValue(section.name, key, got));
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CStdStr text(reinterpret_cast<const char*>(data), size);
    InfFile fromText;
    fromText.LoadFromText(text);
    CheckShape(fromText);

    if (!WriteScratch(data, size))
        return 0;
    InfFile fromFile;
    FUZZ_CHECK(fromFile.Load(ScratchPath()));
    CheckShape(fromFile);
    // A file marked FF FE is UTF-16 and reads differently; any other is the same ANSI parse.
    const bool utf16 = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
    if (!utf16) {
        FUZZ_CHECK(fromFile.Sections().size() == fromText.Sections().size());
        for (size_t i = 0; i < fromText.Sections().size(); ++i) {
            FUZZ_CHECK(fromFile.Sections()[i].name == fromText.Sections()[i].name);
            FUZZ_CHECK(fromFile.Sections()[i].lines == fromText.Sections()[i].lines);
        }
    }
    return 0;
}
