// The lists as binary values of a printer in Wine's spooler.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <optional>
#include <string>
#include <vector>

#include "PrinterList.h"
#include "TestSupport.h"

namespace {

using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;

const char kDriver[] = "Qel Settings Driver";

std::optional<Bytes> StoredValue(const std::string& printer, const char* value)
{
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &handle, nullptr))
        return std::nullopt;
    DWORD type = 0, needed = 0;
    DWORD result = GetPrinterDataA(handle, const_cast<char*>(value), &type, nullptr, 0, &needed);
    std::optional<Bytes> bytes;
    if (result == ERROR_MORE_DATA || result == ERROR_SUCCESS) {
        bytes.emplace(needed);
        if (GetPrinterDataA(handle, const_cast<char*>(value), &type, bytes->data(), needed, &needed) != ERROR_SUCCESS)
            bytes.reset();
    }
    ClosePrinter(handle);
    return bytes;
}

bool Store(const std::string& printer, const char* value, const Bytes& bytes)
{
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &handle, &defaults))
        return false;
    BYTE none = 0;
    const DWORD result = SetPrinterDataA(handle, const_cast<char*>(value), REG_BINARY,
                                         bytes.empty() ? &none : const_cast<BYTE*>(bytes.data()), DWORD(bytes.size()));
    ClosePrinter(handle);
    return result == ERROR_SUCCESS;
}

class PrinterListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(qvtest::InstallTestDriver(kDriver)); }
    void SetUp() override
    {
        static int counter = 0;
        printer_ = "Qel Lists " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        ASSERT_TRUE(qvtest::AddTestPrinter(printer_, kDriver));
    }
    void TearDown() override { qvtest::DeleteTestPrinter(printer_); }

    std::vector<std::pair<int, std::string>> Forms(const char* list = kUserFormList)
    {
        std::vector<std::pair<int, std::string>> forms;
        auto open = PrinterList::Open(printer_, list);
        if (!open)
            return forms;
        auto& records = open->Records();
        for (bool more = records.Rewind(); more; more = records.Next())
            forms.emplace_back(records.FieldInt16(kKeyNumber).value_or(0), records.FieldText(kKeyName).value_or(""));
        return forms;
    }

    std::string printer_;
};

TEST_F(PrinterListTest, AMissingOrEmptyValueOpensAsAnEmptyList)
{
    auto list = PrinterList::Open(printer_, kWatermarkList);
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->Records().Rewind());
    EXPECT_TRUE(list->Close());
    EXPECT_FALSE(StoredValue(printer_, kWatermarkList));  // nothing changed, nothing written

    ASSERT_TRUE(Store(printer_, kMacroList, {}));
    list = PrinterList::Open(printer_, kMacroList);
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->Records().Rewind());

    EXPECT_FALSE(PrinterList::Open("No Such Qel Printer", kMacroList));
}

TEST_F(PrinterListTest, UserFormsTakeFreeNumbersReplaceByNameAndStopAtEight)
{
    UserForm form;
    form.values[0] = 2100;
    for (const char* name : {"Card", "Label", "Tag"}) {
        form.name = name;
        ASSERT_TRUE(AddUserForm(printer_, form)) << name;
    }
    EXPECT_THAT(Forms(), ElementsAre(std::pair(512, "Card"), std::pair(513, "Label"), std::pair(514, "Tag")));

    // Same name in other case: the old record goes, the new one comes last with the number that
    // was free before the old one went.
    form.name = "LABEL";
    ASSERT_TRUE(AddUserForm(printer_, form));
    EXPECT_THAT(Forms(), ElementsAre(std::pair(512, "Card"), std::pair(514, "Tag"), std::pair(515, "LABEL")));

    // A number with no name deletes that form.
    UserForm removal;
    removal.number = 514;
    ASSERT_TRUE(AddUserForm(printer_, removal));
    EXPECT_THAT(Forms(), ElementsAre(std::pair(512, "Card"), std::pair(515, "LABEL")));

    for (int i = 0; i < 6; ++i) {
        form.name = "Extra " + std::to_string(i);
        ASSERT_TRUE(AddUserForm(printer_, form));
    }
    EXPECT_EQ(8u, Forms().size());
    const Bytes full = StoredValue(printer_, kUserFormList).value_or(Bytes{});
    form.name = "Ninth";
    EXPECT_FALSE(AddUserForm(printer_, form));
    EXPECT_EQ(full, StoredValue(printer_, kUserFormList).value_or(Bytes{}));

    form.number = 520;
    EXPECT_FALSE(AddUserForm(printer_, form));
    EXPECT_TRUE(IsListedFormCode(printer_, 515));
    EXPECT_FALSE(IsListedFormCode(printer_, 640));
}

TEST_F(PrinterListTest, UserFormRecordsKeepAllSevenFields)
{
    UserForm form;
    form.number = 517;
    form.name = "Postcard";
    form.values[0] = 1000;
    form.values[3] = 65535;
    for (int i = 0; i < 32; ++i)
        form.paperInfo[i] = std::uint8_t(i);
    ASSERT_TRUE(AddUserForm(printer_, form));
    auto list = PrinterList::Open(printer_, kUserFormList);
    ASSERT_TRUE(list && list->Records().Rewind());
    auto& r = list->Records();
    EXPECT_EQ(1000, r.FieldUInt16(3));
    EXPECT_EQ(0, r.FieldUInt16(4));
    EXPECT_EQ(65535, r.FieldUInt16(6));
    ASSERT_TRUE(r.FieldData(7));
    EXPECT_EQ(32u, r.FieldData(7)->size());
    EXPECT_EQ(31, (*r.FieldData(7))[31]);
    // 7 + (2+5) + (9+5) + 4*(2+5) + (32+5)
    EXPECT_EQ(93u, r.Bytes().size());
}

TEST_F(PrinterListTest, NamedRecordsRefuseBadNumbersAndNameBytesInHex)
{
    EXPECT_FALSE(AddNamedRecord(printer_, "QelCustom", 0, "zero"));
    EXPECT_FALSE(AddNamedRecord(printer_, "QelCustom", -3, "negative"));
    ASSERT_TRUE(AddNamedRecord(printer_, "QelCustom", 4, "Four"));
    const std::uint8_t bytes[] = {0xDE, 0xAD, 0x01};
    ASSERT_TRUE(AddNamedRecord(printer_, "QelCustom", 5, "", bytes, sizeof bytes));
    ASSERT_TRUE(AddNamedRecord(printer_, "QelCustom", 4, "four again"));
    EXPECT_THAT(Forms("QelCustom"), ElementsAre(std::pair(5, "DEAD01"), std::pair(4, "four again")));
}

TEST_F(PrinterListTest, DamagedValuesAreReadAsFarAsTheyGoAndKeptUntilAChange)
{
    recordlist::RecordList good;
    const Bytes number = recordlist::Int16Data(640);
    const Bytes name = recordlist::TextData("Letter plain");
    const recordlist::Field fields[] = {{1, number}, {2, name}};
    good.Append(fields);
    Bytes damaged = good.Bytes();
    damaged.insert(damaged.end(), {0, 0, 9, 9, 9});
    ASSERT_TRUE(Store(printer_, kFormAssociationList, damaged));

    EXPECT_THAT(Forms(kFormAssociationList), ElementsAre(std::pair(640, "Letter plain")));
    EXPECT_TRUE(IsListedFormCode(printer_, 640));
    EXPECT_FALSE(IsListedFormCode(printer_, 641));
    EXPECT_EQ(damaged, StoredValue(printer_, kFormAssociationList));
}

}  // namespace
