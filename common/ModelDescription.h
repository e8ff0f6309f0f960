// The model description, byte for byte: resource type 260 (name 10500 + model number), 41
// little-endian 16-bit words, which the devmode keeps in its model record at 340 (word n at
// 340 + 2n). This struct is the one description of that layout: the resource readers and the
// resource generator go through its field list (driverui/model/ModelLayout.h), and the devmode
// names each word at 340 plus the word's offset here (DevmodeLayout.h). Words that select a
// resource select name = word + 1. Both driver libraries include this; it has no platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace model {

struct ModelDescription {
    // Feature 20, the installed memory in megabytes: the default the devmode's 434 starts from
    // and the lower end of its range (the devmode table's "initial resolution choice"; R11).
    std::uint16_t memoryMinimum = 0;  // 340
    std::uint16_t memoryMaximum = 0;  // 342: the upper end of feature 20's range
    std::uint16_t reserved344 = 0;
    std::uint16_t reserved346 = 0;
    std::uint16_t reserved348 = 0;
    std::uint16_t webModelWord = 0;      // 350: the model word the Web page hands the web library (R31)
    std::uint16_t fontKey = 0;           // 352: part of the font summary cache key
    std::uint16_t paperSet = 0;          // 354: index of the built-in paper set
    std::uint16_t trayList = 0;          // 356: type 259
    std::uint16_t resolutionList = 0;    // 358: type 261
    std::uint16_t graphicsModeList = 0;  // 360: type 262, graphics modes (feature 13, devmode 229)
    std::uint16_t graphicsG1List = 0;    // 362: types 263 and 284, the Graphics page's G1 (devmode 231)
    std::uint16_t printModeList = 0;     // 364: type 264, the combined pair (devmode 233, 234)
    std::uint16_t fontGroupList = 0;     // 366: type 266
    std::uint16_t fontChoiceList = 0;    // 368: type 267
    std::uint16_t colourC3List = 0;      // 370: type 270, the Colour page's C3 (feature 42, devmode 655)
    std::uint16_t shortOptionList = 0;   // 372: type 272, the advanced colour groups' choices
    std::uint16_t outputBinList = 0;     // 374: type 274
    std::uint16_t handlingOptionList = 0;  // 376: type 275, paper handling option 1 (feature 58, 449)
    std::uint16_t reserved378 = 0;
    std::uint16_t fontSetList = 0;       // 380: type 276
    std::uint16_t inputOptions = 0;      // 382: type 277, installable input options
    std::uint16_t outputOptions = 0;     // 384: type 278, installable output options
    std::uint16_t paperLimits = 0;       // 386: type 279, user-paper limits
    std::uint16_t reserved388 = 0;
    std::uint16_t colourOptionList = 0;  // 390: type 286
    // The model flag words. 392: TrueType and East-Asian font bits, the pages' option bytes A
    // (low) and B (high, 393). 394: the configuration operation bit, the colour default, option
    // byte C and the web flags (low). 396: paper handling (feature 81: collate, duplex units,
    // user paper; its high byte is 397). 398: finishing when 396 has no duplex unit. 400: colour
    // (feature 107).
    std::uint16_t fontFlags = 0;           // 392
    std::uint16_t optionFlags = 0;         // 394
    std::uint16_t paperHandlingFlags = 0;  // 396
    std::uint16_t finishingFlags = 0;      // 398
    std::uint16_t colourFlags = 0;         // 400
    std::uint16_t toolkitOption1 = 0;      // 402: feature 51; 2 sets its range word (devmode 460)
    std::uint16_t toolkitOption2 = 0;      // 404: feature 52; 2 sets its range word (devmode 461)
    std::uint16_t reserved406 = 0;
    std::uint16_t family = 0;            // 408: model family number; kNoFamily for none
    std::uint16_t pageTemplateSet = 0;   // 410: type 281
    std::uint16_t sheetWord = 0;         // 412: copied into the sheet context, read by no page
    std::uint16_t featureLayout = 0;     // 414: type 283
    std::uint16_t dialogSelector = 0;    // 416: the dialog library's selector word
    // The two capability words EnumDrvCfgSupport reports, the second first (masked with 0x65
    // and 0x13E).
    std::uint16_t configCapabilities2 = 0;  // 418
    std::uint16_t configCapabilities1 = 0;  // 420
};
inline constexpr std::size_t kDescriptionWords = 41;
inline constexpr std::size_t kDescriptionSize = 82;
static_assert(std::is_standard_layout_v<ModelDescription>);
static_assert(sizeof(ModelDescription) == kDescriptionSize && kDescriptionSize == 2 * kDescriptionWords);
static_assert(offsetof(ModelDescription, configCapabilities1) == kDescriptionSize - 2);

// Where the devmode keeps the description.
inline constexpr std::size_t kDevmodeDescription = 340;

inline constexpr std::uint16_t kNoFamily = 255;

// Flag bits this layer names (the devmode builders name the rest where they use them).
inline constexpr std::uint16_t kFlags396DuplexUnit = 0x0800;    // finishing flag bit 0; duplex
inline constexpr std::uint16_t kFlags396DuplexOption = 0x1000;  // finishing flag bit 1; duplex
inline constexpr std::uint16_t kFlags400Colour = 0x0008;

}  // namespace model
