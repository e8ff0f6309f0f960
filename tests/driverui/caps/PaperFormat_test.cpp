// The built-in paper data and the paper-format records computed from it, the model's paper set
// and the printer's forms.
#include <gtest/gtest.h>

#include <set>

#include "CapsTestUtil.h"
#include "Merge.h"
#include "PaperFormat.h"
#include "PaperTables.h"

using namespace caps;
using namespace capstest;
namespace pf = paperformat;

namespace {

TEST(PaperTables, EveryPaperHasABitANameAndASize)
{
    std::set<std::int32_t> codes;
    for (const PaperInfo& p : BuiltInPapers()) {
        SCOPED_TRACE(p.code);
        EXPECT_TRUE(codes.insert(p.code).second) << "listed twice";
        const std::uint32_t bit = devmode::PaperBit(p.code);
        EXPECT_NE(bit, 0u);
        EXPECT_NE(bit, devmode::kFormsBit);
        EXPECT_EQ(p.logicalName, LogicalNameOfBit(bit));
        EXPECT_NE(p.logicalName, 6104);
        if (p.code != kUserDefinedPaper) {
            EXPECT_GT(p.width, 0);
            EXPECT_LE(p.width, p.length) << "portrait";
        }
    }
}

TEST(PaperTables, StandardSizesInTenthsOfAMillimetre)
{
    struct Case {
        std::int16_t code;
        std::int32_t width, length;
    };
    const Case cases[] = {{1, 2159, 2794}, {9, 2100, 2970}, {5, 2159, 3556}, {11, 1480, 2100}, {20, 1048, 2413}};
    for (const Case& c : cases) {
        const PaperInfo* p = FindPaperInfo(c.code);
        ASSERT_NE(p, nullptr) << c.code;
        EXPECT_EQ(TenthsOfMm(p->width), c.width) << c.code;
        EXPECT_EQ(TenthsOfMm(p->length), c.length) << c.code;
    }
}

// A set names each paper once, only papers the driver knows, and every row it names describes
// that paper in the entry's orientation and class.
TEST(PaperTables, PaperSetsNameKnownPapersAndMatchingRows)
{
    for (std::uint16_t set : {kDesktopSet, kWorkgroupSet, kColourSet}) {
        SCOPED_TRACE(set);
        const PaperSetRecord* record = FindPaperSet(set);
        ASSERT_NE(record, nullptr);
        ASSERT_LE(record->count, kMaxSetEntries);
        std::set<std::uint32_t> bits;
        for (std::size_t i = 0; i < record->count; ++i) {
            const PaperSetEntry& e = record->entries[i];
            EXPECT_TRUE(bits.insert(e.bit).second) << std::hex << e.bit;
            const PaperInfo* paper = nullptr;
            for (const PaperInfo& p : BuiltInPapers())
                if (devmode::PaperBit(p.code) == e.bit)
                    paper = &p;
            EXPECT_TRUE(paper || e.bit == devmode::kFormsBit) << std::hex << e.bit;
            for (std::size_t q = 0; q < 4; ++q) {
                if (e.rows[q] == 0)
                    continue;
                const PaperFormatRow* row = FindRow(e.rows[q]);
                ASSERT_NE(row, nullptr);
                ASSERT_NE(paper, nullptr);
                EXPECT_EQ(row->code, paper->code);
                EXPECT_EQ(row->orientation, q & 1 ? 2 : 1);
                EXPECT_EQ(row->flagged, q >> 1);
            }
        }
    }
    EXPECT_EQ(FindPaperSet(3), nullptr);
    EXPECT_EQ(PaperSetMask(3), 0u);
    EXPECT_FALSE(PaperSetMask(kDesktopSet) & devmode::kFormsBit);
    EXPECT_TRUE(PaperSetMask(kWorkgroupSet) & devmode::kFormsBit);
    EXPECT_TRUE(PaperSetMask(kColourSet) & devmode::kFormsBit);
}

std::array<std::uint16_t, pf::kSize / 2> Words(const PaperFormatRecord& r)
{
    std::array<std::uint16_t, pf::kSize / 2> w{};
    for (std::size_t i = 0; i < w.size(); ++i)
        w[i] = RecordWord(r, 2 * i);
    return w;
}

PrinterForms SomeForms()
{
    PrinterForms forms;
    forms.user.push_back(UserForm(513, "Label", 4800, 7200));
    StoredForm withAreas = UserForm(514, "Card", 6000, 8400);
    withAreas.quads = Quads{Quad{5000, 7400, 500, 500}, Quad{7400, 5000, 500, 500}, Quad{5800, 8200, 100, 100},
                            Quad{8200, 5800, 100, 100}};
    forms.user.push_back(withAreas);
    forms.associations.push_back(Association(640, "A4 plain", 9));
    forms.associations.push_back(Association(641, "Card paper", 514));
    forms.associations.push_back(Association(642, "No paper", -1));
    forms.associations.push_back(Association(643, "Lost form", 519));
    forms.spooler.push_back({u"Spooler card", 101600, 152400});
    return forms;
}

// Word by word, the record of each request: requested code, request words, the area copies,
// resolved code, orientation, physical size, quadruple, quadruple in 1/720 inch, area origin and
// size, flags.
TEST(PaperFormat, RecordsOfPapersAndForms)
{
    struct Case {
        const char* what;
        std::uint16_t set;
        PaperFormatRequest request;
        std::array<std::uint16_t, 27> words;
    };
    const auto neg = [](int v) { return std::uint16_t(v); };
    const Case cases[] = {
        {"Letter, portrait", kDesktopSet, {1, 1, 0, 600, 3},
         {1, 1, 0, 600, 3, 0, 0, 0, 200, 200, 9800, 12800, 1, 1, 10200, 13200, 9800, 12800, 200, 200, 5880, 7680,
          200, 200, 9800, 12800, 0}},
        {"A4, landscape", kDesktopSet, {9, 2, 0, 1200, 0},
         {9, 2, 0, 1200, 0, 0, 0, 0, 200, 200, 13628, 9520, 9, 2, 14031, 9921, 13628, 9520, 200, 200, 8177, 5712,
          200, 200, 13628, 9520, 0}},
        {"Letter, flagged", kDesktopSet, {1, 1, 1, 1200, 0},
         {1, 1, 1, 1200, 0, 0, 0, 0, 100, 100, 10000, 13000, 1, neg(-1), 10200, 13200, 10000, 13000, 100, 100,
          6000, 7800, 100, 100, 10000, 13000, 0}},
        {"Letter on the colour model's rows", kColourSet, {1, 1, 0, 1200, 0},
         {1, 1, 0, 1200, 0, 0, 0, 0, 240, 240, 9720, 12720, 1, 1, 10200, 13200, 9800, 12800, 200, 200, 5880,
          7680, 240, 240, 9720, 12720, 0}},
        {"flagged landscape on the colour model", kColourSet, {1, 2, 1, 1200, 0},
         {1, 2, 1, 1200, 0, 0, 0, 0, 160, 160, 12880, 9880, 1, neg(-2), 13200, 10200, 13000, 10000, 100, 100,
          7800, 6000, 160, 160, 12880, 9880, 0}},
        {"a user form", kWorkgroupSet, {513, 1, 0, 1200, 0},
         {513, 1, 0, 1200, 0, 0, 0, 0, 200, 200, 4400, 6800, 513, 1, 4800, 7200, 4400, 6800, 200, 200, 2640,
          4080, 200, 200, 4400, 6800, pf::kFlagForm}},
        {"a user form's own areas", kWorkgroupSet, {514, 2, 1, 1200, 0},
         {514, 2, 1, 1200, 0, 0, 0, 0, 100, 100, 8200, 5800, 514, neg(-2), 8400, 6000, 8200, 5800, 100, 100,
          4920, 3480, 100, 100, 8200, 5800, pf::kFlagForm}},
        {"an association stands for its paper", kWorkgroupSet, {640, 1, 0, 1200, 0},
         {640, 1, 0, 1200, 0, 0, 0, 0, 200, 200, 9520, 13628, 9, 1, 9921, 14031, 9520, 13628, 200, 200, 5712,
          8177, 200, 200, 9520, 13628, 0}},
        {"an association of a user form", kWorkgroupSet, {641, 1, 0, 1200, 0},
         {641, 1, 0, 1200, 0, 0, 0, 0, 500, 500, 5000, 7400, 514, 1, 6000, 8400, 5000, 7400, 500, 500, 3000,
          4440, 500, 500, 5000, 7400, pf::kFlagForm}},
        {"a spooler form", kWorkgroupSet, {896, 1, 0, 1200, 0},
         {896, 1, 0, 1200, 0, 0, 0, 0, 200, 200, 4400, 6800, 896, 1, 4800, 7200, 4400, 6800, 200, 200, 2640,
          4080, 200, 200, 4400, 6800, pf::kFlagForm}},
    };
    const PrinterForms forms = SomeForms();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto record = ComputePaperFormat(PaperDevmode(c.set), c.request, forms, kLimits);
        ASSERT_TRUE(record);
        const auto words = Words(*record);
        for (std::size_t i = 0; i < words.size(); ++i)
            EXPECT_EQ(words[i], c.words[i]) << "offset " << 2 * i;
    }
}

TEST(PaperFormat, AssociationsWithoutAPaperStandForLetter)
{
    const PrinterForms forms = SomeForms();
    for (std::int16_t code : {642, 643, 650}) {
        SCOPED_TRACE(code);
        const auto record = ComputePaperFormat(PaperDevmode(kWorkgroupSet), {code, 1, 0, 1200, 0}, forms, kLimits);
        ASSERT_TRUE(record);
        EXPECT_EQ(RecordWord(*record, pf::kRequestedCode), code);
        EXPECT_EQ(RecordWord(*record, pf::kResolvedCode), 1);
        EXPECT_EQ(RecordWord(*record, pf::kPhysicalWidth), 10200);
    }
}

TEST(PaperFormat, UserDefinedSizeComesFromTheDevmodeOrTheLimits)
{
    devmode::Buffer d = PaperDevmode(kDesktopSet);
    devmode::Set(d, devmode::dmPaperWidth, 1000);   // 100 mm
    devmode::Set(d, devmode::dmPaperLength, 2000);  // 200 mm
    auto record = ComputePaperFormat(d, {256, 2, 0, 1200, 0}, {}, kLimits);
    ASSERT_TRUE(record);
    EXPECT_EQ(RecordWord(*record, pf::kPhysicalWidth), 9449);
    EXPECT_EQ(RecordWord(*record, pf::kPhysicalLength), 4724);

    devmode::Set(d, devmode::dmPaperWidth, 0);
    record = ComputePaperFormat(d, {256, 1, 0, 1200, 0}, {}, kLimits);
    ASSERT_TRUE(record);
    EXPECT_EQ(RecordWord(*record, pf::kPhysicalWidth), kLimits.maxWidth);
    EXPECT_EQ(RecordWord(*record, pf::kPhysicalLength), kLimits.maxLength);

    EXPECT_FALSE(ComputePaperFormat(d, {256, 1, 0, 1200, 0}, {}, std::nullopt)) << "no size at all";
}

TEST(PaperFormat, CodesWithoutAPaperHaveNoRecord)
{
    const PrinterForms forms = SomeForms();
    for (std::int32_t code : {0, 2, 69, 255, 263, 512, 519, 768, 897, -5}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(ComputePaperFormat(PaperDevmode(kWorkgroupSet), {code, 1, 0, 1200, 0}, forms, kLimits));
    }
    // A devmode too short to hold the paper-set index still gives the built-in paper.
    EXPECT_TRUE(ComputePaperFormat(std::span<const std::uint8_t>(), {9, 1, 0, 1200, 0}, forms, kLimits));
}

}  // namespace
