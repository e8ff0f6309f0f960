#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "engine/IniFile.h"

namespace {

using enginetest::LogCapture;
using enginetest::ReadBytes;
using enginetest::TempDir;

TEST(IniFile, WritesSectionsAndKeysInFirstSetOrder)
{
    IniFile ini;
    ini.SetValue("Main", "Key", "1");
    ini.SetValue("Other", "A", "x y");
    ini.SetValue("main", "KEY", "2");  // replaces Key, keeps its place and spelling
    ini.SetValue("Main", "B", "");
    ini.SetValue("OTHER", "a", "z");

    TempDir dir;
    CStdStr path = dir.File("out.ini");
    EXPECT_TRUE(ini.Write(path));
    EXPECT_EQ(ReadBytes(path),
              "[Main]\r\nKey=2\r\nB=\r\n\r\n"
              "[Other]\r\nA=z\r\n\r\n");
}

TEST(IniFile, EmptyDocumentWritesAnEmptyFile)
{
    TempDir dir;
    CStdStr path = dir.File("empty.ini");
    enginetest::WriteBytes(path, "old");
    IniFile ini;
    EXPECT_TRUE(ini.Write(path));
    EXPECT_EQ(ReadBytes(path), "");
}

TEST(IniFile, SectionsAreFoundWithoutRegardToCase)
{
    IniFile ini;
    IniSection& first = ini.GetSection("Setup");
    EXPECT_EQ(&ini.GetSection("SETUP"), &first);
    EXPECT_EQ(first.name(), "Setup");

    first.set("Path", "C:\\x");
    CStdStr value = "stale";
    const IniSection& section = first;
    EXPECT_TRUE(section.GetValue("PATH", value));
    EXPECT_EQ(value, "C:\\x");
    EXPECT_FALSE(section.GetValue("Other", value));
    EXPECT_EQ(value, "");
}

TEST(IniFile, WriteFailureIsReported)
{
    TempDir dir;
    CStdStr path = dir.File("no such dir\\out.ini");
    IniFile ini;
    ini.SetValue("S", "k", "v");
    LogCapture log;
    EXPECT_FALSE(ini.Write(path));
    EXPECT_EQ(log.Text(), "TextFile::Open: open of " + path + " failed.\n"
                          "IniFile::Write: Failed to open " + path + " for writing.\n");
}

}  // namespace
