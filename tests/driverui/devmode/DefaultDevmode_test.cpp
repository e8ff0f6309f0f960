// The default builder on the tests' model: fields from the description and resources, the
// fall-backs for missing resources, and what depends on the locale, code page and name.
#include <gtest/gtest.h>

#include "BuildNotice.h"
#include "DefaultDevmode.h"
#include "DevmodeTestUtil.h"
#include "Merge.h"

using namespace devmode;
using namespace notices;
using namespace dmtest;

namespace {

TEST(DefaultDevmode, FirstModelDefaults)
{
    const FakeResources resources = FirstModelResources();
    const Buffer d = FirstModelDefaults(resources);

    EXPECT_TRUE(IsDriverDevmode(d));
    EXPECT_TRUE(ChecksumMatches(d));
    EXPECT_EQ(Get(d, dmDriverVersion), kDriverVersionValue);
    EXPECT_EQ(Get(d, dmFields), kDefaultFields) << "no colour and no collation on this model";
    EXPECT_EQ(Get(d, dmOrientation), 1);
    EXPECT_EQ(Get(d, dmPaperSize), 9);
    EXPECT_EQ(Get(d, dmCopies), 1);
    EXPECT_EQ(Get(d, dmDefaultSource), 2) << "the tray at the list's default index";
    EXPECT_EQ(Get(d, dmPrintQuality), 600);
    EXPECT_EQ(Get(d, dmYResolution), 600);
    EXPECT_EQ(Get(d, dmColor), 1);
    EXPECT_EQ(Get(d, dmDuplex), 1);
    EXPECT_EQ(Get(d, dmTTOption), 2);
    EXPECT_EQ(Get(d, dmCollate), 0);
    EXPECT_EQ(Get(d, dmMediaType), 1u);
    EXPECT_EQ(Get(d, dmDitherType), 3u);

    // The names the caller put in, the model record.
    EXPECT_EQ(GetWideText(d, dmDeviceName), u"Qelbrin QV-5 PCL");
    EXPECT_EQ(GetText(d, kModelName), "Qelbrin QV-5 PCL");
    EXPECT_EQ(GetText(d, kPrinterName), "Office");
    EXPECT_EQ(GetText(d, kModelDisplayName), "Qelbrin QV-5 PCL");
    const Bytes description = FirstModelDescription();
    EXPECT_TRUE(std::equal(description.begin(), description.end(), d.begin() + 340));

    struct Expect {
        std::size_t offset;
        int width;
        std::int64_t value;
    };
    const Expect private_[] = {
        {224, 1, 0}, {225, 1, 1}, {226, 1, 1}, {227, 1, 2}, {228, 1, 255}, {229, 1, 6},
        {230, 1, 2}, {231, 1, 3}, {232, 1, 1}, {233, 1, 1}, {234, 1, 2}, {304, 2, 566},
        {428, 2, 6}, {430, 2, 7}, {432, 1, 255}, {434, 2, 2},
        // The list without the repeated 600; the slot left over stays 0.
        {436, 2, 300}, {438, 2, 600}, {440, 2, 1200}, {442, 2, 150}, {444, 2, 0}, {446, 2, 600},
        {453, 1, 1}, {458, 1, 0}, {459, 1, 0}, {460, 1, 0}, {461, 1, 0}, {462, 2, 3}, {464, 2, 5},
        {603, 1, 1}, {652, 1, 0}, {655, 1, 0}, {660, 1, 10}, {664, 1, 10}, {668, 1, 10},
        {672, 1, 0}, {816, 4, 0x80000001}, {820, 4, 0}, {1076, 1, 0}, {1078, 1, 1}, {1090, 1, 1},
        {1091, 1, 16}, {1093, 1, 1}, {1100, 4, 4}, {1104, 1, 1}, {1108, 4, 1}, {1112, 4, 0},
        {1227, 1, 0},
    };
    for (const Expect& e : private_) {
        std::int64_t value = 0;
        for (int i = e.width - 1; i >= 0; --i)
            value = value << 8 | d[e.offset + i];
        EXPECT_EQ(value, e.value) << "offset " << e.offset;
    }
    for (const std::uint32_t sig : {220u, 424u, 1252u})
        EXPECT_EQ(Get(d, U32{std::uint16_t(sig)}), kSignatureValue);
}

TEST(DevmodeDefaults, MissingResourcesLeaveTheFallBacks)
{
    const FakeResources none;
    const Buffer d = FirstModelDefaults(none);
    EXPECT_TRUE(IsDriverDevmode(d));
    EXPECT_EQ(Get(d, dmDefaultSource), 1);
    for (std::size_t i = 0; i < kResolutionCount; ++i)
        EXPECT_EQ(Get(d, U16{std::uint16_t(436 + 2 * i)}), 300);
    EXPECT_EQ(Get(d, kDefaultResolution), 300);
    EXPECT_EQ(Get(d, dmPrintQuality), 300);
    EXPECT_EQ(Get(d, kInstalledTrays), -1);
    EXPECT_EQ(Get(d, kFeature82), 0);
    EXPECT_EQ(Get(d, kGraphicsMode), 0);
    EXPECT_EQ(Get(d, kCombinedPairP), 0);
    EXPECT_EQ(Get(d, kFontSetMask1), 0x80000001u) << "no font-set list: the mask stays";

    // Damaged resources count as missing: a tray list whose count passes its end, a default
    // index beyond the trays, a cut resolution list, a list of options with a negative count.
    FakeResources damaged = FirstModelResources();
    damaged.Add(model::kTrayListType, 2, Words({2, 0, 0, 0}));
    damaged.Add(model::kResolutionListType, 2, Words({0, 600, 0, 0}));
    damaged.Add(model::kInputOptionsType, 2, Words({0xFFFF, 7}));
    const Buffer e = FirstModelDefaults(damaged);
    EXPECT_EQ(Get(e, dmDefaultSource), 1);
    EXPECT_EQ(Get(e, U16{436}), 300);
    EXPECT_EQ(Get(e, kDefaultResolution), 300);
    EXPECT_EQ(Get(e, kInstalledTrays), -1);

    FakeResources badIndex = FirstModelResources();
    badIndex.Add(model::kTrayListType, 2,
                 model::EncodeTable(model::TrayListHeader{0, 3}, std::span<const model::TrayEntry>(kTrays)));
    EXPECT_EQ(Get(FirstModelDefaults(badIndex), dmDefaultSource), 1);
}

TEST(DevmodeDefaults, MissingModelRecordLeavesItZero)
{
    const FakeResources resources = FirstModelResources();
    DefaultsInput in;
    in.displayName = "";
    const Bytes one(1, 0);
    in.description = std::span(one).first(0);
    Buffer d{};
    d.fill(0x77);
    in.codePage = 1252;
    BuildDefaultDevmode(d, in, resources);
    EXPECT_TRUE(std::all_of(d.begin() + 308, d.begin() + 422, [](auto b) { return b == 0; }));
    EXPECT_TRUE(IsDriverDevmode(d));
    // The kept names are the caller's bytes, whatever they are.
    EXPECT_EQ(d[239], 0x77);
}

TEST(DevmodeDefaults, LocaleCodePageAndName)
{
    const FakeResources resources = FirstModelResources();
    struct Case {
        const char* what;
        DefaultsInput in;
        std::size_t offset;
        std::uint8_t expected;
    };
    const auto input = [](std::uint32_t cp, bool usa, std::string_view name) {
        DefaultsInput in;
        in.codePage = cp;
        in.usa = usa;
        in.name = name;
        return in;
    };
    const Case cases[] = {
        {"Letter in the USA", input(1252, true, ""), 78, 1},
        {"A4 elsewhere", input(1252, false, ""), 78, 9},
        {"feature 60 off under a far-east code page", input(936, false, ""), 226, 0},
        {"feature 60 on otherwise", input(1250, false, ""), 226, 1},
        {"software enable for the brand", input(1252, false, "brevik 4100 office"), 652, 1},
        {"brand word must lead", input(1252, false, "Office Brevik"), 652, 0},
        {"brand word must be whole", input(1252, false, "Brevi"), 652, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstModelDefaults(resources, c.in)[c.offset], c.expected) << c.what;
}

// Model words that switch defaults, one description at a time.
TEST(DevmodeDefaults, ModelFlagsSwitchDefaults)
{
    const FakeResources resources = FirstModelResources();
    struct Case {
        const char* what;
        std::uint16_t word;
        std::uint16_t value;
        std::uint32_t codePage;
        std::size_t offset;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"colour model", 400, 0x8, 1252, 92, 2},
        {"bit 2 of 400 clears 453", 400, 0x8 | 0x4, 1252, 453, 0},
        {"bitmap TrueType", 392, 0x2, 1252, 98, 1},
        {"collation", 396, 0x4, 1252, 100, 1},
        {"stapling", 396, 0x800, 1252, 459, 1},
        {"both finishers", 396, 0x1800, 1252, 459, 3},
        {"finishing from 398", 398, 0x4, 1252, 459, 3},
        {"option word 402", 402, 2, 1252, 460, 1},
        {"option word 404", 404, 2, 1252, 461, 1},
        {"family 44", 408, 44, 1252, 652, 1},
        {"family 45", 408, 45, 1252, 652, 1},
        {"dialog selector", 416, 1, 1252, 655, 4},
        {"dialog selector, feature 53", 416, 1, 1252, 458, 1},
        {"393 bit 2", 392, 0x400, 1252, 225, 0},
        {"Korean fonts", 392, 0x10, 949, 1227, 1},
        {"Korean fonts, other code page", 392, 0x10, 936, 1227, 0},
        {"Chinese fonts", 392, 0x20, 936, 1227, 1},
        {"Traditional Chinese fonts", 392, 0x40, 950, 1227, 1},
    };
    for (const Case& c : cases) {
        Bytes description = FirstModelDescription();
        description[c.word - 340] = std::uint8_t(c.value);
        description[c.word - 339] = std::uint8_t(c.value >> 8);
        DefaultsInput in;
        in.description = description;
        in.codePage = c.codePage;
        const Buffer d = FirstModelDefaults(resources, in);
        EXPECT_EQ(d[c.offset], c.expected) << c.what;
    }

    // Colour and collation bring their dmFields bits.
    Bytes colour = FirstModelDescription();
    colour[400 - 340] = 0x8;
    colour[396 - 340] = 0x4;
    DefaultsInput in;
    in.description = colour;
    EXPECT_EQ(Get(FirstModelDefaults(resources, in), dmFields),
              kDefaultFields | kFieldColor | kFieldCollate);
    // A monochrome model with a dialog selector and bit 5 of 394 offers colour, set to mono.
    Bytes mono = FirstModelDescription();
    mono[394 - 340] = 0x20;
    mono[416 - 340] = 1;
    in.description = mono;
    const Buffer m = FirstModelDefaults(resources, in);
    EXPECT_EQ(Get(m, dmFields) & kFieldColor, kFieldColor);
    EXPECT_EQ(Get(m, dmColor), 1);
}

TEST(DevmodeDefaults, FontSetsOfSupportedCodePages)
{
    const FakeResources resources = FirstModelResources();
    // Only code page 1252's set (0x80000003, 0x10) is supported: 0x80000001 & 0x80000003, 0 & 0x10.
    Buffer d = FirstModelDefaults(resources);
    EXPECT_EQ(Get(d, kFontSetMask1), 0x80000001u);
    Set(d, kFontSetMask1, 0xFFFFFFFFu);
    Set(d, kFontSetMask2, 0xFFFFFFFFu);
    ApplyFontSets(d, resources, [](std::uint16_t) { return true; });
    EXPECT_EQ(Get(d, kFontSetMask1), 0x80000007u);
    EXPECT_EQ(Get(d, kFontSetMask2), 0xF10u);
    ApplyFontSets(d, resources, [](std::uint16_t) { return false; });
    EXPECT_EQ(Get(d, kFontSetMask1), 0u);
}

TEST(DevmodeDefaults, PrintQualityRule)
{
    Buffer d{};
    const std::int16_t list[] = {300, 600, 0, 0, 0};
    for (std::size_t i = 0; i < 5; ++i)
        Set(d, I16{std::uint16_t(436 + 2 * i)}, list[i]);
    Set(d, kDefaultResolution, std::uint16_t(600));
    const std::pair<std::int16_t, std::int16_t> cases[] = {
        {0, 600}, {-1, 600}, {-2, 600}, {-3, 600}, {-4, 300}, {-100, 300}, {1200, 1200},
    };
    for (const auto& [quality, expected] : cases)
        EXPECT_EQ(MapPrintQuality(d, quality), expected) << quality;
}

TEST(DevmodeDefaults, PrinterNameWithoutServer)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Office", "Office"},
        {"\\\\server\\Office", "Office"},
        {"\\\\server\\share\\Office 2", "Office 2"},
        {"\\single\\Office", "\\single\\Office"},
        {"\\\\server\\", ""},
        {"", ""},
    };
    for (const auto& [name, reduced] : cases)
        EXPECT_EQ(ReducePrinterName(name), reduced) << name;
}

TEST(BuildNotices, NoBoxInsideTheSpoolerOrWithoutAVisibleStation)
{
    const struct {
        std::wstring_view image;
        bool visible;
        NoticeRoute route;
    } cases[] = {
        {L"C:\\Program Files\\App\\app.exe", true, NoticeRoute::Box},
        {L"C:\\Windows\\System32\\spoolsv.exe", true, NoticeRoute::DebugOutput},
        {L"C:\\WINDOWS\\SYSTEM32\\SPOOLSV.EXE", true, NoticeRoute::DebugOutput},
        {L"spoolsv.exe", true, NoticeRoute::DebugOutput},
        {L"C:\\tools\\myspoolsv.exe", true, NoticeRoute::Box},
        {L"C:\\Program Files\\App\\app.exe", false, NoticeRoute::DebugOutput},
        {L"", true, NoticeRoute::Box},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RouteNotice(c.image, c.visible), c.route)
            << std::string(c.image.begin(), c.image.end()) << (c.visible ? "" : ", hidden station");
}

}  // namespace
