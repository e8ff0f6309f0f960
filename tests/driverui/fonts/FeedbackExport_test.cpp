// QVToolKitFeedBack of QVTDX5DA.DLL as the toolkit calls it, on printers of a test driver in
// Wine's spooler: the macro list, the font list files beside the driver files and the cached
// summaries they invalidate.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "DriverLibraryFixture.h"
#include "FileFixtures.h"
#include "PrinterFixture.h"
#include "RecordList.h"
#include "TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using FeedBackFn = unsigned long long(WINAPI*)(void*, const void*);

const char kDriver[] = "Qel Feedback Driver";

struct Message {
    Bytes bytes;
    Message& Item(std::uint16_t tag, const Bytes& data)
    {
        const std::size_t length = data.size() + 4;
        bytes.insert(bytes.end(), {std::uint8_t(tag), std::uint8_t(tag >> 8), std::uint8_t(length),
                                   std::uint8_t(length >> 8)});
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    Message& Word(std::uint16_t tag, std::uint16_t v) { return Item(tag, {std::uint8_t(v), std::uint8_t(v >> 8)}); }
    Message& Text(std::uint16_t tag, const std::string& t)
    {
        Bytes data(t.begin(), t.end());
        data.push_back(0);
        return Item(tag, data);
    }
    Message& Reply(std::uint16_t* word)
    {
        const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(word);
        Bytes data(sizeof address);
        std::memcpy(data.data(), &address, sizeof address);
        return Item(18, data);
    }
    // Command, protocol and printer: the first group.
    static Message Start(std::uint16_t command, std::uint16_t protocol, const std::string& printer)
    {
        Message m;
        m.Word(1, command).Word(2, protocol).Text(4, printer);
        return m;
    }
    Bytes End()
    {
        Item(0, {});
        return bytes;
    }
};

std::vector<std::string> Names(const std::optional<std::string>& file)
{
    std::vector<std::string> names;
    if (!file)
        return names;
    recordlist::RecordList list(Bytes(file->begin(), file->end()));
    for (bool more = list.Rewind(); more; more = list.Next())
        names.push_back(list.FieldText(2).value_or(""));
    return names;
}

class FeedbackTest : public qvtest::DriverLibraryTest {
protected:
    static void SetUpTestSuite()
    {
        DriverLibraryTest::SetUpTestSuite();
        ready_ = qvtest::InstallTestDriver(kDriver);
    }
    void SetUp() override
    {
        ASSERT_TRUE(library_);
        ASSERT_TRUE(ready_);
        feedBack_ = Export<FeedBackFn>("QVToolKitFeedBack");
        ASSERT_TRUE(feedBack_);
    }

    std::string Add(const std::string& name) { return printers_.Add(kDriver, name); }
    unsigned long long Send(const Bytes& message) { return feedBack_(nullptr, message.data()); }

    static std::optional<Bytes> Value(const std::string& printer, const char* name)
    {
        HANDLE h = nullptr;
        if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &h, nullptr))
            return std::nullopt;
        DWORD type = 0, needed = 0;
        std::optional<Bytes> bytes;
        const DWORD r = GetPrinterDataA(h, const_cast<char*>(name), &type, nullptr, 0, &needed);
        if (r == ERROR_MORE_DATA || r == ERROR_SUCCESS) {
            bytes.emplace(needed);
            if (needed && GetPrinterDataA(h, const_cast<char*>(name), &type, bytes->data(), needed, &needed))
                bytes.reset();
        }
        ClosePrinter(h);
        return bytes;
    }
    static bool SetValue(const std::string& printer, const char* name, const Bytes& bytes)
    {
        PRINTER_DEFAULTSA all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE h = nullptr;
        if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &h, &all))
            return false;
        BYTE none = 0;
        const DWORD r = SetPrinterDataA(h, const_cast<char*>(name), REG_BINARY,
                                        bytes.empty() ? &none : const_cast<BYTE*>(bytes.data()), DWORD(bytes.size()));
        ClosePrinter(h);
        return r == ERROR_SUCCESS;
    }

    void TearDown() override
    {
        for (const std::string& f : files_)
            DeleteFileA(f.c_str());
    }
    std::string Track(const std::string& file)
    {
        files_.push_back(file);
        return file;
    }

    static inline bool ready_ = false;
    FeedBackFn feedBack_ = nullptr;
    qvtest::TestPrinters printers_;
    std::vector<std::string> files_;
};

constexpr unsigned long long Status(unsigned long long answer) { return answer >> 32; }
constexpr unsigned long long Result(unsigned long long answer) { return answer & 0xFFFFFFFFu; }

TEST_F(FeedbackTest, AnUnacceptedProtocolOrCommandChangesNothing)
{
    const std::string printer = Add("QV Feedback Protocol");
    const std::string dir = qvtest::DriverDirectoryOf(printer);
    std::uint16_t reply = 0;
    for (const auto& [command, protocol] : {std::pair{11, 3}, std::pair{8, 3}, std::pair{8, 7}, std::pair{13, 5}}) {
        Message m = Message::Start(std::uint16_t(command), std::uint16_t(protocol), printer);
        m.Reply(&reply).Word(8, 1).Text(9, "macro").Text(16, "Font");
        const unsigned long long answer = Send(m.End());
        EXPECT_EQ(Status(answer), 2u) << command << " " << protocol;
        EXPECT_EQ(Result(answer), 0u);
    }
    EXPECT_EQ(reply, 0);
    EXPECT_THAT(Value(printer, "Macro").value_or(Bytes{}), ::testing::IsEmpty());
    EXPECT_FALSE(qvtest::IsThere(dir + "qel" + printer + ".PFM"));
    EXPECT_EQ(Status(Send(Message().End())), 2u);
}

TEST_F(FeedbackTest, MacrosAddedRemovedAndNumbered)
{
    const std::string printer = Add("QV Feedback Macros");
    Message add = Message::Start(11, 5, printer);
    for (std::uint16_t n = 1; n <= 9; ++n)
        add.Word(8, n).Text(9, "macro " + std::to_string(n)).Item(11, {});
    std::uint16_t reply = 0;
    add.Reply(&reply);
    unsigned long long answer = Send(add.End());
    EXPECT_EQ(answer, 1u);
    EXPECT_EQ(reply, 1);

    EXPECT_EQ(Send(Message::Start(12, 5, printer).Text(9, "fresh").End()), 10u);
    EXPECT_EQ(Send(Message::Start(12, 5, printer).Word(8, 4).Text(9, "fresh").End()), 10u);
    EXPECT_EQ(Send(Message::Start(12, 5, printer).Text(9, "macro 3").Item(11, {}).End()), 0u);

    EXPECT_EQ(Send(Message::Start(9, 5, printer).Word(8, 3).End()), 1u);
    EXPECT_EQ(Send(Message::Start(12, 5, printer).Text(9, "fresh").End()), 3u);
    EXPECT_EQ(Send(Message::Start(10, 5, printer).End()), 1u);
    EXPECT_THAT(Value(printer, "Macro").value_or(Bytes{1}), ::testing::IsEmpty());
}

TEST_F(FeedbackTest, FontsChangedSetTheReplyWordAndDropTheCachedSummaries)
{
    const std::string printer = Add("QV Feedback Fonts");
    const std::string dir = qvtest::DriverDirectoryOf(printer);
    ASSERT_FALSE(dir.empty());
    const std::string fonts = Track(dir + "qel" + printer + ".PFM");
    const std::string metrics = Track(dir + "qel" + printer + ".PCM");
    const std::string cache = Track(dir + "qel" + printer + ".PCL");

    // A font recorded the old way, in the printer value.
    recordlist::RecordList old;
    const Bytes number = recordlist::Int16Data(1), name = recordlist::TextData("Old Font");
    const recordlist::Field fields[] = {{1, number}, {2, name}};
    ASSERT_TRUE(old.Append(fields));
    ASSERT_TRUE(SetValue(printer, "SoftFont", old.Bytes()));
    ASSERT_TRUE(qvtest::WriteFile(cache, "summaries"));

    std::uint16_t reply = 0;
    Message add = Message::Start(8, 5, printer);
    add.Reply(&reply).Text(16, "Courier QV").Text(17, "1").Text(24, "COURQV.PCM").Text(16, "Gothic QV");
    EXPECT_EQ(Send(add.End()), 1u);
    EXPECT_EQ(reply, 1);
    EXPECT_FALSE(qvtest::IsThere(cache));
    EXPECT_THAT(Names(qvtest::ReadFile(fonts)), ::testing::ElementsAre("Old Font", "Courier QV", "Gothic QV"));
    EXPECT_THAT(Names(qvtest::ReadFile(metrics)), ::testing::ElementsAre("COURQV.PCM"));
    EXPECT_THAT(Value(printer, "SoftFont").value_or(Bytes{1}), ::testing::IsEmpty());

    ASSERT_TRUE(qvtest::WriteFile(cache, "summaries"));
    reply = 0;
    Message remove = Message::Start(6, 5, printer);
    remove.Reply(&reply).Text(16, "courier qv").Text(24, "COURQV.PCM");
    EXPECT_EQ(Send(remove.End()), 1u);
    EXPECT_EQ(reply, 1);
    EXPECT_FALSE(qvtest::IsThere(cache));
    EXPECT_THAT(Names(qvtest::ReadFile(fonts)), ::testing::ElementsAre("Old Font", "Gothic QV"));
    EXPECT_THAT(Names(qvtest::ReadFile(metrics)), ::testing::IsEmpty());

    EXPECT_EQ(Send(Message::Start(7, 5, printer).End()), 1u);
    EXPECT_THAT(Names(qvtest::ReadFile(fonts)), ::testing::IsEmpty());
}

TEST_F(FeedbackTest, MalformedMessagesAreRefusedAtOnce)
{
    const std::string printer = Add("QV Feedback Malformed");
    const Bytes start = Message::Start(11, 5, printer).Word(8, 1).Text(9, "m").bytes;
    for (const Bytes& tail : {Bytes{9, 0, 0, 0, 0, 0, 4, 0}, Bytes{9, 0, 2, 0, 0, 0, 4, 0}, Bytes{9, 0, 3, 0, 0, 0, 4, 0}}) {
        Bytes m = start;
        m.insert(m.end(), tail.begin(), tail.end());
        m.resize(m.size() + 64, 0);
        EXPECT_EQ(Status(Send(m)), 2u);
    }
    EXPECT_THAT(Value(printer, "Macro").value_or(Bytes{}), ::testing::IsEmpty());
}

TEST_F(FeedbackTest, HostilePrinterNamesKeepTheFilesInsideTheDriverDirectory)
{
    for (const auto& [printer, stem] : {std::pair{std::string("QV X 4/4M"), std::string("qelQV X 4_4M")},
                                        std::pair{std::string("QV/../../QVESCAPE"), std::string("qelQV_______QVESCAPE")},
                                        std::pair{std::string("QV a:b"), std::string("qelQV a_b")}}) {
        Add(printer);
        const std::string dir = qvtest::DriverDirectoryOf(printer);
        ASSERT_FALSE(dir.empty());
        Track(dir + stem + ".PFM");
        Track(dir + stem + ".PCM");
        EXPECT_EQ(Send(Message::Start(8, 5, printer).Text(16, "Font").End()), 1u) << printer;
        EXPECT_TRUE(qvtest::IsThere(dir + stem + ".PFM")) << printer;
    }
    const std::string dir = qvtest::DriverDirectoryOf("QV X 4/4M");
    char outside[MAX_PATH];
    ASSERT_TRUE(GetFullPathNameA((dir + "qelQV/../../QVESCAPE.PFM").c_str(), MAX_PATH, outside, nullptr));
    EXPECT_FALSE(qvtest::IsThere(outside));
    EXPECT_FALSE(qvtest::IsThere(dir + "qelQV X 4"));
}

TEST_F(FeedbackTest, ReplyRecordsForCommands14And15)
{
    const std::string printer = Add("QV Feedback Reply");
    const unsigned long long answer = Send(Message::Start(15, 6, printer).End());
    EXPECT_EQ(Status(answer), 0u);
    const auto* record = reinterpret_cast<const std::uint8_t*>(std::uintptr_t(Result(answer)));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record[0], 172);
    EXPECT_EQ(record[4], 1 << 6);
}

}  // namespace
