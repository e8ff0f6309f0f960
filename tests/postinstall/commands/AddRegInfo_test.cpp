// The add-registry and delete-registry commands, on keys of their own under HKLM.
#include <gtest/gtest.h>

#include "PrinterCommandFixture.h"
#include "commands/AddRegInfo.h"
#include "commands/DeleteRegInfo.h"

namespace {

using printertest::HasLine;

class RegistryCommandTest : public printertest::EngineFixture {
protected:
    void SetUp() override
    {
        key_ = "SOFTWARE\\QelTest\\" + printertest::Unique("Reg");
        LoadScript({"Qel Reg Driver"}, "");
    }
    void TearDown() override { qvtest::DeleteHklmTree(key_); }
    std::string key_;
};

TEST_F(RegistryCommandTest, FlagsChooseNumberOrTextAndAreReadInHexToo)
{
    struct Case {
        const char* flags;
        bool number;
    };
    const Case cases[] = {{"0x00010001", true}, {"65537", true}, {"0", false}, {"", false}, {"0x00020000", false}};
    AddRegInfo handler(&engine_, "Qel Reg Driver");
    int i = 0;
    for (const Case& c : cases) {
        const std::string name = "V" + std::to_string(i++);
        handler.HandleCommand({"HKLM", key_, name, c.flags, "5"});
        if (c.number) {
            EXPECT_EQ(5u, qvtest::GetHklmDword(key_, name).value_or(0)) << c.flags;
        } else {
            EXPECT_EQ("5", qvtest::GetHklmString(key_, name).value_or("")) << c.flags;
        }
    }
    EXPECT_FALSE(HasLine(log_.Text(), "setupRegValue: binary type not supported, assuming DWORD"));

    EXPECT_TRUE(handler.HandleCommand({"HKLM", key_, "Bin", "1", "12"}));
    EXPECT_EQ(12u, qvtest::GetHklmDword(key_, "Bin").value_or(0));
    EXPECT_TRUE(HasLine(log_.Text(), "setupRegValue: binary type not supported, assuming DWORD"));
}

TEST_F(RegistryCommandTest, NoClobberKeepsAnExistingValueButStillRecordsTheUninstallItem)
{
    AddRegInfo handler(&engine_, "Qel Reg Driver");
    ASSERT_TRUE(handler.HandleCommand({"HKLM", key_, "Kept", "0", "old"}));
    EXPECT_TRUE(handler.HandleCommand({"HKLM", key_, "Kept", "2", "new"}));
    EXPECT_EQ("old", qvtest::GetHklmString(key_, "Kept").value_or(""));
    // Three fields: the missing flags and value count as empty.
    EXPECT_TRUE(handler.HandleCommand({"HKLM", key_ + "\\Sub", "Empty"}));
    EXPECT_EQ("", qvtest::GetHklmString(key_ + "\\Sub", "Empty").value_or("missing"));

    ASSERT_EQ(3u, engine_.LogOps().size());
    const LogOp& op = engine_.LogOps()[1];
    EXPECT_EQ(3, op.type);
    EXPECT_EQ("HKLM, \"" + key_ + "\", Kept", op.item);
    EXPECT_EQ("Uninstaller", op.component);
    EXPECT_TRUE(op.useQualifier);

    EXPECT_FALSE(handler.HandleCommand({"HKLM", key_}));
    EXPECT_TRUE(HasLine(log_.Text(), "PrtDrvDataInfo::HandleCommand: not enough arguments!"));
    EXPECT_EQ(3u, engine_.LogOps().size());
}

TEST_F(RegistryCommandTest, DeleteRemovesTheNamedValueOrTheDefaultOne)
{
    ASSERT_TRUE(qvtest::SetHklmString(key_, "", "default"));
    ASSERT_TRUE(qvtest::SetHklmString(key_, "Named", "x"));
    ASSERT_TRUE(qvtest::SetHklmString(key_, "Other", "y"));
    DeleteRegInfo handler(&engine_, "Qel Reg Driver");
    EXPECT_TRUE(handler.HandleCommand({"HKLM", key_}));
    EXPECT_FALSE(qvtest::GetHklmString(key_, ""));
    EXPECT_TRUE(qvtest::GetHklmString(key_, "Named"));
    EXPECT_TRUE(handler.HandleCommand({"HKLM", key_, "Named"}));
    EXPECT_FALSE(qvtest::GetHklmString(key_, "Named"));
    EXPECT_TRUE(qvtest::GetHklmString(key_, "Other"));
    EXPECT_FALSE(handler.HandleCommand({"HKLM", key_, "Named"}));

    EXPECT_FALSE(handler.HandleCommand({"HKLM"}));
    EXPECT_TRUE(HasLine(log_.Text(), "PrtDrvDataInfo::HandleCommand: not enough arguments!"));
}

}  // namespace
