// The dialog library's tray-name IDs and translated strings (QVTDX5DU.DLL), until the library
// itself exists: GetTrayID with the library's table, and LoadXlatedString over the logical string
// map with English texts of its own for the tray and paper names (the real library takes them
// from its resource library).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "DialogLibraryApi.h"

namespace {

// String IDs of the tray names by tray number.
constexpr WORD kTrayIds[] = {6090, 6091, 6092, 6094, 6095, 6093, 6097, 6096,
                             6098, 6099, 6100, 6101, 6102, 6103, 6257};

// Logical string number to string ID.
struct Logical {
    WORD logical;
    WORD id;
};
constexpr Logical kLogical[] = {
    {1, 6007},    {2, 6010},    {3, 6011},    {4, 6012},    {5, 6013},    {6, 6014},    {7, 6015},
    {8, 6016},    {9, 6017},    {10, 6018},   {11, 6019},   {12, 6020},   {1000, 6104}, {1001, 6105},
    {1002, 6106}, {1003, 6107}, {1004, 6108}, {1005, 6109}, {1024, 6766}, {1006, 6110}, {1007, 6111},
    {1008, 6112}, {1009, 6113}, {1010, 6114}, {1011, 6115}, {1012, 6116}, {1023, 6761}, {1013, 6117},
    {1014, 6120}, {1015, 6118}, {1019, 6757}, {1020, 6758}, {1021, 6759}, {1022, 6760}, {1016, 6119},
    {1017, 6713}, {1018, 6714}, {13, 6081},   {14, 6082},   {15, 6083},   {16, 6084},   {17, 6085},
    {18, 6086},   {19, 6087},   {20, 6088},   {21, 6591},   {22, 6592},   {23, 6006},   {3003, 6628},
    {3004, 6629},
};

struct Text {
    WORD id;
    const char* text;
};
constexpr Text kTexts[] = {
    {6090, "Tray 1"},
    {6091, "Tray 2"},
    {6092, "Tray 3"},
    {6093, "Tray 4"},
    {6094, "Manual Feed"},
    {6095, "Envelope Feeder"},
    {6096, "Automatically Select"},
    {6097, "Tray 5"},
    {6098, "Tray 6"},
    {6099, "Tray 7"},
    {6100, "Tray 8"},
    {6101, "Tray 9"},
    {6102, "Tray 10"},
    {6103, "Tray 11"},
    {6257, "Multipurpose Tray"},
    {6104, "Letter"},
    {6105, "Legal"},
    {6106, "B5 (JIS)"},
    {6107, "A4"},
    {6108, "Executive"},
    {6109, "A5"},
    {6110, "Envelope Monarch"},
    {6111, "Envelope #9"},
    {6112, "Envelope #10"},
    {6113, "Envelope DL"},
    {6114, "Envelope C5"},
    {6115, "Envelope B5"},
    {6117, "A3"},
    {6118, "B4 (JIS)"},
    {6119, "Custom Size"},
    {6120, "16K 197 x 273 mm"},
    {6713, "Folio"},
    {6714, "Statement"},
    {6757, "Postcard"},
    {6758, "Double Postcard"},
    {6759, "Envelope C6"},
    {6760, "Envelope B6"},
    {6761, "Tabloid"},
    {6766, "Oficio 8.5 x 13.5"},
};

const char* TextOf(WORD id)
{
    for (const Text& t : kTexts)
        if (t.id == id)
            return t.text;
    return nullptr;
}

}  // namespace

extern "C" {

WORD WINAPI GetTrayID(WORD index)
{
    return index < std::size(kTrayIds) ? kTrayIds[index] : 0;
}

// As LoadStringA: at most length - 1 characters and a terminator; the number copied.
int WINAPI LoadXlatedString(XlatedStringRequest* request)
{
    if (!request || !request->buffer || request->length == 0)
        return 0;
    WORD id = request->direct ? request->number : 0;
    if (!request->direct)
        for (const Logical& l : kLogical)
            if (l.logical == request->number) {
                id = l.id;
                break;
            }
    const char* text = id ? TextOf(id) : nullptr;
    if (!text) {
        request->buffer[0] = '\0';
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(std::strlen(text), request->length - 1u);
    std::memcpy(request->buffer, text, n);
    request->buffer[n] = '\0';
    return int(n);
}

}  // extern "C"
