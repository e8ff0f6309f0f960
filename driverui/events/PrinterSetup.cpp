#include "PrinterSetup.h"

#include <vector>

#include "ConfigUpdate.h"
#include "CurrentDevmode.h"
#include "FontValues.h"
#include "ProfileStore.h"
#include "SpoolLock.h"

namespace events {

void CopyFontValues(HANDLE printer)
{
    ProfileStore store;
    for (const FontValue& value : BuildFontValues(store, kConfigFile, GetACP())) {
        std::vector<BYTE> data(value.text.begin(), value.text.end());
        data.push_back(0);
        LockedSetPrinterDataA(printer, const_cast<LPSTR>(value.name.c_str()), REG_BINARY, data.data(),
                              DWORD(data.size()));
    }
}

bool CreateDefaultDevmode(HANDLE printer)
{
    devmode::Buffer built{};
    return devmode::BuildCurrentDevmode(printer, built, nullptr);
}

}  // namespace events
