// CallBackAccess on an open sheet, request type by request type: the result word, the counts,
// the record lists as the printer's values hold them afterwards, the capacity of a caller's
// buffers, and the toolkit bridge through the toolkit's stand-in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DrvCfgRecords.h"
#include "RecordList.h"
#include "SheetFixture.h"

using namespace sheettest;
namespace dm = devmode;

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using ToolkitUtilFn = int(WINAPI*)(HWND, LPSTR, DWORD, DWORD, WORD, WORD, DWORD);
using ToolkitCommonFn = int(WINAPI*)(HWND, LPSTR, LPSTR, DWORD, WORD, WORD, DWORD, DWORD);

class CallBackTest : public SheetLibraryTest {
protected:
    void SetUp() override
    {
        SheetLibraryTest::SetUp();
        if (HasFatalFailure())
            return;
        printer_ = Printer(kWorkgroup);
        sheet_ = std::make_unique<Sheet>(documentSheets_, printer_, Name());
        ASSERT_EQ(sheet_->Init(), 1);
        c_ = sheet_->Context();
        nameA_ = printers_.Last();
    }
    void TearDown() override
    {
        if (sheet_ && sheet_->Context())
            sheet_->Destroy();
        SheetLibraryTest::TearDown();
    }
    WORD Call(DWORD type, void* data)
    {
        WORD result = 0xBEEF;
        callBack_(c_, type, data, &result);
        return result;
    }
    // A list answer as (number, name) pairs; the two blocks go back to the sheet's heap.
    std::vector<std::pair<int, std::string>> Listed(DWORD type)
    {
        ListAnswer answer{};
        const WORD count = Call(type, &answer);
        std::vector<std::pair<int, std::string>> items;
        const char* name = answer.names;
        for (WORD i = 0; i < count; ++i) {
            items.emplace_back(std::int16_t(answer.numbers[i]), name);
            name += std::strlen(name) + 1;
        }
        EXPECT_EQ(*name, '\0') << "the names end with an empty one";
        HeapFree(c_->heap, 0, answer.numbers);
        HeapFree(c_->heap, 0, answer.names);
        return items;
    }
    // The records of a list value as the printer stores it: the number fields.
    std::vector<int> StoredNumbers(const wchar_t* value)
    {
        recordlist::RecordList list(Value(printer_, value));
        std::vector<int> numbers;
        for (bool more = list.Rewind(); more; more = list.Next())
            numbers.push_back(list.FieldInt16(1).value_or(-1));
        return numbers;
    }

    HANDLE printer_ = nullptr;
    std::unique_ptr<Sheet> sheet_;
    SheetContext* c_ = nullptr;
    std::string nameA_;
};

TEST_F(CallBackTest, TypesPast36AndStrangeContextsDoNothing)
{
    WORD result = 0xBEEF;
    callBack_(c_, 37, nullptr, &result);
    EXPECT_EQ(result, 0xBEEF);
    callBack_(c_, 0x10024, nullptr, &result);
    EXPECT_EQ(result, 0xBEEF) << "a type is not cut to its low word";
    SheetContext other{};
    callBack_(&other, kCbDevmode, nullptr, &result);
    EXPECT_EQ(result, 0xBEEF);
    callBack_(nullptr, kCbDevmode, nullptr, &result);
    EXPECT_EQ(result, 0xBEEF);
    callBack_(c_, kCbDevmode, nullptr, nullptr);  // no result word: a local one
    EXPECT_EQ(Call(kCbDevmode, nullptr), 1256);
}

TEST_F(CallBackTest, MacrosAndNamedListsAreStoredInThePrintersValues)
{
    const char letterhead[] = "Letterhead";
    NamedRecord macro{nullptr, 3, 0, letterhead, nullptr, 0};
    EXPECT_EQ(Call(kCbAddNamedRecord, &macro), 0);
    NamedRecord zero{nullptr, 0, 0, "refused", nullptr, 0};
    Call(kCbAddNamedRecord, &zero);
    EXPECT_THAT(Listed(kCbEnumMacros), ElementsAre(std::pair(3, std::string("Letterhead"))));
    EXPECT_THAT(StoredNumbers(L"Macro"), ElementsAre(3));

    // A name comes back cut to the caller's buffer; without a record the default stays.
    char name[5] = "xxxx";
    NamedLookup lookup{nullptr, 3, sizeof name, name, 0};
    EXPECT_EQ(Call(kCbFindNamedRecord, &lookup), 1);
    EXPECT_STREQ(name, "Lett");
    EXPECT_EQ(lookup.replaced, 1u);
    char fallback[16] = "Plain";
    NamedLookup missing{"PType", 130, sizeof fallback, fallback, 7};
    EXPECT_EQ(Call(kCbFindNamedRecord, &missing), 0);
    EXPECT_STREQ(fallback, "Plain");
    EXPECT_EQ(missing.replaced, 0u);

    // A user paper-type name, and one stored from bytes as hexadecimal text.
    NamedRecord user{"PType", 130, 0, "Blue card", nullptr, 0};
    Call(kCbAddNamedRecord, &user);
    const BYTE bytes[] = {0x0F, 0xA0};
    NamedRecord hex{"Bin", 2, 0, nullptr, bytes, sizeof bytes};
    Call(kCbAddNamedRecord, &hex);
    EXPECT_EQ(Call(kCbFindNamedRecord, &missing), 1);
    EXPECT_STREQ(fallback, "Blue card");
    char binName[16] = {};
    NamedLookup bin{"Bin", 2, sizeof binName, binName, 0};
    Call(kCbFindNamedRecord, &bin);
    EXPECT_STREQ(binName, "0FA0");

    EXPECT_EQ(Call(kCbClearList, const_cast<char*>("PType")), 0);
    EXPECT_THAT(StoredNumbers(L"PType"), IsEmpty());
    Call(kCbClearList, const_cast<char*>("Macro"));
    EXPECT_THAT(Listed(kCbEnumMacros), IsEmpty());
}

TEST_F(CallBackTest, UserFormsAreAddedReadAndDeleted)
{
    UserFormRecord form{};
    std::strcpy(form.name, "Cheque");
    form.flags = 0x1000;
    form.width = 7200;
    form.height = 3600;
    for (int i = 0; i < 16; ++i)
        form.areas[i] = WORD(100 + i);
    EXPECT_EQ(Call(kCbSetUserForm, &form), 0);
    std::strcpy(form.name, "Note");
    Call(kCbSetUserForm, &form);
    EXPECT_THAT(Listed(kCbEnumUserForms),
                ElementsAre(std::pair(512, std::string("Cheque")), std::pair(513, std::string("Note"))));
    EXPECT_THAT(StoredNumbers(L"UserDefForms"), ElementsAre(512, 513));

    UserFormRecord read{};
    read.number = 512;
    EXPECT_EQ(Call(kCbGetUserForm, &read), 1);
    EXPECT_STREQ(read.name, "Cheque");
    EXPECT_EQ(read.width, 7200);
    EXPECT_EQ(read.height, 3600);
    EXPECT_EQ(read.flags, 0x1000);
    EXPECT_EQ(read.areas[15], 115);
    read.number = 519;
    EXPECT_EQ(Call(kCbGetUserForm, &read), 0);

    SHORT number = 512;
    Call(kCbDeleteUserForm, &number);
    EXPECT_THAT(StoredNumbers(L"UserDefForms"), ElementsAre(513));
}

TEST_F(CallBackTest, AssociationsKeepTheirFourNamesAndOptions)
{
    AssociationRecord a{};
    a.number = 641;
    std::strcpy(a.name, "Invoice");
    a.form = 9;
    a.paperType = 3;
    std::strcpy(a.firstOverlay, "Logo");
    a.firstOverlayOption = 0;
    std::strcpy(a.secondOverlay, "Footer");
    a.secondOverlayOption = 1;
    std::strcpy(a.firstWatermark, "Copy");
    a.firstWatermarkOption = 1;
    std::strcpy(a.secondWatermark, "");
    a.secondWatermarkOption = 0;
    EXPECT_EQ(Call(kCbSetAssociation, &a), 0);
    AssociationRecord outside = a;
    outside.number = 700;
    Call(kCbSetAssociation, &outside);
    EXPECT_THAT(Listed(kCbEnumAssociations), ElementsAre(std::pair(641, std::string("Invoice"))));

    AssociationRecord read{};
    read.number = 641;
    EXPECT_EQ(Call(kCbGetAssociation, &read), 0);
    EXPECT_EQ(std::memcmp(&read, &a, sizeof a), 0) << "every field as written";

    SHORT number = 641;
    Call(kCbDeleteAssociation, &number);
    EXPECT_THAT(StoredNumbers(L"UserAssocForms"), IsEmpty());
}

WatermarkRecord Watermark(WORD number, const char* name, const char* text)
{
    WatermarkRecord w{};
    w.size = sizeof w;
    w.number = number;
    std::strcpy(w.name, name);
    std::strcpy(w.text, text);
    w.font.lfHeight = -720;
    w.font.lfEscapement = 450;
    std::strcpy(w.font.lfFaceName, "Arial");
    w.colour = RGB(255, 0, 0);
    w.intensity = 40;
    return w;
}

TEST_F(CallBackTest, WatermarksThroughTheirRecordsAndThroughAnOpenList)
{
    WatermarkRecord draft = Watermark(1, "Draft", "DRAFT"), copy = Watermark(2, "Copy", "COPY");
    Call(kCbAddWatermark, &draft);
    Call(kCbAddWatermark, &copy);
    WatermarkRecord none = Watermark(0, "None", "");
    Call(kCbAddWatermark, &none);
    EXPECT_THAT(Listed(kCbEnumWatermarks),
                ElementsAre(std::pair(1, std::string("Draft")), std::pair(2, std::string("Copy"))));

    WatermarkRecord read{};
    read.number = 1;
    EXPECT_EQ(Call(kCbGetWatermark, &read), 1);
    EXPECT_EQ(read.size, 204);
    EXPECT_STREQ(read.text, "DRAFT");
    EXPECT_EQ(read.font.lfEscapement, 450);
    EXPECT_STREQ(read.font.lfFaceName, "Arial");
    EXPECT_EQ(read.colour, RGB(255, 0, 0));
    EXPECT_EQ(read.intensity, 40);

    WatermarkRecord changed = Watermark(2, "Copy", "COPY 2");
    EXPECT_EQ(Call(kCbUpdateWatermark, &changed), 1);
    WatermarkRecord unknown = Watermark(9, "Nine", "");
    EXPECT_EQ(Call(kCbUpdateWatermark, &unknown), 0);
    EXPECT_THAT(StoredNumbers(L"Watermark"), ElementsAre(1, 2)) << "an update adds nothing";

    // The list handle comes back in the record; the result word stays 16 bits of 0.
    ListOpen open{};
    EXPECT_EQ(Call(kCbOpenWatermarks, &open), 0);
    ASSERT_NE(open.list, nullptr);
    std::int16_t number = 0;
    char name[64], text[64];
    BYTE font[60];
    DWORD colour = 0;
    WORD intensity = 0;
    WatermarkFields fields{open.list, {&number, name, text, font, &colour, &intensity, nullptr, nullptr, nullptr}};
    EXPECT_EQ(Call(kCbReadWatermarkFields, &fields), 1);
    EXPECT_EQ(number, 1);
    EXPECT_STREQ(name, "Draft");
    EXPECT_EQ(colour, RGB(255, 0, 0));
    EXPECT_EQ(Call(kCbDeleteRecord, open.list), 0);
    EXPECT_EQ(Call(kCbReadWatermarkFields, &fields), 1);
    EXPECT_EQ(number, 2) << "the next record is current";
    EXPECT_STREQ(text, "COPY 2");
    EXPECT_EQ(Call(kCbNextRecord, open.list), 0) << "no record after the last";
    EXPECT_THAT(StoredNumbers(L"Watermark"), ElementsAre(1, 2)) << "saved only when closed";
    Call(kCbCloseList, open.list);
    EXPECT_THAT(StoredNumbers(L"Watermark"), ElementsAre(2));

    // A handle that is no longer open, or never was, is refused.
    EXPECT_EQ(Call(kCbNextRecord, open.list), 0);
    int bogus = 0;
    Call(kCbDeleteRecord, &bogus);
    fields.list = &bogus;
    EXPECT_EQ(Call(kCbReadWatermarkFields, &fields), 0);
    EXPECT_THAT(StoredNumbers(L"Watermark"), ElementsAre(2));
}

TEST_F(CallBackTest, ThePaperListFitsTheCallersBuffer)
{
    UserFormRecord form{};
    std::strcpy(form.name, "Cheque");
    form.width = 7200;
    form.height = 3600;
    Call(kCbSetUserForm, &form);

    PaperListRequest query{sizeof query, 1, 0, 0, sheet_->Entry(2), nullptr, 0};
    const WORD all = Call(kCbPaperList, &query);
    EXPECT_EQ(query.count, all);
    ASSERT_GT(all, 3);

    // Three papers asked for: three written, the bytes after them untouched.
    Bytes buffer(3 * kPaperListEntryBytes + 8, 0xAB);
    PaperListRequest three{sizeof three, 1, 0, 0, nullptr, buffer.data(), 3};
    EXPECT_EQ(Call(kCbPaperList, &three), 3);
    EXPECT_EQ(three.count, 3);
    EXPECT_EQ(buffer[0] | buffer[1] << 8, 1) << "Letter first";
    EXPECT_STREQ(reinterpret_cast<const char*>(buffer.data() + 6), "String 1000") << "the dialog library's name";
    EXPECT_EQ(Bytes(buffer.end() - 8, buffer.end()), Bytes(8, 0xAB));

    // The user form ends the paper-size list; the output-size list and the compatible mode
    // leave it out.
    Bytes everything(all * kPaperListEntryBytes);
    PaperListRequest full{sizeof full, 1, 0, 0, nullptr, everything.data(), all};
    Call(kCbPaperList, &full);
    const auto codeAt = [&](const Bytes& b, int i) { return b[2 * i] | b[2 * i + 1] << 8; };
    EXPECT_EQ(codeAt(everything, all - 1), 512);
    EXPECT_STREQ(reinterpret_cast<const char*>(everything.data() + 2 * all + (all - 1) * 64), "Cheque");
    PaperListRequest output{sizeof output, 1, 0, 1, nullptr, nullptr, 0};
    EXPECT_EQ(Call(kCbPaperList, &output), all - 1);
    PaperListRequest compatible{sizeof compatible, 2, 0, 0, nullptr, nullptr, 0};
    EXPECT_EQ(Call(kCbPaperList, &compatible), all - 1);
    PaperListRequest short_{4, 1, 0, 0, nullptr, nullptr, 0};
    EXPECT_EQ(Call(kCbPaperList, &short_), 0) << "a record shorter than the request";
}

TEST_F(CallBackTest, PaperInformationAndFormatsComeFromTheWorkingDevmode)
{
    UserFormRecord info{};
    info.number = 9;
    EXPECT_EQ(Call(kCbPaperInfo, &info), 0);
    EXPECT_STREQ(info.name, "String 1003");
    EXPECT_EQ(info.width, 9921);
    EXPECT_EQ(info.height, 14031);
    EXPECT_NE(info.areas[0], 0) << "the printable width";
    UserFormRecord form{};
    form.number = 512;
    Call(kCbPaperInfo, &form);
    EXPECT_EQ(form.width, 0) << "not a paper of the paper set";

    Bytes record(54, 0);
    record[0] = 9;
    record[2] = 2;
    EXPECT_EQ(Call(kCbPaperFormat, record.data()), 1);
    EXPECT_EQ(record[24] | record[25] << 8, 9);
    EXPECT_EQ(record[28] | record[29] << 8, 14031) << "landscape: the length across";
    EXPECT_EQ(Listed(kCbEnumSpoolerForms).size(), 0u) << "Wine's spooler has built-in forms only";
}

TEST_F(CallBackTest, TrayWordCommitAndSoftwareEnable)
{
    dm::Set(std::span(c_->workingDevmode, dm::kSize), dm::dmDefaultSource, 2);
    c_->printerConfig[5] = 0;
    Call(kCbTrayWord, nullptr);
    EXPECT_EQ(c_->printerConfig[5] & 0xFFFF, 2u);

    sheet_->SetCurrent(86, 1);
    Call(kCbCommit, nullptr);
    const Bytes config = Value(printer_, L"PrinterConfig");
    ASSERT_EQ(config.size(), 32u);
    EXPECT_EQ(config[0], 1);
    EXPECT_EQ(config[4 + 4 * 5], 2) << "the new tray word";
    EXPECT_EQ(Value(printer_, L"SWEnable"), Bytes{1});
    EXPECT_EQ(c_->sheetResult, 1u);
    EXPECT_THAT(service_.results, ElementsAre(CPSUI_OK));

    BYTE off = 0;
    EXPECT_EQ(Call(kCbSoftwareEnable, &off), 0);
    EXPECT_EQ(Value(printer_, L"SWEnable"), Bytes{0});
}

DWORD WINAPI CollectConfig(void* argument, const profiles::ConfigEntry* entry)
{
    static_cast<std::vector<std::string>*>(argument)->push_back(entry->name);
    return 0;
}

TEST_F(CallBackTest, ConfigurationRequestsWorkOnTheEntries)
{
    sheet_->SetCurrent(3, 9);
    profiles::ConfigRequest reset{};
    reset.size = sizeof reset;
    reset.devmode = c_->workingDevmode;
    reset.kind = 4;
    reset.id.words[0] = 1;
    EXPECT_EQ(Call(26, &reset), 0);
    EXPECT_EQ(sheet_->Current(3), 1) << "the factory defaults are in the entries";

    std::vector<std::string> names;
    profiles::ConfigRequest list{};
    list.size = sizeof list;
    list.devmode = c_->workingDevmode;
    list.kind = 4;
    ConfigEnumTarget target{0xBEEF, 0, reinterpret_cast<void*>(CollectConfig), &names};
    callBack_(c_, kCbEnumConfigs, &list, &target.result);
    EXPECT_EQ(target.result, 0);
    EXPECT_THAT(names, ElementsAre("String 3003")) << "the dialog library's name of the factory defaults";
    profiles::ConfigRequest bad{};
    EXPECT_EQ(Call(28, &bad), 1) << "not a request";
}

class ToolkitTest : public CallBackTest {
protected:
    void SetUp() override
    {
        CallBackTest::SetUp();
        util_ = Export<ToolkitUtilFn>("CallToolKitUtil");
        common_ = Export<ToolkitCommonFn>("CallToolKitCommon");
        ASSERT_TRUE(util_ && common_);
    }
    ToolkitUtilFn util_ = nullptr;
    ToolkitCommonFn common_ = nullptr;
};

TEST_F(ToolkitTest, RequestsReachTheToolkitBesideTheDriverOnly)
{
    qvtest::TempDir dir;
    qvtest::CallRecord toolkit("QVTOOLKIT_RECORD", dir.File("toolkit.txt"));
    EXPECT_EQ(util_(nullptr, nameA_.data(), 4, 0, 7, 8, 5), 1);
    EXPECT_EQ(util_(nullptr, nameA_.data(), 3, 11, 7, 8, 6), 1);
    EXPECT_EQ(util_(nullptr, nameA_.data(), 99, 0, 0, 0, 5), 0) << "the toolkit did not reply";
    char port[] = "FILE:";
    EXPECT_EQ(common_(nullptr, nameA_.data(), port, 2, 1, 2, 5, 0), 1);
    EXPECT_THAT(toolkit.Calls(),
                ElementsAre("QVToolKit\t" + nameA_ + "\tLPT1:\t4\t0\t5\t1 1 1\t7 8\tdriver",
                            "QVToolKit\t" + nameA_ + "\tLPT1:\t3\t11\t6\t0 0 0\t0 0\tdriver",
                            "QVToolKit\t" + nameA_ + "\tLPT1:\t99\t0\t5\t0 0 0\t0 0\tdriver",
                            "QVToolKit\t" + nameA_ + "\tFILE:\t2\t0\t5\t1 1 1\t1 2\tdriver"));

    // Gone from the driver's directory, the toolkit is not looked for anywhere else, here the
    // current directory.
    const std::string there = Dir().File("QVTDX5TE.DLL");
    ASSERT_TRUE(MoveFileA(there.c_str(), (there + ".kept").c_str()));
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(qvtest::BinDir().c_str());
    EXPECT_EQ(util_(nullptr, nameA_.data(), 4, 0, 7, 8, 5), 0);
    SetCurrentDirectoryA(previous);
    MoveFileA((there + ".kept").c_str(), there.c_str());
    EXPECT_EQ(toolkit.Calls().size(), 4u);
}

}  // namespace
