#include "DialogLibrary.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Library.h"
#include "SiblingNames.h"
#include "SiblingPath.h"

namespace siblings {

DialogLibrary::DialogLibrary() : module_(LoadLibraryW(SiblingPathW(DriverModule(), kDialogLibrary.wide).c_str()))
{
    if (!module_)
        return;
    load_ = reinterpret_cast<LoadXlatedStringFn>(GetProcAddress(module_, kLoadXlatedStringExport));
    trayId_ = reinterpret_cast<GetTrayIDFn>(GetProcAddress(module_, kGetTrayIdExport));
}

DialogLibrary::~DialogLibrary()
{
    if (module_)
        FreeLibrary(module_);
}

std::optional<std::string> DialogLibrary::String(std::uint16_t number, bool direct, std::size_t bufferSize) const
{
    if (!load_ || bufferSize == 0)
        return std::nullopt;
    bufferSize = std::min<std::size_t>(bufferSize, 0xFFFF);
    std::vector<char> text(bufferSize, '\0');
    XlatedStringRequest request{};
    request.size = sizeof request;
    request.direct = direct ? 1 : 0;
    request.number = number;
    request.buffer = text.data();
    request.length = std::uint16_t(bufferSize);
    const int n = load_(&request);
    if (n <= 0)
        return std::nullopt;
    return std::string(text.data(), strnlen(text.data(), std::min<std::size_t>(std::size_t(n), bufferSize - 1)));
}

std::optional<std::uint16_t> DialogLibrary::TrayStringId(std::uint16_t tray) const
{
    if (!trayId_ || tray > kLastTrayNumber)
        return std::nullopt;
    return std::uint16_t(trayId_(tray));
}

std::optional<std::vector<std::uint8_t>> DialogLibrary::Resource(std::uint16_t number, std::uint16_t type, bool direct,
                                                                  std::size_t maxBytes) const
{
    const auto size = Export<GetSizeofXlatedResourceFn>(kGetSizeofXlatedResourceExport);
    const auto load = Export<LoadXlatedResourceFn>(kLoadXlatedResourceExport);
    if (!size || !load)
        return std::nullopt;
    XlatedResourceRequest request{};
    request.size = sizeof request;
    request.direct = direct ? 1 : 0;
    request.number = number;
    request.type = type;
    const DWORD bytes = size(&request);
    if (bytes == 0 || bytes > maxBytes)
        return std::nullopt;
    const HGLOBAL handle = load(&request);
    const auto* data = handle ? static_cast<const std::uint8_t*>(LockResource(handle)) : nullptr;
    if (!data)
        return std::nullopt;
    return std::vector<std::uint8_t>(data, data + bytes);
}

}  // namespace siblings
