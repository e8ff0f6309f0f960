// The feature handlers with each model's environment as QVTDX5DA's resources and Wine's spooler
// give it: every special value round-trips for the three models, form names come from the
// printer's record lists, the code page is the system's unless set.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <string>

#include "CfgEngine.h"
#include "CfgFeatures.h"
#include "CfgTestUtil.h"
#include "DriverLibraryFixture.h"
#include "ModelData.h"
#include "ModelResources.h"
#include "PrinterList.h"
#include "TestSupport.h"

using namespace cfgtest;
using namespace model;

namespace {

constexpr char kFormsDriver[] = "Qelbrin QV-5n PCL";
constexpr char kFormsPrinter[] = "QV Feature Forms Printer";

class ModelFeaturesTest : public qvtest::DriverLibraryTest {
protected:
    static void SetUpTestSuite()
    {
        DriverLibraryTest::SetUpTestSuite();
        printerReady_ = qvtest::InstallTestDriver(kFormsDriver) &&
                        (qvtest::AddTestPrinter(kFormsPrinter, kFormsDriver) ||
                         GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
    }
    void SetUp() override { ASSERT_TRUE(library_) << "QVTDX5DA.DLL did not load: " << GetLastError(); }

    // A devmode of the model as the default builder leaves it: its name, its description and the
    // printer name, over the engine tests' defaults.
    static Bytes ModelDevmode(std::string_view name, const std::string& printer = "")
    {
        Bytes d = DefaultDevmode();
        const auto number = FindModelNumber(library_, name);
        const auto description = number ? LoadDescriptionBytes(library_, *number)
                                         : std::span<const std::uint8_t>();
        if (description.empty())
            return {};
        std::copy(name.begin(), name.end(), d.begin() + dm::kModelName);
        std::copy(printer.begin(), printer.end(), d.begin() + 271);
        std::copy(description.begin(), description.end(), d.begin() + kDevmodeDescription);
        return d;
    }

    static inline bool printerReady_ = false;
};

void PutText(Bytes& devmode, std::size_t offset, std::string_view text, bool wide = false)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        devmode[offset + (wide ? 2 * i : i)] = std::uint8_t(text[i]);
}

// Every value a feature handler carries, changed to one the model accepts.
void ChangeEverySpecialValue(Bytes& d, const ModelEnvironment& env)
{
    struct Value {
        std::uint16_t offset;
        std::int16_t width;
        std::int64_t value;
    };
    const Value values[] = {
        {462, -2, 0x0B},  {464, -2, 1},     {452, 1, 3},      {454, 1, 4},     {456, 2, 0x1234},
        {816, 4, 0x0F},   {820, 4, 0x100},  {1092, 1, 2},     {1093, 1, 0},    {1240, -1, -20},
        {1241, 1, 3},     {1242, 1, 4},     {1244, -1, -1},   {1247, -1, 7},   {196, 4, 257},
        {1227, 1, 1},     {230, 1, 4},      {466, 1, 1},      {467, 1, 0},     {188, 4, 2},
        {192, 4, 3},      {236, 1, 1},      {306, 1, 1},      {449, 1, 1},     {451, 1, 1},
        {669, -1, -3},    {670, 1, 0x41},   {674, 1, 4},      {1079, 1, 1},    {1229, 1, 1},
        {78, -2, 256},    {82, -2, 1500},   {80, -2, 2500},   {654, 1, 2},     {658, -1, -100},
        {660, -1, 40},    {661, 1, 1},      {663, -1, -9},    {665, 1, 3},     {668, -1, 33},
        // A print mode every model lists at 600 dpi, and the print-mode byte of the model.
        {233, 1, 2},      {234, 1, 2},      {std::uint16_t(PrintModeByteOffset(d)), 1, 2},
    };
    for (const Value& v : values)
        Set(d, v.offset, v.width, v.value);
    Set(d, 88, -2, env.Trays().back().code);
    for (std::size_t i = 0; i < 11; ++i)
        Set(d, 606 + 4 * i, 4, std::int64_t(0x01000000) * std::int64_t(i + 1) + 7);
    PutText(d, 1125, "4711");
    PutText(d, 1142, "WORKSTATION-12");
    PutText(d, 1183, "j.doe");
    PutText(d, 824, "j.doe");
    PutText(d, 849, "0042");
    PutText(d, 468, "Confidential", true);
    PutText(d, 532, "Draft", true);
}

TEST_F(ModelFeaturesTest, EverySpecialValueRoundTripsForEachModel)
{
    for (const auto& m : family::kModels) {
        SCOPED_TRACE(std::string(m.name));
        Bytes source = ModelDevmode(m.name);
        ASSERT_FALSE(source.empty());
        ModelEnvironment env = LoadModelEnvironment(library_, source);
        ASSERT_FALSE(env.Trays().empty());
        ChangeEverySpecialValue(source, env);

        const Bytes data = BuildConfigData(source, &env, kOpAll, 1);
        ASSERT_FALSE(data.empty());
        Bytes back = ModelDevmode(m.name);
        // A model whose print-mode byte is 235 carries 234 in no element: the target's own value
        // stays (and is reconciled with the model's print modes).
        if (PrintModeByteOffset(back) != 234)
            back[234] = source[234];
        ModelEnvironment reader = LoadModelEnvironment(library_, back);
        ASSERT_TRUE(ReadConfigData(data, back, 0, &reader));
        for (std::size_t i = 0; i < back.size(); ++i)
            EXPECT_EQ(back[i], source[i]) << "offset " << i;
    }
}

TEST_F(ModelFeaturesTest, TheColourModelKeepsItsPrintModeByteApart)
{
    const Bytes colour = ModelDevmode("Qelbrin QV-5c PCL");
    const Bytes mono = ModelDevmode("Qelbrin QV-5n PCL");
    ASSERT_FALSE(colour.empty());
    ASSERT_FALSE(mono.empty());
    EXPECT_EQ(PrintModeByteOffset(colour), 235u);
    EXPECT_EQ(PrintModeByteOffset(mono), 234u);
}

TEST_F(ModelFeaturesTest, TheCodePageIsTheSystemsUnlessSet)
{
    Bytes devmode = ModelDevmode(kFormsDriver);
    ASSERT_FALSE(devmode.empty());
    Set(devmode, 1227, 1, 1);
    ModelEnvironment env = LoadModelEnvironment(library_, devmode);
    EXPECT_EQ(env.AnsiCodePage(), GetACP());
    env.SetAnsiCodePage(949);
    const auto leaves = Leaves(BuildConfigData(devmode, &env));
    const Leaf* flag = FindLeaf(leaves, "1/20202/2/4/1");
    ASSERT_NE(flag, nullptr);
    EXPECT_EQ(flag->value, 13u);
}

TEST_F(ModelFeaturesTest, FormNamesComeFromThePrintersRecordLists)
{
    ASSERT_TRUE(printerReady_) << "test printer could not be set up";
    UserForm form;
    form.number = 513;
    form.name = "Label 4x6";
    ASSERT_TRUE(AddUserForm(kFormsPrinter, form));
    ASSERT_TRUE(AddNamedRecord(kFormsPrinter, kFormAssociationList, 641, "A4 from tray 2"));

    struct Case {
        std::int16_t paper;
        std::string name;  // empty: no element 1/1/4
    };
    const Case cases[] = {{513, "Label 4x6"}, {641, "A4 from tray 2"}, {512, ""}, {640, ""}, {9, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.paper);
        Bytes devmode = ModelDevmode(kFormsDriver, kFormsPrinter);
        ASSERT_FALSE(devmode.empty());
        Set(devmode, 78, -2, c.paper);
        ModelEnvironment env = LoadModelEnvironment(library_, devmode);
        EXPECT_EQ(env.FormName(c.paper), c.name);

        const Bytes data = BuildConfigData(devmode, &env);
        const Bytes text(c.name.begin(), c.name.end());
        const Bytes expected = c.name.empty() ? Bytes() : Elem(4, {Elem(1, {Raw(1, text), Val(2, 0)})});
        EXPECT_EQ(FindElement(data, "1/1/4"), expected);
    }

    // A devmode that names no printer has no form names.
    Bytes nameless = ModelDevmode(kFormsDriver);
    Set(nameless, 78, -2, 513);
    EXPECT_EQ(LoadModelEnvironment(library_, nameless).FormName(513), "");
}

}  // namespace
