// What DeviceCapabilities reports for the stand-in: its two papers and its one devmode layout.
#include "TestCfg.h"

#include <iterator>

namespace testcfg {
namespace {

struct Paper {
    short id;
    const WCHAR* name;
    POINT size;  // tenths of a millimetre
};

constexpr Paper kPapers[] = {
    {DMPAPER_LETTER, L"Letter", {2159, 2794}},
    {DMPAPER_A4, L"A4", {2100, 2970}},
};
constexpr DWORD kPaperCount = std::size(kPapers);
constexpr int kPaperNameChars = 64;

}  // namespace

DWORD DeviceCapability(WORD capability, void* output)
{
    switch (capability) {
    case DC_FIELDS:
        return kDevmodeFields;
    case DC_PAPERS:
        if (output)
            for (DWORD i = 0; i < kPaperCount; ++i)
                static_cast<WORD*>(output)[i] = kPapers[i].id;
        return kPaperCount;
    case DC_PAPERNAMES:
        if (output)
            for (DWORD i = 0; i < kPaperCount; ++i)
                lstrcpynW(static_cast<WCHAR*>(output) + i * kPaperNameChars, kPapers[i].name,
                          kPaperNameChars);
        return kPaperCount;
    case DC_PAPERSIZE:
        if (output)
            for (DWORD i = 0; i < kPaperCount; ++i)
                static_cast<POINT*>(output)[i] = kPapers[i].size;
        return kPaperCount;
    case DC_SIZE:
        return kDevmodeSize;
    case DC_EXTRA:
        return 0;
    case DC_VERSION:
        return DM_SPECVERSION;
    case DC_DRIVER:
        return kDriverVersion;
    case DC_COPIES:
        return kMaxCopies;
    case DC_ORIENTATION:
        return 90;
    // Features and lists the stand-in has none of.
    case DC_DUPLEX:
    case DC_COLLATE:
    case DC_COLORDEVICE:
    case DC_STAPLE:
    case DC_BINS:
    case DC_BINNAMES:
    case DC_ENUMRESOLUTIONS:
    case DC_FILEDEPENDENCIES:
    case DC_MEDIAREADY:
    case DC_MEDIATYPES:
    case DC_MEDIATYPENAMES:
    case DC_NUP:
    case DC_PERSONALITY:
        return 0;
    default:
        SetLastError(ERROR_NOT_SUPPORTED);
        return GDI_ERROR;
    }
}

}  // namespace testcfg
