// The document and device sheets of QVTDX5DA.DLL through their reasons, on printers of the three
// models in Wine's spooler, with a property-sheet service of the test's own and the test dialog
// library: the sheet start, the feature block it hands to DialogControl, the working devmode
// the pages see through CallBackAccess 36, the save steps of a confirmed sheet and the nothing
// of a cancelled one, the page adder's failures and the refresh procedure's guard.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "EntryChanges.h"
#include "FeatureTestUtil.h"
#include "ModelData.h"
#include "SheetFixture.h"

using namespace sheettest;
namespace dm = devmode;

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const model::family::ModelData& ModelOf(const std::string& name)
{
    for (const auto& m : model::family::kModels)
        if (m.name == name)
            return m;
    return model::family::kModels[0];
}

std::vector<model::FeatureItem> LayoutOf(const std::string& name)
{
    std::vector<model::FeatureItem> items;
    const int wanted = model::SelectedName(ModelOf(name).description.featureLayout);
    for (const auto& layout : model::family::kFeatureLayouts)
        if (layout.name == wanted)
            items.assign(layout.entries.begin(), layout.entries.end());
    return items;
}

std::string TemplatesOf(const std::string& name)
{
    std::string text;
    const int wanted = model::SelectedName(ModelOf(name).description.pageTemplateSet);
    for (const auto& set : model::family::kPageTemplateSets)
        if (set.name == wanted)
            for (std::uint16_t id : set.record.templates)
                text += " " + std::to_string(id);
    return text;
}

class SheetTest : public SheetLibraryTest {
protected:
    fbtest::Resources resources_;
};

TEST_F(SheetTest, InitBuildsEachModelsBlockAndHandsItToDialogControl)
{
    for (const char* model : kModels) {
        SCOPED_TRACE(model);
        qvtest::TempDir dir;
        qvtest::CallRecord pages("QVTESTDIALOG_RECORD", dir.File("pages.txt"));
        HANDLE printer = Printer(model);
        Sheet sheet(documentSheets_, printer, Name());
        ASSERT_EQ(sheet.Init(), 1);
        SheetContext* c = sheet.Context();
        ASSERT_TRUE(IsSheetContext(c));
        EXPECT_EQ(sheet.Info().Result, 0);
        EXPECT_EQ(service_.pages, 1);
        EXPECT_THAT(pages.Calls(), ElementsAre("DialogControl 10 block printer" + TemplatesOf(model), "page added"));

        const auto items = LayoutOf(model);
        std::size_t sum = 0;
        for (const auto& item : items)
            sum += feature::EntrySize(item.type);
        ASSERT_EQ(c->featureBlockSize, 1540 + sum + 14);
        auto* block = static_cast<std::uint8_t*>(static_cast<void*>(c->featureBlock));
        auto* saved = static_cast<std::uint8_t*>(static_cast<void*>(c->savedFeatureBlock));
        EXPECT_EQ(c->featureEntries[65], block);
        EXPECT_EQ(c->savedFeatureEntries[65], saved);
        SheetContext* headerContext = nullptr;
        std::memcpy(&headerContext, block + feature::kHeaderContext, sizeof headerContext);
        EXPECT_EQ(headerContext, c);
        std::size_t at = feature::kHeaderSize;
        for (const auto& item : items) {
            EXPECT_EQ(c->featureEntries[item.feature], block + at) << "feature " << item.feature;
            EXPECT_EQ(c->savedFeatureEntries[item.feature], saved + at) << "feature " << item.feature;
            at += feature::EntrySize(item.type);
        }
        EXPECT_TRUE(std::equal(block, block + c->featureBlockSize, saved));
        EXPECT_THAT(c->pageDisplay, ElementsAre(1, 1, 1, 1, 1, 1, 1, 1, 3, 2));
        EXPECT_EQ(c->opened, 1u);
        EXPECT_EQ(sheet.Destroy(), 1);
        EXPECT_THAT(service_.results, ElementsAre(0)) << "the sheet's result at close";
        service_ = {};
    }

    qvtest::TempDir dir;
    qvtest::CallRecord pages("QVTESTDIALOG_RECORD", dir.File("pages.txt"));
    HANDLE devicePrinter = Printer(kWorkgroup);
    Sheet device(deviceSheets_, devicePrinter, Name());
    device.AsDevice();
    ASSERT_EQ(device.Init(), 1);
    EXPECT_THAT(pages.Calls(), ElementsAre("DialogControl 3 block printer" + TemplatesOf(kWorkgroup), "page added"));
    EXPECT_THAT(device.Context()->pageDisplay, ElementsAre(1, 1, 2, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(device.Context()->opened, 0u);
    EXPECT_EQ(device.Destroy(), 1);
}

TEST_F(SheetTest, CallBackAccess36IsTheWorkingDevmodeWithTheEntriesWrittenBack)
{
    for (const char* model : kModels) {
        SCOPED_TRACE(model);
        HANDLE sheetPrinter = Printer(model);
        Sheet sheet(documentSheets_, sheetPrinter, Name());
        ASSERT_EQ(sheet.Init(), 1);
        SheetContext* c = sheet.Context();
        WORD result = 0xBEEF;
        callBack_(c, kCbDevmode, nullptr, &result);
        EXPECT_EQ(result, 1256) << "a size query";

        // The working devmode with the block written back, by the family's own resources.
        const auto expected = [&] {
            Bytes d = sheet.Working();
            feature::WriteBack(sheet.Block(), d, resources_);
            dm::UpdateChecksum(d);
            return d;
        };
        Bytes copy(dm::kSize + 4, 0xAB);
        callBack_(c, kCbDevmode, copy.data(), &result);
        EXPECT_EQ(result, 1256);
        EXPECT_EQ(Bytes(copy.begin(), copy.begin() + dm::kSize), expected());
        EXPECT_EQ(Bytes(copy.begin() + dm::kSize, copy.end()), Bytes(4, 0xAB)) << "1256 bytes only";

        const Bytes working = sheet.Working();
        sheet.SetCurrent(3, 5);
        sheet.SetCurrent(1, 2);
        sheet.SetCurrent(2, 256);
        callBack_(c, kCbDevmode, copy.data(), &result);
        EXPECT_EQ(Bytes(copy.begin(), copy.begin() + dm::kSize), expected());
        EXPECT_EQ(dm::Get(copy, dm::dmCopies), 5);
        EXPECT_EQ(dm::Get(copy, dm::dmOrientation), 2);
        EXPECT_EQ(dm::Get(copy, dm::dmPaperSize), 256);
        EXPECT_EQ(dm::Get(copy, dm::dmPaperWidth), c->customPaperLimits[0] * 254 / 1200)
            << "the model's largest user paper";
        EXPECT_EQ(dm::Get(copy, dm::dmPaperLength), c->customPaperLimits[2] * 254 / 1200);
        EXPECT_TRUE(dm::ChecksumMatches(std::span(copy).first(dm::kSize)));
        EXPECT_EQ(sheet.Working(), working) << "the working devmode waits for the sheet's result";
        sheet.Destroy();
    }
}

// Hardware-following values come from the installed configuration when a sheet starts, not
// from the devmode it was given.
bool FollowsTheHardware(int id)
{
    static const std::set<int> ids = {11, 20, 23, 24, 70, 82, 84, 108};
    return ids.count(id) != 0;
}

TEST_F(SheetTest, EveryFeatureRoundTripsThroughTheSheetsOutputIntoTheNextSheet)
{
    for (const char* model : kModels) {
        SCOPED_TRACE(model);
        HANDLE printer = Printer(model);
        Sheet first(documentSheets_, printer, Name());
        ASSERT_EQ(first.Init(), 1);
        const auto items = LayoutOf(model);
        for (const auto& row : fbtest::TypeRows())
            for (const auto& item : items)
                if (item.type == row.type)
                    row.change({first.Entry(item.feature), feature::EntrySize(item.type)});
        const Bytes changed(first.Block().begin(), first.Block().end());
        EXPECT_EQ(first.SetResult(CPSUI_OK), 1);
        EXPECT_TRUE(dm::ChecksumMatches(first.Out()));
        first.Destroy();

        Sheet second(documentSheets_, printer, Name(), DM_COPY, reinterpret_cast<const DEVMODEW*>(first.Out().data()));
        ASSERT_EQ(second.Init(), 1);
        const feature::RecordIndex index = feature::IndexBlock(changed);
        for (const auto& row : fbtest::TypeRows())
            for (const auto& item : items) {
                if (item.type != row.type || !fbtest::WrittenBack(item.feature) || FollowsTheHardware(item.feature))
                    continue;
                SCOPED_TRACE("feature " + std::to_string(item.feature));
                const auto before = feature::RecordAt(std::span<const std::uint8_t>(changed), index[item.feature]);
                row.expectSame(before, {second.Entry(item.feature), feature::EntrySize(item.type)});
            }
        second.Destroy();
    }
}

struct Saved {
    Bytes currentDevmode, printerConfig, config;
};
Saved SavedValues(HANDLE printer)
{
    return {PrinterValue(printer, L"CurrentDevmode"), PrinterValue(printer, L"PrinterConfig"),
            PrinterValue(printer, L"DefDrvCfgData")};
}

TEST_F(SheetTest, AConfirmedSheetSavesAndHandsItsDevmodeOverACancelledOneSavesNothing)
{
    enum class Close { SetResultOk, OkFlagsOnly, SetResultCancel, Nothing };
    const struct {
        const char* what;
        Close close;
        DWORD mode;
        bool saved;
    } cases[] = {
        {"SET_RESULT with OK", Close::SetResultOk, DM_COPY, true},
        {"both OK-pressed flags and no SET_RESULT, as under Wine", Close::OkFlagsOnly, DM_COPY | DM_UPDATE, true},
        {"SET_RESULT with Cancel, flags set", Close::SetResultCancel, DM_COPY, false},
        {"closed without either", Close::Nothing, DM_COPY, false},
        {"OK for a caller that asked for no devmode", Close::SetResultOk, DM_PROMPT, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HANDLE printer = Printer(kColour);
        Sheet sheet(documentSheets_, printer, Name(), c.mode);
        ASSERT_EQ(sheet.Init(), 1);
        // The start has built and stored the printer's current devmode: what the close saves is
        // compared with that.
        const Saved before = SavedValues(printer);
        sheet.SetCurrent(3, 42);
        if (c.close == Close::SetResultOk) {
            EXPECT_EQ(sheet.SetResult(CPSUI_OK), 1);
        }
        if (c.close == Close::SetResultCancel) {
            EXPECT_EQ(sheet.SetResult(CPSUI_CANCEL), 1);
        }
        if (c.close == Close::OkFlagsOnly || c.close == Close::SetResultCancel)
            sheet.Context()->okPressed[0] = sheet.Context()->okPressed[1] = 1;
        const Bytes out = sheet.Out();
        EXPECT_EQ(sheet.Destroy(), 1);
        const Bytes& handed = c.close == Close::OkFlagsOnly ? sheet.Out() : out;
        const Saved after = SavedValues(printer);
        if (c.saved) {
            EXPECT_EQ(dm::Get(handed, dm::dmCopies), 42);
            EXPECT_TRUE(dm::ChecksumMatches(handed)) << "the checksum is updated before the copy";
            ASSERT_EQ(after.currentDevmode.size(), dm::kSize);
            EXPECT_EQ(dm::Get(after.currentDevmode, dm::dmCopies), 42);
            ASSERT_EQ(after.printerConfig.size(), 32u);
            EXPECT_EQ(after.printerConfig[0], 1);
            EXPECT_FALSE(after.config.empty());
            EXPECT_NE(after.config, before.config) << "configuration data of the new copies";
        } else {
            EXPECT_EQ(sheet.Out(), Bytes(dm::kSize, 0xEE)) << "nothing handed to the caller";
            EXPECT_EQ(after.currentDevmode, before.currentDevmode);
            EXPECT_EQ(after.printerConfig, before.printerConfig);
            EXPECT_EQ(after.config, before.config);
        }
        EXPECT_EQ(Value(printer, L"SWEnable").size(), 1u);
    }
}

TEST_F(SheetTest, ADeviceSheetRecordsWhetherItWasConfirmed)
{
    const struct {
        const char* what;
        bool okFlags;
        bool commit;
        DWORD recorded;
    } cases[] = {
        {"OK, the pages' flags only", true, false, 1},
        {"the pages committed", false, true, 1},
        {"cancelled", false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HANDLE printer = Printer(kWorkgroup);
        Sheet sheet(deviceSheets_, printer, Name());
        sheet.AsDevice();
        ASSERT_EQ(sheet.Init(), 1);
        const Saved before = SavedValues(printer);
        sheet.SetCurrent(20, 16);
        if (c.okFlags)
            sheet.Context()->okPressed[0] = sheet.Context()->okPressed[1] = 1;
        if (c.commit)
            callBack_(sheet.Context(), kCbCommit, nullptr, nullptr);
        EXPECT_EQ(sheet.Destroy(), 1);
        const Bytes ok = Value(printer, L"DCDPrtPropOK");
        ASSERT_EQ(ok.size(), 4u);
        EXPECT_EQ(ok[0], c.recorded);
        const Saved after = SavedValues(printer);
        if (c.recorded) {
            ASSERT_EQ(after.currentDevmode.size(), dm::kSize);
            EXPECT_EQ(dm::Get(after.currentDevmode, dm::kInstalledMemory), 16);
        } else {
            EXPECT_EQ(after.currentDevmode, before.currentDevmode);
        }
    }
}

TEST_F(SheetTest, TheInfoHeaderNamesThePrinter)
{
    HANDLE sheetPrinter = Printer(kDesktop);
    Sheet sheet(documentSheets_, sheetPrinter, Name());
    ASSERT_EQ(sheet.Init(), 1);
    PROPSHEETUI_INFO_HEADER header{};
    header.cbSize = sizeof header;
    EXPECT_EQ(sheet.Reason(PROPSHEETUI_REASON_GET_INFO_HEADER, LPARAM(&header)), 1);
    EXPECT_EQ(header.Flags, PSUIHDRF_PROPTITLE);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(header.pTitle)), Name());
    EXPECT_EQ(header.hInst, library_);
    EXPECT_EQ(header.IconID, 64063u);
    EXPECT_EQ(sheet.Reason(77), -1) << "an unknown reason";
    sheet.Destroy();
}

// Replaces the suite's dialog library for one test with another file (or none).
class DialogLibraryAs {
public:
    explicit DialogLibraryAs(const char* replacement)
    {
        path_ = SheetLibraryTest::Dir().File("QVTDX5DU.DLL");
        MoveFileA(path_.c_str(), (path_ + ".kept").c_str());
        if (replacement)
            CopyFileA((qvtest::BinDir() + "\\" + replacement).c_str(), path_.c_str(), FALSE);
    }
    ~DialogLibraryAs()
    {
        DeleteFileA(path_.c_str());
        MoveFileA((path_ + ".kept").c_str(), path_.c_str());
    }

private:
    std::string path_;
};

TEST_F(SheetTest, ThePageAdderFailsTheSheetOnlyWhenDialogControlDoes)
{
    qvtest::TempDir dir;
    qvtest::CallRecord siblings("QVSIBLING_RECORD", dir.File("siblings.txt"));
    const auto init = [&](const char* model) {
        HANDLE sheetPrinter = Printer(model);
        Sheet sheet(documentSheets_, sheetPrinter, Name());
        const LONG result = sheet.Init();
        const bool context = sheet.Info().UserData != 0;
        if (context)
            sheet.Destroy();
        return std::pair(result, context);
    };

    SetEnvironmentVariableA("QVTESTDIALOG_RESULT", "1");
    EXPECT_EQ(init(kWorkgroup), std::pair(-1L, false)) << "DialogControl reported a failure";
    SetEnvironmentVariableA("QVTESTDIALOG_RESULT", nullptr);
    EXPECT_THAT(siblings.Calls(),
                ElementsAre("attach QVTDX5BT.DLL", "attach QVTDX5B1.DLL", "detach QVTDX5B1.DLL", "detach QVTDX5BT.DLL"))
        << "what the start loaded is released";

    service_.refuse = true;
    EXPECT_EQ(init(kColour), std::pair(-1L, false)) << "the service refused the page";
    service_.refuse = false;

    {
        DialogLibraryAs other("QVTDX5B1.DLL");
        EXPECT_EQ(init(kColour), std::pair(1L, true)) << "a dialog library without DialogControl";
    }
    {
        DialogLibraryAs none(nullptr);
        EXPECT_EQ(init(kDesktop), std::pair(1L, true)) << "no dialog library";
    }
    EXPECT_EQ(service_.pages, 1) << "the page of the sheet whose DialogControl then failed";
}

TEST_F(SheetTest, TheRefreshProcedureActsOnlyOnAnOpenSheetsBlock)
{
    HANDLE sheetPrinter = Printer(kColour);
    Sheet sheet(documentSheets_, sheetPrinter, Name());
    ASSERT_EQ(sheet.Init(), 1);
    sheet.SetCurrent(4, 1);
    sheet.SetCurrent(53, 1);
    sheet.Entry(53)[feature::kChanged] = 1;

    // A copy of the block is no sheet's: left as it is.
    Bytes copy(sheet.Block().begin(), sheet.Block().end());
    const Bytes untouched = copy;
    EXPECT_EQ(refresh_(copy.data()), 0);
    EXPECT_EQ(copy, untouched);
    EXPECT_EQ(refresh_(nullptr), 0);

    EXPECT_EQ(refresh_(sheet.Context()->featureBlock), 0);
    EXPECT_EQ(sheet.Current(4), 7) << "selecting by type takes the automatic source";
    EXPECT_EQ(sheet.Entry(53)[feature::kChanged], 0);
    sheet.Destroy();
}

}  // namespace
