// The settings interface bridge over a feature block of its own and the stand-in's tree model:
// the fixed requests and their tables, each conversion kind both ways, the settings-changed flag,
// the dedicated requests and the list-entry pattern.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "Bridge.h"
#include "FeatureBindings.h"
#include "SettingsTreeModel.h"

namespace {

using settingsmodel::SettingsTree;
using settingsmodel::TreeNode;
using Bytes = std::vector<std::uint8_t>;

class BlockEntries final : public bridge::Entries {
public:
    // An entry of its binding's size for each identifier, current and saved alike.
    explicit BlockEntries(std::initializer_list<int> ids)
    {
        for (int id : ids) {
            const std::uint16_t size = feature::EntrySize(feature::Find(id)->type);
            Bytes e(size, 0);
            e[0] = std::uint8_t(size);
            e[1] = std::uint8_t(size >> 8);
            e[2] = std::uint8_t(id);
            current[id] = saved[id] = e;
        }
    }
    std::span<std::uint8_t> Current(int id) override
    {
        const auto it = current.find(id);
        return it == current.end() ? std::span<std::uint8_t>() : std::span<std::uint8_t>(it->second);
    }
    std::span<const std::uint8_t> Saved(int id) override
    {
        const auto it = saved.find(id);
        return it == saved.end() ? std::span<const std::uint8_t>() : std::span<const std::uint8_t>(it->second);
    }
    std::int16_t Word(int id, std::size_t at) const
    {
        const Bytes& e = current.at(id);
        return std::int16_t(e[at] | e[at + 1] << 8);
    }
    void SetWord(int id, std::size_t at, std::uint16_t v)
    {
        current[id][at] = std::uint8_t(v);
        current[id][at + 1] = std::uint8_t(v >> 8);
    }
    std::map<int, Bytes> current, saved;
};

class FakeDriver final : public bridge::Driver {
public:
    std::wstring DataFile() override { return dataFile; }
    std::uint64_t PrinterHandle() override { return 0x1234; }
    bool DeviceSheet() override { return device; }
    std::uint32_t AnsiCodePage() override { return codePage; }
    std::wstring ScriptPath() override { return L"C:\\drv\\QVTDX5UI.JS"; }
    std::string UserName() override { return user; }
    std::vector<std::pair<std::int16_t, std::wstring>> Watermarks() override { return watermarks; }

    std::wstring dataFile = L"C:\\drv\\QVTDX5D2.DAT";
    bool device = false;
    std::uint32_t codePage = 1252;
    std::string user = "alice";
    std::vector<std::pair<std::int16_t, std::wstring>> watermarks;
};

class BridgeTest : public ::testing::Test {
protected:
    // The request on the node "\Requests\CODE".
    bridge::Outcome Send(std::uint32_t code, std::uint32_t direction)
    {
        tree_.current = Node(L"\\Requests\\" + std::to_wstring(code));
        const settingsui::Request r{code, direction, nullptr, &tree_};
        return bridge::Handle(r, entries_, driver_);
    }
    TreeNode* Node(const std::wstring& path) { return tree_.Resolve(path, true); }
    settingsmodel::NodeValue& ValueOf(std::uint32_t code) { return Node(L"\\Requests\\" + std::to_wstring(code))->value; }
    // An option child of the request's node with a "pclid" and the 16-bit value the take reads.
    TreeNode* Option(std::uint32_t code, const wchar_t* name, std::int16_t pclid)
    {
        TreeNode* o = Node(L"\\Requests\\" + std::to_wstring(code) + L"\\Options\\" + name);
        o->attributes[L"pclid"] = settingsui::Attribute{settingsui::kIntegerAttribute, pclid};
        o->value.SetInt16(pclid);
        return o;
    }

    SettingsTree tree_;
    BlockEntries entries_{1, 3, 4, 8, 59, 62, 77, 120};
    FakeDriver driver_;
};

TEST(BridgeTables, CodePagesAndDataFileNumbers)
{
    const std::pair<std::uint32_t, std::uint32_t> pages[] = {{1252, 1},   {932, 64},  {936, 512}, {949, 128},
                                                             {950, 256},  {1250, 2},  {1251, 4},  {1253, 8},
                                                             {1254, 16},  {1257, 32}, {437, 1},   {0, 1}};
    for (const auto& [page, flag] : pages)
        EXPECT_EQ(bridge::CodePageFlag(page), flag) << page;
    const std::pair<const wchar_t*, std::uint32_t> files[] = {
        {L"C:\\drv\\QVTDX5D2.DAT", 2}, {L"C:\\drv\\QVTDX5DD.DAT", 1}, {L"Q3.DAT", 4},      {L"QV0.DAT", 1},
        {L"QV10.DAT", 512},           {L"QV33.DAT", 1},             {L"QV99999999999.DAT", 1},
        {L"C:\\dir5\\QV.DAT", 1},      {L"QV7", 64},                 {L"", 1}};
    for (const auto& [file, flag] : files)
        EXPECT_EQ(bridge::DataFileFlag(file), flag) << std::string(file, file + std::wcslen(file));
    EXPECT_EQ(bridge::WithExtension(L"C:\\d.x\\QVTDX5D2.DAT", L".XML"), L"C:\\d.x\\QVTDX5D2.XML");
    EXPECT_EQ(bridge::WithExtension(L"C:\\d.x\\QVTDX5D2", L".RES"), L"C:\\d.x\\QVTDX5D2.RES");
}

TEST_F(BridgeTest, FixedRequestsPublishTheDriversFacts)
{
    const struct {
        std::uint32_t code;
        std::string value;
    } cases[] = {
        {0, "text \"C:\\drv\\QVTDX5D2.XML\""}, {1, "text \"Printer1\""}, {2, "text \"DocProps\""},
        {3, "text \"C:\\drv\\QVTDX5UI.JS\""},  {4, "text \"C:\\drv\\QVTDX5D2.RES\""}, {5, "flags 4660"},
        {20, "flags 2"}, {30, "flags 2"}, {40, "flags 1"}, {50, "flags 1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Send(c.code, settingsui::kPublish).result, settingsui::kSucceeded) << c.code;
        EXPECT_EQ(ValueOf(c.code).Describe(), c.value) << c.code;
    }
    driver_.device = true;
    driver_.codePage = 932;
    Send(2, settingsui::kPublish);
    Send(40, settingsui::kPublish);
    EXPECT_EQ(ValueOf(2).Describe(), "text \"PrintProps\"");
    EXPECT_EQ(ValueOf(40).Describe(), "flags 64");
}

TEST_F(BridgeTest, ADirectionOtherThanPublishOrTakeIsAnInvalidArgument)
{
    for (std::uint32_t direction : {2u, 0xFFFFFFFFu})
        for (std::uint32_t code : {1u, 100u, 1620u})
            EXPECT_EQ(Send(code, direction).result, settingsui::kInvalidArgument) << code << " " << direction;
}

TEST_F(BridgeTest, EachConversionKindBothWays)
{
    // Number: copies (feature 3).
    entries_.SetWord(3, feature::kCurrent, 7);
    EXPECT_EQ(Send(100, settingsui::kPublish).result, 0u);
    EXPECT_EQ(ValueOf(100).Describe(), "int16 7");
    ValueOf(100).SetInt16(12);
    EXPECT_EQ(Send(100, settingsui::kTake).result, 0u);
    EXPECT_EQ(entries_.Word(3, feature::kCurrent), 12);

    // Boolean: collate (feature 8).
    entries_.SetWord(8, feature::kCurrent, 1);
    Send(110, settingsui::kPublish);
    EXPECT_EQ(ValueOf(110).Describe(), "bool 1");
    ValueOf(110).SetBool(0);
    Send(110, settingsui::kTake);
    EXPECT_EQ(entries_.Word(8, feature::kCurrent), 0);

    // Option: orientation (feature 1), by "pclid", else the default's name, else the first.
    TreeNode* portrait = Option(120, L"Portrait", 1);
    TreeNode* landscape = Option(120, L"Landscape", 2);
    entries_.SetWord(1, feature::kCurrent, 2);
    EXPECT_EQ(Send(120, settingsui::kPublish).result, 0u);
    EXPECT_EQ(ValueOf(120).selected, landscape);
    entries_.SetWord(1, feature::kCurrent, 9);
    Node(L"\\Requests\\120\\Options\\Default")->value.SetText(L"Landscape");
    Send(120, settingsui::kPublish);
    EXPECT_EQ(ValueOf(120).selected, landscape);
    Node(L"\\Requests\\120\\Options\\Default")->value.SetText(L"Missing");
    Send(120, settingsui::kPublish);
    EXPECT_EQ(ValueOf(120).selected, portrait);
    ValueOf(120).SetSelected(landscape);
    Send(120, settingsui::kTake);
    EXPECT_EQ(entries_.Word(1, feature::kCurrent), 2);

    // Byte option: paper source (feature 4), one byte.
    entries_.SetWord(4, feature::kCurrent, 0x0203);
    Option(150, L"Upper", 2);
    TreeNode* lower = Option(150, L"Lower", 3);
    Send(150, settingsui::kPublish);
    EXPECT_EQ(ValueOf(150).selected, lower);
    ValueOf(150).SetSelected(Node(L"\\Requests\\150\\Options\\Upper"));
    Send(150, settingsui::kTake);
    EXPECT_EQ(entries_.Word(4, feature::kCurrent), 0x0202);

    // Flag: bit 4 of feature 59's word at 8.
    entries_.SetWord(59, 8, 0x0081);
    Send(2082, settingsui::kPublish);
    EXPECT_EQ(ValueOf(2082).Describe(), "bool 0");
    ValueOf(2082).SetBool(1);
    Send(2082, settingsui::kTake);
    EXPECT_EQ(entries_.Word(59, 8), 0x0085);
    ValueOf(2085).SetBool(0);
    Send(2085, settingsui::kTake);
    EXPECT_EQ(entries_.Word(59, 8), 0x0005);
}

TEST_F(BridgeTest, EveryTakePublishesWhetherTheSettingsChanged)
{
    TreeNode* changed = Node(bridge::kSettingsChangedPath);
    ValueOf(100).SetInt16(0);  // the saved value
    bridge::Outcome out = Send(100, settingsui::kTake);
    ASSERT_TRUE(out.settingsChanged);
    EXPECT_FALSE(*out.settingsChanged);
    EXPECT_EQ(changed->value.Describe(), "bool 0");

    ValueOf(100).SetInt16(3);
    out = Send(100, settingsui::kTake);
    EXPECT_TRUE(*out.settingsChanged);
    EXPECT_EQ(changed->value.Describe(), "bool 1");
    EXPECT_FALSE(Send(100, settingsui::kPublish).settingsChanged);
}

TEST_F(BridgeTest, AMissingNodeOrValueFailsAndChangesNothing)
{
    entries_.SetWord(1, feature::kCurrent, 2);
    EXPECT_EQ(Send(120, settingsui::kPublish).result, settingsui::kFailed);  // no options
    EXPECT_EQ(Send(120, settingsui::kTake).result, settingsui::kFailed);     // nothing selected
    EXPECT_EQ(Send(100, settingsui::kTake).result, settingsui::kFailed);     // no number given
    EXPECT_EQ(entries_.Word(1, feature::kCurrent), 2);
    EXPECT_EQ(entries_.Word(3, feature::kCurrent), 0);
    EXPECT_EQ(Send(1020, settingsui::kPublish).result, settingsui::kFailed);  // no entry 68
    const settingsui::Request noTree{100, 0, nullptr, nullptr};
    EXPECT_EQ(bridge::Handle(noTree, entries_, driver_).result, settingsui::kFailed);
}

TEST_F(BridgeTest, ThePrintAndHoldNameIsShownOnlyToItsUser)
{
    const std::size_t at = feature::hold::kUserName;
    Bytes& hold = entries_.current[77];
    std::memcpy(hold.data() + at, "alice", 5);
    Node(L"\\PrivateDevmode\\PrintHold\\UserName")->value.SetText(L"bob");
    Send(1620, settingsui::kPublish);
    EXPECT_EQ(ValueOf(1620).Describe(), "text \"\"");
    Node(L"\\PrivateDevmode\\PrintHold\\UserName")->value.SetText(L"alice");
    Send(1620, settingsui::kPublish);
    EXPECT_EQ(ValueOf(1620).Describe(), "text \"alice\"");

    ValueOf(1620).SetText(L"a-name-longer-than-twenty-four-bytes");
    EXPECT_EQ(Send(1620, settingsui::kTake).result, 0u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(hold.data() + at)), "a-name-longer-than-twent");
}

TEST_F(BridgeTest, WatermarksPagesSelectionsAndList)
{
    TreeNode* pages = Node(L"\\PrivateDevmode\\Watermarks");
    Node(L"\\PrinterSpec\\Watermarks");
    Node(L"\\Templates\\Watermark");
    Node(L"\\PrivateDevmode\\Watermarks\\NextId")->value.SetInt16(5);
    driver_.watermarks = {{1, L"Confidential"}, {4, L"Draft"}};
    EXPECT_EQ(Send(2030, settingsui::kPublish).result, 0u);
    TreeNode* list = Node(L"\\PrinterSpec\\Watermarks");
    ASSERT_EQ(list->children.size(), 2u);
    EXPECT_EQ(list->children[0]->name, L"5");
    EXPECT_EQ(list->children[1]->name, L"6");
    EXPECT_EQ(list->children[1]->attributes[L"pclid"].integer, 4);
    EXPECT_EQ(list->children[1]->value.Describe(), "text \"Draft\"");
    EXPECT_EQ(Node(L"\\PrivateDevmode\\Watermarks\\NextId")->value.Describe(), "int16 7");
    Send(2030, settingsui::kPublish);  // already there
    EXPECT_EQ(list->children.size(), 2u);

    TreeNode* first = Node(L"\\PrivateDevmode\\Watermarks\\Watermark1");
    entries_.SetWord(62, feature::watermark::kFirstPage, 4);
    EXPECT_EQ(Send(1820, settingsui::kPublish).result, 0u);
    EXPECT_EQ(first->value.selected, list->children[1].get());
    Node(L"\\PrivateDevmode\\Watermarks\\Watermark2")->value.SetSelected(list->children[0].get());
    EXPECT_EQ(Send(1830, settingsui::kTake).result, 0u);
    EXPECT_EQ(entries_.Word(62, feature::watermark::kOtherPages), 1);

    entries_.SetWord(62, feature::watermark::kPlacement, 2);
    Send(1810, settingsui::kPublish);
    EXPECT_EQ(pages->value.Describe(), "text \"OddEven\"");
    pages->value.SetText(L"FirstOther");
    Send(1810, settingsui::kTake);
    EXPECT_EQ(entries_.Word(62, feature::watermark::kPlacement), 3);
    pages->value.SetText(L"Sideways");
    EXPECT_EQ(Send(1810, settingsui::kTake).result, settingsui::kFailed);
}

}  // namespace
