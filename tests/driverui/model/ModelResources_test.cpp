// QVTDX5DA's printer models as the platform's resource calls find them: every model's name and
// description, every resource its description selects, each well-formed and consistent with the
// others, and the model lookup by name.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "DriverLibraryFixture.h"
#include "ModelResources.h"
#include "TestSupport.h"

using namespace model;

namespace {

class ModelResourcesTest : public qvtest::DriverLibraryTest {
protected:
    static void SetUpTestSuite()
    {
        DriverLibraryTest::SetUpTestSuite();
        for (int n = 0; library_ && LoadModelName(library_, n); ++n)
            models_.push_back(n);
    }
    static void TearDownTestSuite()
    {
        DriverLibraryTest::TearDownTestSuite();
        models_.clear();
    }
    void SetUp() override { ASSERT_TRUE(library_) << "QVTDX5DA.DLL did not load: " << GetLastError(); }

    static std::span<const std::uint8_t> Selected(int type, std::uint16_t word)
    {
        return LoadSelectedResource(library_, type, word);
    }
    static ModelDescription Description(int model)
    {
        return LoadDescription(library_, model).value_or(ModelDescription{});
    }
    // The model's option list for 231: type 284 when the model has one, else 263.
    static std::optional<GraphicsG1List> OptionsOf231(const ModelDescription& d)
    {
        const auto list284 = Selected(kGraphicsG1AltListType, d.graphicsG1List);
        return ParseGraphicsG1List(list284.empty() ? Selected(kGraphicsG1ListType, d.graphicsG1List) : list284);
    }

    static inline std::vector<int> models_;
};

std::string Trace(int model)
{
    return "model " + std::to_string(model);
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
    // A string name is not one the driver can select.
    reinterpret_cast<std::vector<int>*>(param)->push_back(
        IS_INTRESOURCE(name) ? int(reinterpret_cast<ULONG_PTR>(name)) : -1);
    return TRUE;
}

// The names of one resource type in the library.
std::vector<int> NamesOf(HMODULE module, int type)
{
    std::vector<int> names;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(type), CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// Whether the bytes hold a whole resource of the type.
bool Parses(int type, std::span<const std::uint8_t> b)
{
    switch (type) {
    case kResidentFontType: return ParseResidentFont(b).has_value();
    case kTrayListType: return ParseTrayList(b).has_value();
    case kDescriptionType: return b.size() == kDescriptionSize;
    case kResolutionListType: return ParseResolutionList(b).has_value();
    case kGraphicsModeListType: return ParseModeList(b).has_value();
    case kGraphicsG1ListType:
    case kGraphicsG1AltListType: return ParseGraphicsG1List(b).has_value();
    case kPrintModeListType: return ParsePrintModeList(b).has_value();
    case kPaperTypeListType: return ParsePaperTypeList(b).has_value();
    case kDefaultPaperTypeType: return ParseDefaultPaperTypes(b).has_value();
    case kColourC3ListType:
    case kHandlingOptionListType:
    case kColourOptionListType: return ParseOptionList(b).has_value();
    case kShortOptionListType: return ParseOptionList(b, kMaxShortOptions).has_value();
    case kOutputBinListType: return ParseOutputBinList(b).has_value();
    case kFontSetListType: return ParseFontSetList(b).has_value();
    case kInputOptionsType:
    case kOutputOptionsType: return ParseInstallableOptions(b).has_value();
    case kPaperLimitsType: return ParsePaperLimits(b).has_value();
    case kPageTemplateSetType: return ParsePageTemplateSet(b).has_value();
    case kFeatureLayoutType: return ParseFeatureLayout(b).has_value();
    case kMediaListType: return ParseMediaList(b).has_value();
    }
    return false;
}

bool Contains(std::span<const OptionPair> options, int value)
{
    return std::any_of(options.begin(), options.end(), [&](const OptionPair& o) { return o.value == value; });
}

TEST_F(ModelResourcesTest, EveryModelHasADistinctNameAndADescription)
{
    ASSERT_GE(models_.size(), 3u);
    std::set<std::string> lowered;
    for (int n : models_) {
        SCOPED_TRACE(Trace(n));
        const std::string name = *LoadModelName(library_, n);
        EXPECT_LT(name.size(), kModelNameSize) << "the devmode keeps 31 characters and a zero";
        std::string lower = name;
        CharLowerBuffA(lower.data(), DWORD(lower.size()));
        EXPECT_TRUE(lowered.insert(lower).second) << name << " twice";
        EXPECT_EQ(LoadDescriptionBytes(library_, n).size(), kDescriptionSize);
    }
    const int past = int(models_.size());
    EXPECT_TRUE(LoadDescriptionBytes(library_, past).empty()) << "a description without a name";
    EXPECT_TRUE(LoadModelResource(library_, kDescriptionType, kDescriptionName + past).empty());
}

TEST_F(ModelResourcesTest, ModelsAreFoundByNameWithoutCase)
{
    EXPECT_EQ(LoadModelName(library_, 0), "Qelbrin QV-5 PCL") << "the driver the tests install";
    const struct {
        const char* name;
        std::optional<int> model;
    } cases[] = {
        {"Qelbrin QV-5 PCL", 0},        {"QELBRIN qv-5 pcl", 0},   {"Qelbrin QV-5n PCL", 1},
        {"qelbrin qv-5C pcl", 2},       {"Qelbrin QV-5", std::nullopt},
        {"Qelbrin QV-5 PCL ", std::nullopt}, {"", std::nullopt},  {"Brevik 4100", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindModelNumber(library_, c.name), c.model) << '"' << c.name << '"';
    for (int n : models_)
        EXPECT_EQ(FindModelNumber(library_, *LoadModelName(library_, n)), n) << Trace(n);
    EXPECT_EQ(FindModelNumber(nullptr, "Qelbrin QV-5 PCL"), std::nullopt);
    EXPECT_EQ(LoadModelName(library_, -1), std::nullopt);
}

TEST_F(ModelResourcesTest, MissingResourcesLoadEmpty)
{
    const struct {
        HMODULE module;
        int type, name;
    } absent[] = {
        {library_, kTrayListType, 33},  {library_, 287, 1},      {library_, kTrayListType, 0},
        {library_, 0, 1},               {library_, kTrayListType, 0x10000},
        {nullptr, kTrayListType, 1},    {library_, -259, 1},
    };
    for (const auto& a : absent)
        EXPECT_TRUE(LoadModelResource(a.module, a.type, a.name).empty()) << a.type << "/" << a.name;

    HRSRC found = FindResourceW(library_, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(kTrayListType));
    ASSERT_TRUE(found);
    const auto bytes = LoadModelResource(library_, kTrayListType, 2);
    EXPECT_EQ(bytes.size(), SizeofResource(library_, found));
    EXPECT_EQ(bytes.data(), LockResource(LoadResource(library_, found)));
}

TEST_F(ModelResourcesTest, EveryResourceParsesUnderAPermittedName)
{
    for (const TypeNames& t : kTypeNames) {
        for (int name : NamesOf(library_, t.type)) {
            SCOPED_TRACE("type " + std::to_string(t.type) + " name " + std::to_string(name));
            EXPECT_GE(name, t.first);
            EXPECT_LE(name, t.last);
            EXPECT_TRUE(Parses(t.type, LoadModelResource(library_, t.type, name)));
        }
    }
    for (const int unused : {265, 268, 269, 271, 273, 280, 282})
        EXPECT_TRUE(NamesOf(library_, unused).empty()) << "type " << unused;
}

TEST_F(ModelResourcesTest, DescriptionsSelectExistingResources)
{
    for (int n : models_) {
        SCOPED_TRACE(Trace(n));
        const ModelDescription d = Description(n);
        const struct {
            int type;
            std::uint16_t word;
        } selected[] = {
            {kTrayListType, d.trayList},           {kResolutionListType, d.resolutionList},
            {kGraphicsModeListType, d.graphicsModeList},           {kPrintModeListType, d.printModeList},
            {kPaperTypeListType, d.trayList},     {kDefaultPaperTypeType, d.trayList},
            {kColourC3ListType, d.colourC3List}, {kShortOptionListType, d.shortOptionList},
            {kOutputBinListType, d.outputBinList}, {kHandlingOptionListType, d.handlingOptionList},
            {kFontSetListType, d.fontSetList},     {kInputOptionsType, d.inputOptions},
            {kOutputOptionsType, d.outputOptions}, {kPaperLimitsType, d.paperLimits},
            {kPageTemplateSetType, d.pageTemplateSet}, {kFeatureLayoutType, d.featureLayout},
            {kColourOptionListType, d.colourOptionList},
        };
        for (const auto& s : selected)
            EXPECT_TRUE(Parses(s.type, Selected(s.type, s.word)))
                << "type " << s.type << " name " << SelectedName(s.word);
        EXPECT_TRUE(OptionsOf231(d)) << "neither type 263 nor 284 under " << SelectedName(d.graphicsG1List);

        const auto trays = ParseTrayList(Selected(kTrayListType, d.trayList));
        ASSERT_TRUE(trays);
        for (const TrayEntry& t : trays->entries)
            EXPECT_TRUE(ParseMediaList(LoadModelResource(library_, kMediaListType, t.mediaList)))
                << "tray " << t.code << " names media list " << t.mediaList;
    }
}

TEST_F(ModelResourcesTest, TrayListsAgreeWithTheInstallableOptions)
{
    for (int n : models_) {
        SCOPED_TRACE(Trace(n));
        const ModelDescription d = Description(n);
        const auto trays = ParseTrayList(Selected(kTrayListType, d.trayList));
        const auto inputs = ParseInstallableOptions(Selected(kInputOptionsType, d.inputOptions));
        ASSERT_TRUE(trays && inputs);
        ASSERT_FALSE(trays->entries.empty());
        ASSERT_TRUE(DefaultTray(*trays)) << "default index " << trays->header.defaultIndex;

        const std::uint16_t installed = inputs->header.defaultValue;
        std::uint16_t installable = 0;
        for (const InstallableOption& o : inputs->entries) {
            EXPECT_EQ(o.mask & installed, 0) << "option " << o.mask << " is installed already";
            installable |= o.mask;
        }
        EXPECT_NE(DefaultTray(*trays)->mask & installed, 0) << "the default tray is not installed";
        std::set<int> codes, numbers;
        for (const TrayEntry& t : trays->entries) {
            SCOPED_TRACE("tray code " + std::to_string(t.code));
            EXPECT_TRUE(codes.insert(t.code).second) << "code twice";
            EXPECT_TRUE(numbers.insert(t.number).second) << "tray number twice";
            EXPECT_LE(t.number, kMaxTrayNumber) << "GetTrayID names 0 to 14";
            EXPECT_LE(t.minWeight, t.maxWeight);
            if (t.flags & kTrayOptional) {
                EXPECT_EQ(t.mask & ~installable, 0) << "an optional tray no option installs";
            } else {
                EXPECT_EQ(t.mask & ~installed, 0) << "a standard tray outside the installed mask";
            }
        }
    }
}

TEST_F(ModelResourcesTest, ResolutionsAndPrintModesAgree)
{
    for (int n : models_) {
        SCOPED_TRACE(Trace(n));
        const ModelDescription d = Description(n);
        const auto resolutions = ParseResolutionList(Selected(kResolutionListType, d.resolutionList));
        const auto modes = ParsePrintModeList(Selected(kPrintModeListType, d.printModeList));
        ASSERT_TRUE(resolutions && modes);
        const ResolutionEntry* preset = DefaultResolution(*resolutions);
        ASSERT_TRUE(preset) << "default index " << resolutions->defaultIndex;
        EXPECT_NE(preset->nameIndex, 0) << "the default is not offered";
        for (std::size_t i = 0; i < kResolutionCount; ++i) {
            const ResolutionEntry& e = resolutions->entries[i];
            EXPECT_TRUE(e.dpi == 300 || e.dpi == 600 || e.dpi == 1200) << "entry " << i << ": " << e.dpi;
            // A short list repeats its last entry, which the builders skip.
            if (i > 0 && e.nameIndex == 0) {
                EXPECT_EQ(e.dpi, resolutions->entries[i - 1].dpi) << "entry " << i;
            }
        }

        ASSERT_FALSE(modes->entries.empty());
        EXPECT_GE(modes->entries.front().maxResolution, preset->dpi)
            << "the default print mode does not allow the default resolution";
        std::set<std::pair<int, int>> pairs;
        for (const PrintModeEntry& m : modes->entries) {
            EXPECT_TRUE(pairs.insert({m.firstValue, m.secondValue}).second) << m.firstValue << "/" << m.secondValue << " twice";
            EXPECT_LE(m.firstValue, 255);
            EXPECT_LE(m.secondValue, 255);
            // Every print mode is available at some resolution of the list.
            EXPECT_TRUE(std::any_of(resolutions->entries.begin(), resolutions->entries.end(),
                                    [&](const ResolutionEntry& e) { return e.dpi <= m.maxResolution; }))
                << m.firstValue << "/" << m.secondValue;
        }
    }
}

TEST_F(ModelResourcesTest, OptionListDefaultsAreAmongTheirOptions)
{
    for (int n : models_) {
        SCOPED_TRACE(Trace(n));
        const ModelDescription d = Description(n);
        const auto modes = ParseModeList(Selected(kGraphicsModeListType, d.graphicsModeList));
        ASSERT_TRUE(modes);
        EXPECT_TRUE(Contains(modes->entries, modes->header.defaultMode)) << "mode " << modes->header.defaultMode;
        EXPECT_LE(modes->header.defaultMode, 255) << "devmode 229 is a byte";

        const bool has284 = !Selected(kGraphicsG1AltListType, d.graphicsG1List).empty();
        const auto options = OptionsOf231(d);
        ASSERT_TRUE(options);
        const int preset = options->header.defaultValue;
        EXPECT_TRUE(Contains(options->entries, has284 && preset != 0 ? preset + 5 : preset)) << preset;

        // Paper types per source: every tray takes some, at most 19, none twice, and its default
        // is one of them.
        const auto trays = ParseTrayList(Selected(kTrayListType, d.trayList));
        const auto types = ParsePaperTypeList(Selected(kPaperTypeListType, d.trayList));
        const auto chosen = ParseDefaultPaperTypes(Selected(kDefaultPaperTypeType, d.trayList));
        ASSERT_TRUE(trays && types && chosen);
        ASSERT_EQ(chosen->entries.size(), trays->entries.size());
        std::map<int, std::set<int>> perTray;
        for (const PaperTypeEntry& t : types->entries) {
            EXPECT_LT(t.tray, trays->entries.size()) << "type " << t.value;
            EXPECT_TRUE(perTray[t.tray].insert(t.value).second) << "type " << t.value << " twice on tray " << t.tray;
            EXPECT_LE(t.name, 26) << "the paper-type names end at 26";
        }
        for (std::size_t i = 0; i < trays->entries.size(); ++i) {
            EXPECT_FALSE(perTray[int(i)].empty()) << "tray " << i;
            EXPECT_LE(perTray[int(i)].size(), kMaxTypesPerTray) << "tray " << i;
            EXPECT_TRUE(perTray[int(i)].count(chosen->entries[i].value)) << "tray " << i << " default";
        }

        const auto bins = ParseOutputBinList(Selected(kOutputBinListType, d.outputBinList));
        const auto outputs = ParseInstallableOptions(Selected(kOutputOptionsType, d.outputOptions));
        ASSERT_TRUE(bins && outputs);
        std::uint16_t offered = outputs->header.defaultValue;
        for (const InstallableOption& o : outputs->entries)
            offered |= o.mask;
        ASSERT_FALSE(bins->entries.empty());
        EXPECT_EQ(bins->entries.front().requiredOptions, 0) << "the default bin needs an option";
        for (const OutputBinEntry& b : bins->entries)
            EXPECT_EQ(b.requiredOptions & ~offered, 0) << "bin " << b.value << " needs an option the model lacks";

        const auto limits = ParsePaperLimits(Selected(kPaperLimitsType, d.paperLimits));
        ASSERT_TRUE(limits);
        EXPECT_LT(limits->minWidth, limits->maxWidth);
        EXPECT_LT(limits->minLength, limits->maxLength);
    }
}

// The resource that supplies the option list of a list feature, by feature identifier.
int ListSource(int feature, const ModelDescription& d, std::uint16_t& word)
{
    switch (feature) {
    case 13: word = d.graphicsModeList; return kGraphicsModeListType;
    case 15: word = d.graphicsG1List; return kGraphicsG1ListType;
    case 79: word = d.graphicsG1List; return kGraphicsG1AltListType;
    case 16: word = d.printModeList; return kPrintModeListType;
    case 29: word = d.trayList; return kPaperTypeListType;
    case 42: word = d.colourC3List; return kColourC3ListType;
    case 57: word = d.outputBinList; return kOutputBinListType;
    case 58: word = d.handlingOptionList; return kHandlingOptionListType;
    case 30: case 34: case 38: word = d.shortOptionList; return kShortOptionListType;
    case 104: case 105: case 106: word = d.colourOptionList; return kColourOptionListType;
    }
    return 0;
}

TEST_F(ModelResourcesTest, FeatureLayoutsNameFeaturesTheModelCanFill)
{
    for (int n : models_) {
        SCOPED_TRACE(Trace(n));
        const ModelDescription d = Description(n);
        const auto layout = ParseFeatureLayout(Selected(kFeatureLayoutType, d.featureLayout));
        ASSERT_TRUE(layout);
        std::set<int> seen;
        for (const FeatureItem& item : layout->entries) {
            SCOPED_TRACE("feature " + std::to_string(item.feature));
            EXPECT_TRUE(item.feature >= 1 && item.feature <= kLastFeature && item.feature != kHeaderFeature);
            EXPECT_TRUE(item.type >= 1 && item.type <= kLastEntryType) << "type " << item.type;
            EXPECT_TRUE(seen.insert(item.feature).second) << "listed twice";
            EXPECT_LE(item.minimum, item.maximum);
            EXPECT_TRUE(item.constrained == 0 || item.constrained == 1);
            std::uint16_t word = 0;
            if (const int type = ListSource(item.feature, d, word)) {
                EXPECT_FALSE(Selected(type, word).empty()) << "no type " << type << " list";
            }
        }
        for (const int required : {1, 2, 3, 4, 50})
            EXPECT_TRUE(seen.count(required)) << "feature " << required << " missing";
        const bool colour = d.colourFlags & kFlags400Colour;
        EXPECT_EQ(seen.count(45) == 1, colour) << "the colour feature";
        const bool duplex = d.paperHandlingFlags & (kFlags396DuplexUnit | kFlags396DuplexOption);
        EXPECT_EQ(seen.count(6) == 1, duplex) << "the duplex feature";

        const auto pages = ParsePageTemplateSet(Selected(kPageTemplateSetType, d.pageTemplateSet));
        ASSERT_TRUE(pages);
        for (const std::size_t slot : {0, 1, 2, 3, 4, 7, 9, 10, 11, 12})
            EXPECT_NE(pages->templates[slot], 0) << "slot " << slot + 1 << " has no page";
        EXPECT_EQ(pages->templates[5] != 0, colour) << "colour page";
        EXPECT_EQ(pages->templates[6] != 0, colour) << "advanced colour page";
    }
}

// The page-template sets name the dialog templates of the language library the pages are made
// from.
TEST_F(ModelResourcesTest, PageTemplateSetsNameTheLanguageLibrarysTemplates)
{
    HMODULE language = LoadLibraryExA((qvtest::BinDir() + "\\QVTDX5DL.DLL").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(language) << "QVTDX5DL.DLL: " << GetLastError();
    for (int n : models_) {
        SCOPED_TRACE(Trace(n));
        const auto pages = ParsePageTemplateSet(Selected(kPageTemplateSetType, Description(n).pageTemplateSet));
        ASSERT_TRUE(pages);
        for (std::size_t slot = 0; slot < pages->templates.size(); ++slot) {
            const std::uint16_t id = pages->templates[slot];
            if (id != 0) {
                EXPECT_TRUE(FindResourceW(language, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)))
                    << "slot " << slot + 1 << ": no dialog template " << id;
            }
        }
    }
    FreeLibrary(language);
}

TEST_F(ModelResourcesTest, EveryResidentFontBelongsToAFontSetOfAModel)
{
    std::uint64_t reachable = 0;
    for (int n : models_) {
        const auto sets = ParseFontSetList(Selected(kFontSetListType, Description(n).fontSetList));
        ASSERT_TRUE(sets) << Trace(n);
        for (const FontSetEntry& s : sets->entries)
            reachable |= s.firstMask | std::uint64_t(s.secondMask) << 32;
    }
    const std::vector<int> names = NamesOf(library_, kResidentFontType);
    ASSERT_FALSE(names.empty());
    for (int name : names) {
        const auto font = ParseResidentFont(LoadModelResource(library_, kResidentFontType, name));
        ASSERT_TRUE(font) << "font " << name;
        const std::string face(font->faceName.data(), strnlen(font->faceName.data(), font->faceName.size()));
        SCOPED_TRACE("font " + std::to_string(name) + " " + face);
        EXPECT_FALSE(face.empty());
        EXPECT_LT(face.size(), font->faceName.size()) << "no terminator";
        ASSERT_LT(font->fontSet, 64);
        EXPECT_TRUE(reachable >> font->fontSet & 1) << "set bit " << font->fontSet << " in no model";
        EXPECT_LE(font->firstChar, font->lastChar);
        EXPECT_EQ(font->emUnits == 0, font->pointSize != 0) << "scalable or bitmap";
        EXPECT_EQ((font->flags & kFontScalable) != 0, font->emUnits != 0);
        if (font->flags & kFontFixedPitch) {
            EXPECT_EQ(font->averageWidth, font->maximumWidth);
        }
    }
}

// The family's three kinds of printer, as their descriptions and resources describe them.
TEST_F(ModelResourcesTest, FamilyHasADesktopAWorkgroupAndAColourModel)
{
    const auto traysOf = [](const ModelDescription& d) { return *ParseTrayList(Selected(kTrayListType, d.trayList)); };
    const auto count = [](const TrayList& l, std::uint16_t flag, bool set) {
        return std::count_if(l.entries.begin(), l.entries.end(), [&](const TrayEntry& t) {
            return ((t.flags & flag) != 0) == set && !(t.flags & kTrayAutomatic) && !(t.flags & kTrayManual);
        });
    };
    const auto duplex = [](const ModelDescription& d) {
        return (d.paperHandlingFlags & (kFlags396DuplexUnit | kFlags396DuplexOption)) != 0;
    };
    ASSERT_GE(models_.size(), 3u);

    const ModelDescription desktop = Description(0);
    const TrayList desktopTrays = traysOf(desktop);
    EXPECT_FALSE(duplex(desktop));
    EXPECT_FALSE(desktop.colourFlags & kFlags400Colour);
    EXPECT_EQ(count(desktopTrays, kTrayOptional, false), 1) << "one tray";
    EXPECT_EQ(count(desktopTrays, kTrayOptional, true), 0);
    EXPECT_TRUE(std::any_of(desktopTrays.entries.begin(), desktopTrays.entries.end(),
                            [](const TrayEntry& t) { return t.flags & kTrayManual; }))
        << "manual feed";

    const ModelDescription workgroup = Description(1);
    EXPECT_TRUE(duplex(workgroup));
    EXPECT_FALSE(workgroup.colourFlags & kFlags400Colour);
    EXPECT_EQ(count(traysOf(workgroup), kTrayOptional, true), 2) << "two optional trays";
    const auto outputs = ParseInstallableOptions(Selected(kOutputOptionsType, workgroup.outputOptions));
    ASSERT_TRUE(outputs);
    EXPECT_TRUE(std::any_of(outputs->entries.begin(), outputs->entries.end(),
                            [](const InstallableOption& o) { return o.kind == kOptionOutput; }))
        << "an output bin option";

    const ModelDescription colour = Description(2);
    EXPECT_TRUE(colour.colourFlags & kFlags400Colour);
    const auto adjust = ParseOptionList(Selected(kColourOptionListType, colour.colourOptionList));
    ASSERT_TRUE(adjust);
    EXPECT_GT(adjust->entries.size(), 1u);
    bool special = false;
    for (const TrayEntry& t : traysOf(colour).entries) {
        const auto media = ParseMediaList(LoadModelResource(library_, kMediaListType, t.mediaList));
        ASSERT_TRUE(media);
        for (const MediaEntry& m : media->entries)
            special = special || m.number >= kFirstSpecialMedia;
    }
    EXPECT_TRUE(special) << "glossy media on the colour model";
}

// The first description holds the words the devmode defaults are documented from.
TEST_F(ModelResourcesTest, FirstDescriptionHoldsTheDocumentedWords)
{
    const auto bytes = LoadDescriptionBytes(library_, 0);
    ASSERT_EQ(bytes.size(), kDescriptionSize);
    const struct {
        int offset, value;
    } words[] = {
        {340, 2}, {342, 64}, {350, 12}, {354, 0}, {356, 1}, {358, 1}, {360, 1}, {364, 1},
        {380, 1}, {382, 1}, {362, 0}, {384, 0}, {386, 0}, {392, 1}, {394, 1}, {396, 3},
        {398, 0}, {400, 0}, {402, 1}, {404, 1}, {408, 255}, {410, 2}, {414, 0}, {416, 0},
    };
    for (const auto& w : words) {
        const std::size_t at = std::size_t(w.offset) - kDevmodeDescription;
        EXPECT_EQ(bytes[at] | bytes[at + 1] << 8, w.value) << "offset " << w.offset;
    }
}

}  // namespace
