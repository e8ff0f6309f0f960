// The platform-neutral cores of the font files: the file names, the cache file's format and key,
// the toolkit's feedback message and its list commands, the summary entries.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Feedback.h"
#include "FontCache.h"
#include "FontFileNames.h"
#include "FontSummary.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;

// ---- File names ------------------------------------------------------------------------------

TEST(FontFileNames, EveryPrinterNameMakesOnePlainFileName)
{
    const struct {
        const char* printer;
        const char* stem;
    } cases[] = {
        {"Qelbrin QV-5", "qelQelbrin QV-5"},
        {"\\\\server\\Qelbrin QV-5", "qelQelbrin QV-5"},
        {"X 4/4M", "qelX 4_4M"},
        {"\\\\srv\\X 4/4M", "qelX 4_4M"},
        {"C:evil", "qelC_evil"},
        {"QV/../../../QVVICTIM", "qelQV__________QVVICTIM"},
        {"\\..", "qel__"},
        {"a<b>c\"d|e?f*g", "qela_b_c_d_e_f_g"},
        {"tab\there", "qeltab_here"},
        {"", "LFS_NONE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fontfiles::FileStem(c.printer), c.stem) << c.printer;
        const std::string path = fontfiles::DownloadFileName("C:\\drv\\", c.printer, ".PFM");
        EXPECT_TRUE(fontfiles::StaysInside("C:\\drv\\", path)) << path;
    }
}

TEST(FontFileNames, PathsOutsideTheDirectoryAreRefused)
{
    for (const char* path : {"C:\\drv\\..", "C:\\drv\\.", "C:\\drv\\sub\\x.PFM", "C:\\drv\\a/b", "C:\\other\\x",
                             "C:\\drv\\", "C:\\drv\\x:y"})
        EXPECT_FALSE(fontfiles::StaysInside("C:\\drv\\", path)) << path;
    EXPECT_TRUE(fontfiles::StaysInside("C:\\drv\\", "C:\\drv\\qelX..PFM"));
}

// ---- Cache file ------------------------------------------------------------------------------

Bytes Devmode(std::uint16_t quality = 600)
{
    Bytes d(fontcache::kDevmodeSize, 0);
    const char16_t name[] = u"Qelbrin QV-5";
    std::memcpy(d.data(), name, sizeof name);
    d[64] = 1;
    d[68] = 220;
    d[70] = 0x0C;
    d[71] = 0x04;
    d[72 + 1] = 0x04;  // DM_PRINTQUALITY
    d[90] = std::uint8_t(quality);
    d[91] = std::uint8_t(quality >> 8);
    d[304] = 0x36;
    d[305] = 0x02;
    std::memcpy(d.data() + 308, "QV-5 PCL", 8);
    return d;
}

TEST(FontCacheKey, OnlyTheFontSettingsDecide)
{
    const struct {
        const char* what;
        void (*change)(Bytes&);
        bool matches;
    } cases[] = {
        {"copies", [](Bytes& d) { d[86] = 9; }, true},
        {"device name case", [](Bytes& d) { d[0] = 'q'; }, true},
        {"model name case", [](Bytes& d) { d[308] = 'q'; }, true},
        {"byte 605 another non-zero", [](Bytes& d) { d[605] = 1; }, true},
        {"print quality", [](Bytes& d) { d[90] = 44; }, false},
        {"TrueType option", [](Bytes& d) { d[98] = 2; }, true},
        {"no DM_PRINTQUALITY", [](Bytes& d) { d[73] = 0; }, false},
        {"byte 605 zero", [](Bytes& d) { d[605] = 0; }, false},
        {"private version", [](Bytes& d) { d[304] = 1; }, false},
        {"device name", [](Bytes& d) { d[2] = 'X'; }, false},
        {"model name", [](Bytes& d) { d[309] = 'X'; }, false},
        {"word 352", [](Bytes& d) { d[352] = 1; }, false},
        {"word 358", [](Bytes& d) { d[359] = 1; }, false},
        {"word 392", [](Bytes& d) { d[392] = 8; }, false},
        {"driver extra", [](Bytes& d) { d[70] = 0; }, false},
    };
    for (const auto& c : cases) {
        Bytes cached = Devmode(), document = Devmode();
        cached[605] = 3;
        document[605] = 3;
        c.change(document);
        EXPECT_EQ(fontcache::KeyMatches(cached, document), c.matches) << c.what;
    }
    EXPECT_FALSE(fontcache::KeyMatches(Devmode(), Bytes(100)));
}

TEST(FontCacheFile, RoundTripsAndKeepsMostRecentlyUsedOrder)
{
    const std::vector<Bytes> texts{{'A', 'b'}, {'C'}};
    fontcache::CacheImage image = fontcache::NewImage(texts);
    ASSERT_TRUE(fontcache::Store(image, Devmode(300), Bytes{1, 2, 3}));
    ASSERT_TRUE(fontcache::Store(image, Devmode(600), Bytes{4}));
    const Bytes file = fontcache::Serialize(image);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data())), "Version 1.0.0.0 f");
    EXPECT_EQ(file[24], 28 + 3);
    auto parsed = fontcache::Parse(file);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->texts, (Bytes{'A', 'b', 'C'}));
    ASSERT_EQ(parsed->records.size(), 2u);
    EXPECT_EQ(parsed->records[0].summary, Bytes{4});
    const auto at = fontcache::Find(*parsed, Devmode(300));
    ASSERT_TRUE(at);
    EXPECT_EQ(*at, 1u);
    fontcache::MoveToFront(*parsed, *at);
    EXPECT_EQ(parsed->records[0].summary, (Bytes{1, 2, 3}));
    EXPECT_EQ(parsed->records[1].summary, Bytes{4});
}

TEST(FontCacheFile, DamagedFilesDoNotParse)
{
    fontcache::CacheImage image;
    ASSERT_TRUE(fontcache::Store(image, Devmode(), Bytes(10, 7)));
    const Bytes good = fontcache::Serialize(image);
    ASSERT_TRUE(fontcache::Parse(good));
    const struct {
        const char* what;
        std::size_t at;
        std::uint8_t value;
    } damage[] = {
        {"version text", 3, 'X'},
        {"devmode size", 18, 0},
        {"record count past the records", 20, 2},
        {"record count of 65535", 21, 0xFF},
        {"reserved word", 22, 1},
        {"first record past the end", 27, 0x7F},
        {"first record inside the header", 24, 4},
        {"summary length past the end", 28 + 1256 + 3, 0x10},
        {"summary length short of the end", 28 + 1256, 9},
    };
    for (const auto& d : damage) {
        Bytes bad = good;
        bad[d.at] = d.value;
        EXPECT_FALSE(fontcache::Parse(bad)) << d.what;
    }
    EXPECT_FALSE(fontcache::Parse(Bytes(good.begin(), good.begin() + 27)));
    EXPECT_FALSE(fontcache::Parse(Bytes(good.begin(), good.end() - 1)));
    Bytes trailing = good;
    trailing.push_back(0);
    EXPECT_FALSE(fontcache::Parse(trailing));
    Bytes huge = good;
    huge.resize(fontcache::kMaxFileSize + 1);
    EXPECT_FALSE(fontcache::Parse(huge));
}

TEST(FontCacheFile, ANewSummaryKeepsTheRecordsThatFitBeforeIt)
{
    fontcache::CacheImage image;
    const std::size_t summary = 30000;
    for (std::uint16_t q = 1; q <= 3; ++q)
        ASSERT_TRUE(fontcache::Store(image, Devmode(q), Bytes(summary, std::uint8_t(q))));
    ASSERT_EQ(image.records.size(), 3u);  // 3 x 31260 bytes fit 102400
    ASSERT_TRUE(fontcache::Store(image, Devmode(4), Bytes(summary, 4)));
    ASSERT_EQ(image.records.size(), 3u);
    EXPECT_EQ(image.records[0].summary[0], 4);
    EXPECT_EQ(image.records[1].summary[0], 3);
    EXPECT_EQ(image.records[2].summary[0], 2);

    // A summary the cap cannot hold is refused; the records stay.
    EXPECT_FALSE(fontcache::Store(image, Devmode(5), Bytes(fontcache::kRecordAreaCap, 5)));
    EXPECT_EQ(image.records.size(), 3u);
    EXPECT_TRUE(fontcache::Store(image, Devmode(6), Bytes(fontcache::kRecordAreaCap - fontcache::kRecordHead, 6)));
    EXPECT_EQ(image.records.size(), 1u);
    EXPECT_TRUE(fontcache::Parse(fontcache::Serialize(image)));
}

// ---- Feedback message ------------------------------------------------------------------------

struct MessageWriter {
    Bytes bytes;
    MessageWriter& Item(std::uint16_t tag, const Bytes& data)
    {
        const std::size_t length = data.size() + 4;
        bytes.insert(bytes.end(), {std::uint8_t(tag), std::uint8_t(tag >> 8), std::uint8_t(length),
                                   std::uint8_t(length >> 8)});
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    MessageWriter& Word(std::uint16_t tag, std::uint16_t v) { return Item(tag, {std::uint8_t(v), std::uint8_t(v >> 8)}); }
    MessageWriter& Text(std::uint16_t tag, const std::string& t)
    {
        Bytes data(t.begin(), t.end());
        data.push_back(0);
        return Item(tag, data);
    }
    Bytes End() { return Item(0, {}).bytes; }
};

TEST(FeedbackMessage, ARepeatedTagStartsTheNextGroup)
{
    const Bytes m = MessageWriter()
                        .Word(feedback::kTagCommand, 11)
                        .Text(feedback::kTagPrinterName, "P")
                        .Word(feedback::kTagMacroNumber, 3)
                        .Text(feedback::kTagMacroName, "first")
                        .Item(feedback::kTagKind3, {})
                        .Item(feedback::kTagKind1, {})
                        .Text(feedback::kTagMacroName, "second")
                        .End();
    const feedback::Message parsed = feedback::Parse(m);
    EXPECT_TRUE(parsed.complete);
    ASSERT_EQ(parsed.groups.size(), 2u);
    EXPECT_EQ(parsed.groups[0].command, 11);
    EXPECT_EQ(parsed.groups[0].macroNumber, 3);
    EXPECT_EQ(parsed.groups[0].kind, 3);
    EXPECT_EQ(parsed.groups[1].kind, 1);
    EXPECT_EQ(parsed.groups[1].macroName, "second");
    EXPECT_EQ(feedback::Extent(m.data(), m.size()), m.size());
}

TEST(FeedbackMessage, MalformedItemsEndTheWalk)
{
    const Bytes good = MessageWriter().Word(feedback::kTagCommand, 7).bytes;
    const struct {
        const char* what;
        Bytes tail;
    } cases[] = {
        {"length 0", {9, 0, 0, 0, 1, 0, 6, 0, 7, 0}},
        {"length 2", {9, 0, 2, 0, 1, 0, 6, 0, 7, 0}},
        {"length 3", {9, 0, 3, 0, 0, 0}},
        {"length past the end", {9, 0, 0xFF, 0xFF, 0, 0}},
        {"header cut", {9, 0}},
    };
    for (const auto& c : cases) {
        Bytes m = good;
        m.insert(m.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(feedback::Extent(m.data(), m.size()), 0u) << c.what;
        const feedback::Message parsed = feedback::Parse(m);
        EXPECT_FALSE(parsed.complete) << c.what;
        ASSERT_EQ(parsed.groups.size(), 1u) << c.what;
        EXPECT_EQ(parsed.groups[0].command, 7) << c.what;
    }
    EXPECT_EQ(feedback::Extent(nullptr, 100), 0u);
    EXPECT_EQ(feedback::Extent(good.data(), good.size()), 0u);  // no end item
    EXPECT_TRUE(feedback::Parse({}).groups.empty());
    // Data too short for its tag is ignored.
    const feedback::Message shortWord = feedback::Parse(MessageWriter().Item(feedback::kTagCommand, {6}).End());
    ASSERT_EQ(shortWord.groups.size(), 1u);
    EXPECT_FALSE(shortWord.groups[0].command);
}

// ---- Commands --------------------------------------------------------------------------------

recordlist::RecordList Macros(std::initializer_list<std::pair<int, const char*>> numbered, std::uint16_t kind = 1)
{
    recordlist::RecordList list;
    for (const auto& [number, name] : numbered) {
        recordlist::Macro m;
        m.number = std::int16_t(number);
        m.name = name;
        m.kind = kind;
        EXPECT_TRUE(recordlist::AppendMacro(list, m));
    }
    return list;
}

TEST(FeedbackCommands, MacroNumbers)
{
    const auto nine = Macros({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {5, "e"}, {6, "f"}, {7, "g"}, {8, "h"}, {9, "i"}});
    EXPECT_EQ(feedback::AllocateMacroNumber(nine, 0, "new", 1), 10);
    EXPECT_EQ(feedback::AllocateMacroNumber(nine, 4, "new", 1), 10);   // taken
    EXPECT_EQ(feedback::AllocateMacroNumber(nine, 40, "new", 1), 40);  // free
    EXPECT_EQ(feedback::AllocateMacroNumber(nine, 0, "E", 1), 0);      // same name and kind
    EXPECT_EQ(feedback::AllocateMacroNumber(nine, 0, "e", 3), 10);     // same name, other kind
    EXPECT_EQ(feedback::AllocateMacroNumber(nine, 0, "", 1), 0);
    EXPECT_EQ(feedback::AllocateMacroNumber(Macros({{2, "x"}}), 0, "y", 1), 1);
}

std::vector<std::pair<int, std::string>> Numbered(recordlist::RecordList list)
{
    std::vector<std::pair<int, std::string>> out;
    for (bool more = list.Rewind(); more; more = list.Next())
        out.emplace_back(list.FieldInt16(1).value_or(0), list.FieldText(2).value_or(""));
    return out;
}

TEST(FeedbackCommands, AddingAMacroReplacesItsNumberAndItsNameAndKind)
{
    auto list = Macros({{1, "a"}, {2, "b"}, {3, "c"}});
    recordlist::Macro m;
    m.number = 2;
    m.name = "C";
    m.kind = 1;
    ASSERT_TRUE(feedback::AddMacro(list, m));
    EXPECT_THAT(Numbered(list), ElementsAre(std::pair{1, std::string("a")}, std::pair{2, std::string("C")}));

    feedback::Group g;
    g.macroName = "n";
    EXPECT_FALSE(feedback::AddMacros({&g, 1}, list, 5));  // no number, protocol 5
    EXPECT_TRUE(feedback::AddMacros({&g, 1}, list, 6));
    EXPECT_EQ(Numbered(list).back(), (std::pair{3, std::string("n")}));

    feedback::Group remove;
    remove.macroNumber = 1;
    remove.macroName = "other";
    EXPECT_FALSE(feedback::RemoveMacros({&remove, 1}, list));
    remove.macroName = "A";
    EXPECT_TRUE(feedback::RemoveMacros({&remove, 1}, list));
    EXPECT_EQ(Numbered(list).size(), 2u);
}

TEST(FeedbackCommands, FontsTakeTheLowestFreeNumberAndGoByName)
{
    recordlist::RecordList fonts, metrics;
    EXPECT_EQ(feedback::AddFont(fonts, "One", std::string("x")), 1);
    EXPECT_EQ(feedback::AddFont(fonts, "Two", std::nullopt), 2);
    EXPECT_EQ(feedback::AddFont(fonts, "Three", std::nullopt), 3);
    feedback::Group g;
    g.fontName = "two";
    EXPECT_TRUE(feedback::RemoveFonts({&g, 1}, fonts, metrics));
    EXPECT_EQ(feedback::AddFont(fonts, "Four", std::nullopt), 2);
    EXPECT_EQ(feedback::AddFont(fonts, "ONE", std::nullopt), 1);  // replaces "One"
    g.fontName = "Three";
    g.fontText = "not its text";
    EXPECT_FALSE(feedback::RemoveFonts({&g, 1}, fonts, metrics));
    EXPECT_THAT(Numbered(fonts), ElementsAre(std::pair{3, std::string("Three")}, std::pair{2, std::string("Four")},
                                             std::pair{1, std::string("ONE")}));
}

TEST(FeedbackCommands, ReplyRecord)
{
    const Bytes r15 = feedback::ReplyRecord(15, 5);
    ASSERT_EQ(r15.size(), 172u);
    EXPECT_EQ(r15[0], 172);
    EXPECT_EQ(r15[4], (1 << 5) + 1);
    EXPECT_EQ(feedback::ReplyRecord(15, 6)[4], 1 << 6);
    EXPECT_EQ(feedback::ReplyRecord(14, 6)[4], 0);
}

// ---- Summary entries -------------------------------------------------------------------------

TEST(FontSummaryEntries, AtMost450FontsAndReadBack)
{
    fontsummary::Builder b;
    fontsummary::Entry e;
    e.name = std::string(80, 'n');
    for (int i = 0; i < 460; ++i) {
        e.number = std::uint16_t(i);
        EXPECT_EQ(b.Add(e), i < 450) << i;
    }
    const Bytes s = b.Finish();
    EXPECT_EQ(s.size(), 4 + 450 * fontsummary::kEntrySize);
    const auto read = fontsummary::Read(s);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), 450u);
    EXPECT_EQ((*read)[449].number, 449);
    EXPECT_EQ((*read)[0].name.size(), fontsummary::kNameBytes - 1);
    EXPECT_FALSE(fontsummary::Read(Bytes(s.begin(), s.end() - 1)));
    EXPECT_THAT(fontsummary::SplitList(" Arial ;;C:\\f\\x.ttf; ", ";"), ElementsAre("Arial", "C:\\f\\x.ttf"));
}

}  // namespace
