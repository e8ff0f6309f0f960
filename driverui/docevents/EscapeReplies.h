// The private escapes of the rendering driver QVTDX5DD.DLL and the records its replies carry:
// the watermark request, the job state, the end-of-document answer. The rendering driver is
// outside this library: every reply is read through bounded accessors, and a value that cannot
// describe a page (a resolution of 0, an area of a million dots) is refused here rather than
// met in the drawing code. No platform headers: the replies are fuzzed natively.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "DevmodeLayout.h"

namespace docevents {

// The platform's query of whether an escape is supported, with the 4-byte escape number.
inline constexpr int kQueryEscSupport = 8;

enum Escape : int {
    kFirstWatermarkAtStart = 5000,  // then 5001 once drawn
    kFirstWatermarkAtEnd = 5002,    // then 5003
    kSecondWatermarkAtStart = 5004, // then 5005
    kSecondWatermarkAtEnd = 5006,   // then 5007
    kRendererVersion = 5008,
    kRendererCapability = 5010,
    kFontFamilies = 5011,
    kJobStateEscape = 5012,
    kJobDevmode = 5013,
    kCancelJob = 5014,
    kSettingsData = 5015,
    kCommitSettings = 5016,
    kRegisterConversion = 5017,
    kReadConversion = 5018,
    kDocumentQuery = 5019,
    kApplicationDevmode = 5021,
    kEndResourcesWanted = 0x7FFFFFF8,
    kFirstEndResource = 0x7FFFFFF7,
    kSecondEndResource = 0x7FFFFFF6,
};
// The report that follows a watermark question, once the watermark is drawn.
inline constexpr int DrawnReport(int question) { return question + 1; }

// ---- Version check ------------------------------------------------------------------------

inline constexpr std::uint32_t kMinimumRendererVersion = 560;
// The output mode (devmode 229) that needs the rendering driver's capability escape.
inline constexpr std::uint8_t kCapabilityOutputMode = 4;

// Whether the rendering driver is too old for this library: its version escape answered below 1,
// or its version is below 560, or the devmode's output mode needs the capability escape it lacks.
bool RendererTooOld(int versionAnswer, std::uint32_t version, std::uint8_t outputMode, bool capabilitySupported);

// ---- Watermark request (36 bytes, nine u32) -----------------------------------------------

inline constexpr std::size_t kWatermarkRequestSize = 36;
inline constexpr std::size_t kRequestNumber = 0;      // low 16 bits: the watermark number
inline constexpr std::size_t kRequestResolution = 12; // dots per inch
inline constexpr std::size_t kRequestArea = 16;       // left, top, right, bottom
static_assert(kRequestArea + 16 == kWatermarkRequestSize - 4);

inline constexpr std::uint16_t kLastWatermarkNumber = 255;
// What a page can be: up to 9600 dpi and a side of a few metres at that resolution.
inline constexpr std::int32_t kMaxResolution = 9600;
inline constexpr std::int32_t kMaxCoordinate = 1 << 20;

struct WatermarkRequest {
    std::uint16_t number = 0;  // 0: none
    // The page the watermark goes on; nothing when the reply cannot describe one.
    struct Page {
        std::int32_t resolution;
        std::int32_t left, top, right, bottom;
    };
    std::optional<Page> page;
};

// The request in a reply of any length (missing bytes read as 0). A number past the last one
// the watermark list can hold keeps its number but gets no page: nothing is drawn for it.
WatermarkRequest ParseWatermarkRequest(std::span<const std::uint8_t> reply);

// ---- Job state (2080 bytes) ---------------------------------------------------------------

inline constexpr std::size_t kJobStateSize = 2080;
inline constexpr devmode::U8 kJobVariant{280};      // 2: the second manual-duplex variant
inline constexpr devmode::U16 kJobPagesDone{686};   // 0 before the first page
inline constexpr devmode::U8 kJobStamped{709};      // the first-page stamping is done
inline constexpr devmode::U32 kJobFlags{2060};
static_assert(kJobFlags.end() <= kJobStateSize);

inline constexpr std::uint32_t kFlagManualDuplex = 0x01;
inline constexpr std::uint32_t kFlagStepMask = 0x06;
inline constexpr std::uint32_t kFlagStepValue = 0x04;
inline constexpr std::uint32_t kFlagThirdVariant = 0x20;

struct JobState {
    std::uint8_t variant = 0;
    std::uint16_t pagesDone = 0;
    bool stamped = false;
    std::uint32_t flags = 0;
};
JobState ParseJobState(std::span<const std::uint8_t> reply);

// The devmode's manual-duplex marker (1076) when manual duplex is in force.
inline constexpr devmode::U8 kManualDuplexMarker{1076};
inline constexpr std::uint8_t kManualDuplexOn = 0x80;

// The instructions to show after the job: 0 none, else variant 1 to 3. Only a job whose state
// asks for manual duplex at the instruction step, under a devmode with manual duplex in force.
int ManualDuplexVariant(const JobState& job, std::uint8_t devmodeMarker);

// ---- End of document (16 bytes, four u32, and the escape's own answer) --------------------

inline constexpr std::size_t kEndResourcesReplySize = 16;

struct EndResources {
    // The first resource (10000 or 10001) and the instruction text, when the answer asks for them.
    std::optional<std::uint16_t> firstResource;
    // The instruction text's page: resolution and size in dots; nothing when out of bounds.
    struct Page {
        std::int32_t resolution;
        std::int32_t width, height;
    };
    std::optional<Page> page;
};
inline constexpr std::uint16_t kFirstResourceA2 = 10000;
inline constexpr std::uint16_t kFirstResourceA3 = 10001;
inline constexpr std::uint16_t kSecondResource = 10002;

// What the rendering driver's answer (non-zero) and its four values ask for. A fourth value of 0
// asks for the second resource only; so does an answer other than 2 or 3, which names no first
// resource (and so no instruction text either).
EndResources ParseEndResources(int answer, std::span<const std::uint8_t> reply);

// The instruction text's three lines: logical strings 3000 to 3002 of the dialog library.
inline constexpr std::uint16_t kInstructionStrings[3] = {3000, 3001, 3002};
// Points of the instruction font, and the smaller one when the widest line does not fit.
inline constexpr int kInstructionPoints = 14;
inline constexpr int kInstructionSmallPoints = 12;

}  // namespace docevents
