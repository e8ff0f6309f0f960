#include <gtest/gtest.h>

#include "services/PathObject.h"

namespace {

struct SplitCase {
    const char* text;
    const char* directory;
    const char* name;
    const char* full;
};

TEST(PathObject, SplitsLikeThePlatformPathSplitter)
{
    const SplitCase cases[] = {
        {"C:\\A\\B\\", "C:\\A\\B", "", "C:\\A\\B"},
        {"C:\\A\\B", "C:\\A", "B", "C:\\A\\B"},
        {"  C:/A/b.inf  ", "C:\\A", "b.inf", "C:\\A\\b.inf"},
        {"setup.inf", "", "setup.inf", "setup.inf"},
        {"C:setup.inf", "C:", "setup.inf", "C:\\setup.inf"},
        {"\\\\server\\share\\x.txt", "\\\\server\\share", "x.txt", "\\\\server\\share\\x.txt"},
        {"   ", "", "", ""},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.text);
        PathObject p(c.text);
        EXPECT_EQ(c.directory, p.directory());
        EXPECT_EQ(c.name, p.name());
        EXPECT_EQ(c.full, p.FullPath());
    }
}

TEST(PathObject, AppendsSubDirectories)
{
    PathObject p;
    p.SetDirectory("C:\\Program Files\\");
    p.AppendSubDir("Qelbrin/QV5\\");
    EXPECT_EQ("C:\\Program Files\\Qelbrin\\QV5", p.directory());
    p.AppendSubDir("\\bin");
    EXPECT_EQ("C:\\Program Files\\Qelbrin\\QV5\\bin", p.FullPath());
    EXPECT_FALSE(p.HasFileName());
}

}  // namespace
