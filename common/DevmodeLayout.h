// The driver's devmode, byte for byte: the public DEVMODEW part (220 bytes) followed by the
// private part (1036 bytes), little-endian. The offsets are a stored format: the devmode lives in
// printer values and spooler objects, and the dialog library addresses it by offset, so a field
// never moves. Both driver libraries include this; it has no platform headers so the byte-level
// code builds natively as well.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "ModelDescription.h"

namespace devmode {

inline constexpr std::size_t kPublicSize = 220;
inline constexpr std::size_t kPrivateSize = 1036;
inline constexpr std::size_t kSize = kPublicSize + kPrivateSize;
static_assert(kSize == 1256);
// Public part of the layout before the ICM and panning fields.
inline constexpr std::size_t kOldPublicSize = 212;
// A devmode shorter than its own size fields cannot describe itself.
inline constexpr std::size_t kHeaderSize = 72;

inline constexpr std::uint32_t kSignatureValue = 0xBC97A4E2u;
inline constexpr std::uint16_t kSpecVersionValue = 0x0401;
inline constexpr std::uint16_t kOldSpecVersionValue = 0x0400;
inline constexpr std::uint16_t kDriverVersionValue = 0x1400;
inline constexpr std::uint16_t kLayoutVersionValue = 566;

// A full devmode of this driver.
using Buffer = std::array<std::uint8_t, kSize>;

// A little-endian value of type T at a fixed offset.
template <class T>
struct Field {
    std::uint16_t offset;
    constexpr std::size_t end() const { return offset + sizeof(T); }
};
// Raw bytes, or narrow text of at most size bytes (not necessarily terminated).
struct Block {
    std::uint16_t offset;
    std::uint16_t size;
    constexpr std::size_t end() const { return std::size_t(offset) + size; }
};
// UTF-16 text of at most chars characters (not necessarily terminated).
struct WideText {
    std::uint16_t offset;
    std::uint16_t chars;
    constexpr std::size_t end() const { return std::size_t(offset) + 2u * chars; }
};

using U8 = Field<std::uint8_t>;
using I8 = Field<std::int8_t>;
using U16 = Field<std::uint16_t>;
using I16 = Field<std::int16_t>;
using U32 = Field<std::uint32_t>;

// ---- Public part (DEVMODEW) ---------------------------------------------------------------

inline constexpr WideText dmDeviceName{0, 32};
inline constexpr U16 dmSpecVersion{64};
inline constexpr U16 dmDriverVersion{66};
inline constexpr U16 dmSize{68};
inline constexpr U16 dmDriverExtra{70};
inline constexpr U32 dmFields{72};
inline constexpr I16 dmOrientation{76};
inline constexpr I16 dmPaperSize{78};
inline constexpr I16 dmPaperLength{80};
inline constexpr I16 dmPaperWidth{82};
inline constexpr I16 dmScale{84};
inline constexpr I16 dmCopies{86};
inline constexpr I16 dmDefaultSource{88};
inline constexpr I16 dmPrintQuality{90};
inline constexpr I16 dmColor{92};
inline constexpr I16 dmDuplex{94};
inline constexpr I16 dmYResolution{96};
inline constexpr I16 dmTTOption{98};
inline constexpr I16 dmCollate{100};
inline constexpr WideText dmFormName{102, 32};
inline constexpr U16 dmLogPixels{166};
inline constexpr U32 dmBitsPerPel{168};
inline constexpr U32 dmPelsWidth{172};
inline constexpr U32 dmPelsHeight{176};
inline constexpr U32 dmDisplayFlags{180};
inline constexpr U32 dmDisplayFrequency{184};
inline constexpr U32 dmICMMethod{188};
inline constexpr U32 dmICMIntent{192};
inline constexpr U32 dmMediaType{196};
inline constexpr U32 dmDitherType{200};
inline constexpr U32 dmReserved1{204};
inline constexpr U32 dmReserved2{208};
inline constexpr U32 dmPanningWidth{212};
inline constexpr U32 dmPanningHeight{216};
static_assert(dmDeviceName.end() == dmSpecVersion.offset);
static_assert(dmFormName.end() == dmLogPixels.offset);
static_assert(dmPanningWidth.offset == kOldPublicSize && dmPanningHeight.end() == kPublicSize);

// dmFields bits.
inline constexpr std::uint32_t kFieldOrientation = 0x1;
inline constexpr std::uint32_t kFieldPaperSize = 0x2;
inline constexpr std::uint32_t kFieldPaperLength = 0x4;
inline constexpr std::uint32_t kFieldPaperWidth = 0x8;
inline constexpr std::uint32_t kFieldCopies = 0x100;
inline constexpr std::uint32_t kFieldDefaultSource = 0x200;
inline constexpr std::uint32_t kFieldPrintQuality = 0x400;
inline constexpr std::uint32_t kFieldColor = 0x800;
inline constexpr std::uint32_t kFieldDuplex = 0x1000;
inline constexpr std::uint32_t kFieldYResolution = 0x2000;
inline constexpr std::uint32_t kFieldTTOption = 0x4000;
inline constexpr std::uint32_t kFieldCollate = 0x8000;
inline constexpr std::uint32_t kFieldDitherType = 0x4000000;
// What the default builder always sets.
inline constexpr std::uint32_t kDefaultFields = 0x04007703;
static_assert(kDefaultFields == (kFieldOrientation | kFieldPaperSize | kFieldCopies |
                                 kFieldDefaultSource | kFieldPrintQuality | kFieldDuplex |
                                 kFieldYResolution | kFieldTTOption | kFieldDitherType));

// ---- Private part -------------------------------------------------------------------------

inline constexpr U32 kSignature1{220};
inline constexpr U8 kFeature11{224};
inline constexpr U8 kFeature12{225};
inline constexpr U8 kFeature60{226};
inline constexpr U8 kFeature87{227};
inline constexpr U8 kByte228{228};  // 255; no feature
inline constexpr U8 kGraphicsMode{229};  // feature 13, from the type 262 list
inline constexpr U8 kFeature14{230};
inline constexpr U8 kGraphicsG1{231};  // features 15 and 79, from the type 263 or 284 list
inline constexpr U8 kResolutionFlag{232};  // feature 54
inline constexpr U8 kCombinedPairP{233};  // feature 16, the combined pair from type 264
inline constexpr U8 kCombinedPairQ{234};  // feature 17 (or 235 on some colour models)
inline constexpr U8 kFeature19{237};
inline constexpr Block kModelName{239, 32};
inline constexpr Block kPrinterName{271, 32};
inline constexpr U16 kLayoutVersion{304};
inline constexpr U8 kFeature21{306};

// Model record: the display name, then the 82-byte model description (41 words).
inline constexpr Block kModelRecord{308, 114};
inline constexpr Block kModelDisplayName{308, 32};
inline constexpr Block kModelDescription{340, 82};
static_assert(kModelDisplayName.end() == kModelDescription.offset);
static_assert(kModelDescription.end() == kModelRecord.end());

// Words of the model description (ModelDescription.h), where the devmode keeps them: each at
// 340 plus its offset in the description, so the two layouts cannot disagree.
#define QV_MODEL_WORD(field) \
    U16 { std::uint16_t(kModelDescription.offset + offsetof(model::ModelDescription, field)) }
inline constexpr U16 kMemoryMinimum = QV_MODEL_WORD(memoryMinimum);  // feature 20's default and minimum
inline constexpr U16 kMemoryMaximum = QV_MODEL_WORD(memoryMaximum);
inline constexpr U16 kWebModelWord = QV_MODEL_WORD(webModelWord);
inline constexpr U16 kPaperSetIndex = QV_MODEL_WORD(paperSet);
inline constexpr U16 kTrayListNumber = QV_MODEL_WORD(trayList);                // type 259
inline constexpr U16 kResolutionListNumber = QV_MODEL_WORD(resolutionList);    // type 261
inline constexpr U16 kGraphicsModeListNumber = QV_MODEL_WORD(graphicsModeList);  // type 262
inline constexpr U16 kGraphicsG1ListNumber = QV_MODEL_WORD(graphicsG1List);    // types 263 and 284
inline constexpr U16 kPrintModeListNumber = QV_MODEL_WORD(printModeList);      // type 264
inline constexpr U16 kFontSetListNumber = QV_MODEL_WORD(fontSetList);          // type 276
inline constexpr U16 kInputOptionsNumber = QV_MODEL_WORD(inputOptions);        // type 277
inline constexpr U16 kOutputOptionsNumber = QV_MODEL_WORD(outputOptions);      // type 278
inline constexpr U16 kPaperLimitNumber = QV_MODEL_WORD(paperLimits);           // type 279
inline constexpr U16 kColourOptionListNumber = QV_MODEL_WORD(colourOptionList);  // type 286
inline constexpr U16 kFontFlags = QV_MODEL_WORD(fontFlags);
inline constexpr U8 kFontFlagsHigh{kFontFlags.offset + 1};  // option byte B
inline constexpr U16 kOptionFlags = QV_MODEL_WORD(optionFlags);
inline constexpr U16 kPaperHandlingFlags = QV_MODEL_WORD(paperHandlingFlags);  // feature 81
inline constexpr U8 kPaperHandlingFlagsHigh{kPaperHandlingFlags.offset + 1};
inline constexpr U16 kFinishingFlags = QV_MODEL_WORD(finishingFlags);
inline constexpr U16 kColourFlags = QV_MODEL_WORD(colourFlags);                // feature 107
inline constexpr U16 kToolkitOption1 = QV_MODEL_WORD(toolkitOption1);          // feature 51
inline constexpr U16 kToolkitOption2 = QV_MODEL_WORD(toolkitOption2);          // feature 52
inline constexpr U16 kModelFamily = QV_MODEL_WORD(family);  // 255: none
inline constexpr U16 kPageTemplateSet = QV_MODEL_WORD(pageTemplateSet);        // type 281
inline constexpr U16 kSheetWord = QV_MODEL_WORD(sheetWord);
inline constexpr U16 kFeatureLayout = QV_MODEL_WORD(featureLayout);            // type 283
inline constexpr U16 kDialogSelector = QV_MODEL_WORD(dialogSelector);
inline constexpr U16 kConfigCapabilities2 = QV_MODEL_WORD(configCapabilities2);
inline constexpr U16 kConfigCapabilities1 = QV_MODEL_WORD(configCapabilities1);
#undef QV_MODEL_WORD
static_assert(kModelDescription.offset == model::kDevmodeDescription &&
              kModelDescription.size == model::kDescriptionSize);
static_assert(kConfigCapabilities1.end() == kModelDescription.end());

inline constexpr U32 kSignature2{424};
inline constexpr U16 kDefaultGraphicsMode{428};  // the type 262 list's default mode word
inline constexpr U16 kGraphicsModeWord{430};     // the type 262 list's mode word
inline constexpr U8 kByte432{432};  // 255; no feature
// Feature 20, megabytes; the devmode table calls it the resolution choice (R11).
inline constexpr U16 kInstalledMemory{434};
inline constexpr std::size_t kResolutionCount = 5;
inline constexpr U16 kResolutionList{436};  // five u16, dots per inch
inline constexpr U16 kDefaultResolution{446};
static_assert(kResolutionList.offset + 2 * kResolutionCount == kDefaultResolution.offset);
inline constexpr U8 kFeature22{451};
inline constexpr U8 kByte453{453};
inline constexpr U16 kWord456{456};
inline constexpr U8 kFeature53{458};
inline constexpr U8 kFinishing{459};      // feature 23
inline constexpr U8 kRangeWord51{460};    // feature 51's range
inline constexpr U8 kRangeWord52{461};    // feature 52's range
inline constexpr I16 kInstalledTrays{462};  // feature 24: mask of the installed trays
inline constexpr I16 kFeature82{464};
inline constexpr U8 kFeature26{466};
inline constexpr U8 kOverlayPlacement{467};  // of features 27 and 28
inline constexpr WideText kFirstPageOverlay{468, 32};   // feature 27
inline constexpr WideText kOtherPagesOverlay{532, 32};  // feature 28
inline constexpr U8 kFeature47High{602};
inline constexpr U8 kFeature71{603};
inline constexpr U8 kFeature88{604};
inline constexpr U8 kFeature47Low{605};
inline constexpr std::size_t kFontWordCount = 11;
inline constexpr U32 kFontWords{606};  // eleven u32
static_assert(kFontWords.offset + 4 * kFontWordCount == 650);
inline constexpr U8 kHoldMode{650};
inline constexpr U8 kHoldOption{651};
inline constexpr U8 kSoftwareEnable{652};  // feature 86, also the printer value "SWEnable"
inline constexpr U8 kFeature85{653};
inline constexpr U8 kColourC3{655};  // feature 42, from the type 270 list
inline constexpr I8 kFeature33{660};
inline constexpr I8 kFeature37{664};
inline constexpr I8 kFeature41{668};
inline constexpr U8 kWatermarkPlacement{672};  // of feature 62
inline constexpr U32 kFontSetMask1{816};
inline constexpr U32 kFontSetMask2{820};
inline constexpr Block kHoldUserName{824, 25};
inline constexpr Block kHoldNumber{849, 5};
static_assert(kHoldUserName.end() == kHoldNumber.offset);
inline constexpr std::size_t kPaperFormatSize = 54;
inline constexpr std::size_t kPaperFormatCount = 4;
inline constexpr Block kPaperFormat[kPaperFormatCount] = {
    {854, 54}, {908, 54}, {962, 54}, {1016, 54}};
static_assert(kHoldNumber.end() == kPaperFormat[0].offset);
static_assert(kPaperFormat[0].end() == kPaperFormat[1].offset &&
              kPaperFormat[1].end() == kPaperFormat[2].offset &&
              kPaperFormat[2].end() == kPaperFormat[3].offset);
inline constexpr U8 kTagListMark{1076};
inline constexpr U8 kFeature69{1078};
inline constexpr U8 kFeature70{1080};
inline constexpr U32 kFeature75{1084};  // the numeric entry of type 14
inline constexpr U8 kFeature84{1090};
inline constexpr U8 kFeature90{1091};
inline constexpr U8 kTrayByte{1092};
inline constexpr U8 kByte1093{1093};
inline constexpr I16 kSecondPaperSize{1096};  // feature 91
inline constexpr U32 kConfigKind{1100};
inline constexpr U8 kCollateAllowed{1104};  // feature 108
inline constexpr std::size_t kConfigIdWords = 4;
inline constexpr Block kConfigId{1108, 16};
inline constexpr Block kAccountRecord{1124, 100};
inline constexpr U8 kAccountByte{1124};
inline constexpr U16 kChecksum{1224};
static_assert(kConfigId.end() == kAccountRecord.offset && kAccountRecord.end() == kChecksum.offset);
inline constexpr U8 kFeature100{1227};
inline constexpr U8 kFeature102{1229};
inline constexpr U8 kFeature113{1236};
inline constexpr U32 kSignature3{1252};
static_assert(kSignature3.end() == kSize);

// The checksum covers the public bytes from dmSpecVersion to the end of the public part.
inline constexpr std::size_t kChecksumFirst = 64;
inline constexpr std::size_t kChecksumEnd = kPublicSize;

// ---- Bounded access ----------------------------------------------------------------------
// Reads outside the buffer give 0 and writes outside it do nothing, so a short buffer can
// never be over-read or over-written; full buffers never meet the bound.

template <class T>
T Get(std::span<const std::uint8_t> d, Field<T> f)
{
    if (f.end() > d.size())
        return T{};
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        raw |= std::uint32_t(d[f.offset + i]) << (8 * i);
    return static_cast<T>(raw);
}

template <class T>
void Set(std::span<std::uint8_t> d, Field<T> f, std::type_identity_t<T> value)
{
    if (f.end() > d.size())
        return;
    const auto raw = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        d[f.offset + i] = std::uint8_t(raw >> (8 * i));
}

// The bytes of a field that lie inside the buffer.
inline std::span<const std::uint8_t> Slice(std::span<const std::uint8_t> d, Block b)
{
    if (b.offset >= d.size())
        return {};
    return d.subspan(b.offset, std::min<std::size_t>(b.size, d.size() - b.offset));
}
inline std::span<std::uint8_t> MutableSlice(std::span<std::uint8_t> d, Block b)
{
    if (b.offset >= d.size())
        return {};
    return d.subspan(b.offset, std::min<std::size_t>(b.size, d.size() - b.offset));
}

// Narrow text of a field: up to its first NUL or its end.
std::string_view GetText(std::span<const std::uint8_t> d, Block b);
// Stores text cut to size - 1 bytes and NUL-fills the rest of the field.
void SetText(std::span<std::uint8_t> d, Block b, std::string_view text);
// UTF-16 text of a field: up to its first NUL or its end.
std::u16string GetWideText(std::span<const std::uint8_t> d, WideText t);
void SetWideText(std::span<std::uint8_t> d, WideText t, std::u16string_view text);

// ---- Validity and checksum ----------------------------------------------------------------

// Whether the bytes are a devmode of this driver: dmSpecVersion 0x0401, sizes 220 and 1036, the
// three signatures and layout version 566. Needs the whole 1256 bytes in the buffer.
bool IsDriverDevmode(std::span<const std::uint8_t> d);

// The CRC of the polynomial 0x1021, unreflected, from 0, without augmentation: "abc" -> 0x1EE4.
std::uint16_t Crc16(std::span<const std::uint8_t> bytes);
// The checksum of a devmode: the CRC of its public bytes 64 to 219 (0 when they are missing).
std::uint16_t ComputeChecksum(std::span<const std::uint8_t> d);
void UpdateChecksum(std::span<std::uint8_t> d);
bool ChecksumMatches(std::span<const std::uint8_t> d);

}  // namespace devmode
