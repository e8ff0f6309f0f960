#include <gtest/gtest.h>

#include <memory>

#include "EngineTestUtil.h"
#include "engine/GenericInfo.h"
#include "engine/OstrafelEngine.h"

namespace {

// Records the arguments of every command it is handed.
class RecordingInfo : public GenericInfo {
public:
    RecordingInfo(OstrafelEngine* engine, const CStdStr& keyword, bool allFields = false, bool result = true)
        : GenericInfo(engine, keyword), allFields_(allFields), result_(result)
    {
    }
    bool ParseCommand(const CStdStr& line) override
    {
        return allFields_ ? ParseAllFields(line) : GenericInfo::ParseCommand(line);
    }
    bool HandleCommand(const CStdStringList& arguments) override
    {
        calls.push_back(arguments);
        return result_;
    }
    std::vector<CStdStringList> calls;

private:
    bool allFields_;
    bool result_;
};

const char* const kScript =
    "[Install]\n"
    "qelinstallfile = Files, Missing ,Files\n"
    "AllFields=Regs\n"
    "[Files]\n"
    "\"first, quoted\",3,a,\"b, with comma\", c \n"
    "local only,1,local\n"
    "connections only,2,remote\n"
    "never,0,never\n"
    "not a number,x,never\n"
    "every bit,-1,all\n"
    "onefield\n"
    "[Regs]\n"
    "HKLM,Software\\Q,Name,0,\"v, w\"\n"
    "onefield\n";

class GenericInfoTest : public ::testing::Test {
protected:
    void Load(bool pointAndPrint)
    {
        auto inf = std::make_unique<InfFile>();
        inf->LoadFromText(kScript);
        engine_.SetScript(std::move(inf), "Install", pointAndPrint);
    }
    enginetest::LogCapture log_;
    OstrafelEngine engine_;
};

TEST_F(GenericInfoTest, WalksNamedSectionsFiltersByModeAndLogsFailedLines)
{
    Load(false);
    RecordingInfo handler(&engine_, "QelInstallFile");
    EXPECT_TRUE(handler.ReadINF("Install"));

    // The keyword is found without regard to case; a section named twice runs twice.
    const std::vector<CStdStringList> once = {{"a", "b, with comma", "c"}, {"local"}, {"all"}};
    std::vector<CStdStringList> expected = once;
    expected.insert(expected.end(), once.begin(), once.end());
    EXPECT_EQ(expected, handler.calls);

    auto failed = [](const char* line) {
        return std::string("GenericInfo::ReadINF: Error parsing command:\n"
                           "\t\tSection: Install\n"
                           "\t\tCommand Name: QelInstallFile\n"
                           "\t\tCommand: ") +
               line + "\n";
    };
    std::string files = failed("connections only,2,remote") + failed("never,0,never") +
                        failed("not a number,x,never") +
                        "GenericInfo::ParseCommand: command onefield is invalid!\n" + failed("onefield");
    EXPECT_EQ(files + "GenericInfo::ReadINF: Section Missing not found\n" + files, log_.Text());
}

TEST_F(GenericInfoTest, ConnectionsRunOnlyTheirLines)
{
    Load(true);
    RecordingInfo handler(&engine_, "QelInstallFile");
    handler.ReadINF("Install");
    const std::vector<CStdStringList> once = {{"a", "b, with comma", "c"}, {"remote"}, {"all"}};
    std::vector<CStdStringList> expected = once;
    expected.insert(expected.end(), once.begin(), once.end());
    EXPECT_EQ(expected, handler.calls);
}

TEST_F(GenericInfoTest, AllFieldLinesAreNeitherFilteredNorReportedAsFailed)
{
    Load(true);
    RecordingInfo handler(&engine_, "AllFields", /*allFields=*/true, /*result=*/false);
    EXPECT_TRUE(handler.ReadINF("Install"));
    const std::vector<CStdStringList> expected = {{"HKLM", "Software\\Q", "Name", "0", "v, w"}, {"onefield"}};
    EXPECT_EQ(expected, handler.calls);
    EXPECT_EQ("", log_.Text());
}

TEST_F(GenericInfoTest, ProcessLogsAroundTheWalkAndAMissingKeywordIsSilent)
{
    Load(false);
    RecordingInfo handler(&engine_, "QelDelFiles");
    EXPECT_FALSE(handler.Process());
    std::string text = log_.Text();
    const std::string first = "GenericInfo::Process: Processing QelDelFiles\n";
    ASSERT_EQ(first, text.substr(0, first.size()));
    double seconds = -1;
    EXPECT_EQ(1, std::sscanf(text.c_str() + first.size(),
                             "GenericInfo::Process: Finished.  (Elapsed time: %lf seconds.)\n", &seconds))
        << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
    EXPECT_TRUE(handler.calls.empty());
}

}  // namespace
