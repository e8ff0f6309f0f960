#include "XlatedMaps.h"

#include <iterator>

namespace xlated {
namespace {

struct Pair {
    std::uint32_t logical;
    std::uint16_t id;
};

// Searched in this order. 3000 to 3002 are the manual-duplex instruction lines the document
// events print.
constexpr Pair kStrings[] = {
    {1, 6007},    {2, 6010},    {3, 6011},    {4, 6012},    {5, 6013},    {6, 6014},    {7, 6015},
    {8, 6016},    {9, 6017},    {10, 6018},   {11, 6019},   {12, 6020},   {1000, 6104}, {1001, 6105},
    {1002, 6106}, {1003, 6107}, {1004, 6108}, {1005, 6109}, {1024, 6766}, {1006, 6110}, {1007, 6111},
    {1008, 6112}, {1009, 6113}, {1010, 6114}, {1011, 6115}, {1012, 6116}, {1023, 6761}, {1013, 6117},
    {1014, 6120}, {1015, 6118}, {1019, 6757}, {1020, 6758}, {1021, 6759}, {1022, 6760}, {1016, 6119},
    {1017, 6713}, {1018, 6714}, {13, 6081},   {14, 6082},   {15, 6083},   {16, 6084},   {17, 6085},
    {18, 6086},   {19, 6087},   {20, 6088},   {21, 6591},   {22, 6592},   {23, 6006},   {3003, 6628},
    {3004, 6629}, {3000, 6780}, {3001, 6781}, {3002, 6782},
};

constexpr Pair kResources[] = {{10000, 6601}, {10001, 6602}, {10002, 6603}};

constexpr std::uint16_t kTrays[] = {6090, 6091, 6092, 6094, 6095, 6093, 6097, 6096,
                                    6098, 6099, 6100, 6101, 6102, 6103, 6257};

template <std::size_t N>
std::uint16_t Find(const Pair (&table)[N], std::uint32_t logical)
{
    for (const Pair& p : table)
        if (p.logical == logical)
            return p.id;
    return 0;
}

}  // namespace

std::uint16_t StringIdOf(std::uint32_t logical)
{
    return Find(kStrings, logical);
}

std::uint16_t ResourceIdOf(std::uint32_t logical)
{
    return Find(kResources, logical);
}

std::uint16_t TrayStringId(std::uint32_t index)
{
    return index < std::size(kTrays) ? kTrays[index] : 0;
}

std::optional<std::u16string> LanguageLibraryPath(std::u16string_view modulePath)
{
    if (modulePath.empty() || modulePath.size() > kMaxLanguagePath)
        return std::nullopt;
    const std::size_t cut = modulePath.find_last_of(u"\\:");
    std::u16string path(cut == std::u16string_view::npos ? std::u16string_view{} : modulePath.substr(0, cut + 1));
    path += kLanguageLibraryName;
    if (path.size() > kMaxLanguagePath)
        return std::nullopt;
    return path;
}

}  // namespace xlated
