#include <gtest/gtest.h>

#include "PrinterCommandFixture.h"
#include "commands/UpdateDepFilesInfo.h"
#include "services/SystemPath.h"

namespace {

using printertest::HasLine;

std::string InVersioned(const std::string& name)
{
    PathObject path = SystemPath(12);
    path.SetName(name);
    return path.FullPath();
}

std::string List(const std::vector<std::string>& files)
{
    std::string list;
    for (const std::string& f : files)
        list += f + '\0';
    return list + '\0';
}

class UpdateDepFilesInfoTest : public printertest::EngineFixture {
protected:
    void SetUp() override
    {
        driver_ = printertest::Unique("Qel DepFiles Driver");
        ASSERT_TRUE(printertest::InstallDriverWithDependents(driver_, {"qeldep_a.dat"}));
        snapshot_ = printertest::ReadDriver(driver_);
        ASSERT_TRUE(snapshot_.info);
        // The record names its files where this build's versioned driver directory is.
        known_ = List({InVersioned("qeldep_a.dat")});
        snapshot_.info->pDependentFiles = known_.data();
        for (const char* name : {"qeldep_a.dat", "qeldep_b.dat", "QELDEP_C.DAT"})
            ASSERT_TRUE(qvtest::WriteFile(InVersioned(name), name));
    }
    DriverRecord Record() { return DriverRecord{reinterpret_cast<DRIVER_INFO_3A*>(snapshot_.info), 6}; }

    std::string driver_;
    printertest::DriverSnapshot snapshot_;
    std::string known_;
};

TEST_F(UpdateDepFilesInfoTest, KnownFilesChangeNothing)
{
    // "@" items and section lines (the text before "="); case does not matter.
    LoadScript({driver_}, "CopyFiles=@ QELDEP_A.DAT, Files\n", "[Files]\nqeldep_a.dat=source.dat\n\n");
    UpdateDepFilesInfo handler(&engine_, Record());
    EXPECT_TRUE(handler.Process()) << log_.Text();
    EXPECT_EQ(known_.data(), snapshot_.info->pDependentFiles);
    EXPECT_EQ(log_.Text().find("needs an update"), std::string::npos) << log_.Text();
}

TEST_F(UpdateDepFilesInfoTest, AnUnknownScriptFileRebuildsTheListAndReAddsTheDriver)
{
    // The driver's own main file is no dependent file, even when the script copies it: with
    // qeldep_a.dat as the data file it drops out of the new list.
    snapshot_.info->pDataFile = const_cast<char*>(known_.c_str());
    LoadScript({driver_}, "CopyFiles=@qeldep_a.dat,Files,NoSuchSection\n",
               "[Files]\nQELDEP_C.DAT\nqeldep_b.dat = b.src\n");
    UpdateDepFilesInfo handler(&engine_, Record());
    EXPECT_TRUE(handler.Process()) << log_.Text();

    EXPECT_TRUE(HasLine(log_.Text(), "\tThis file will cause an update: " + InVersioned("qeldep_b.dat")));
    EXPECT_TRUE(HasLine(log_.Text(), "UpdateDepFilesInfo::Process: driver " + driver_ + " needs an update"));
    // The new list holds the file names in set order, in text the engine owns.
    EXPECT_EQ(List({"qeldep_b.dat", "QELDEP_C.DAT"}),
              std::string(snapshot_.info->pDependentFiles, List({"qeldep_b.dat", "QELDEP_C.DAT"}).size()));
    EXPECT_EQ((std::vector<std::string>{"qeldep_b.dat", "QELDEP_C.DAT"}),
              printertest::ReadDriver(driver_).DependentFileNames());
}

TEST_F(UpdateDepFilesInfoTest, EmptySetsAreReported)
{
    LoadScript({driver_}, "CopyFiles=Empty\n", "[Empty]\n");
    UpdateDepFilesInfo noScript(&engine_, Record());
    EXPECT_FALSE(noScript.Process());
    const std::vector<std::string> lines = printertest::Lines(log_.Text());
    auto at = std::find(lines.begin(), lines.end(), "UpdateDepFilesInfo::Process: no inf dependent files found:");
    ASSERT_NE(lines.end(), at);
    ASSERT_GE(lines.end() - at, 3);
    EXPECT_EQ("\tDriver name: " + driver_, at[1]);
    EXPECT_EQ("\tINF section: Drv_Install", at[2]);

    LoadScript({driver_}, "CopyFiles=@qeldep_b.dat\n");
    std::string none = List({});
    snapshot_.info->pDependentFiles = none.data();
    UpdateDepFilesInfo noDriverFiles(&engine_, Record());
    EXPECT_FALSE(noDriverFiles.Process());
    EXPECT_TRUE(HasLine(log_.Text(), "UpdateDepFilesInfo::Process: no driver dependent files found:"));

    // A driver the script has no install section for is not looked at.
    snapshot_.info->pName = const_cast<char*>("Qel Driver Not In Script");
    UpdateDepFilesInfo unknown(&engine_, Record());
    EXPECT_TRUE(unknown.Process());
}

}  // namespace
