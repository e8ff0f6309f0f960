// The post-install utility's command line as the driver library builds it, read back with the
// utility's own tokenizer the way the utility reads its options.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandLine.h"
#include "engine/Tokenizer.h"

namespace {

using ::testing::ElementsAre;

std::vector<std::string> Fields(const std::string& arguments)
{
    Tokenizer tokenizer(arguments, ' ', TokQuotes | TokTrimLeft);
    std::vector<std::string> fields;
    CStdStr field;
    while (tokenizer.Next(field))
        if (!field.empty())
            fields.push_back(field);
    return fields;
}

TEST(PostInstallCommandLine, IsTheProgramAndItsOptionsInOrder)
{
    const events::PostInstallRequest request{"C:\\Drivers\\x64\\3\\", false, "LPT1:", "Office"};
    EXPECT_EQ(events::PostInstallCommandLine(request),
              "\"C:\\Drivers\\x64\\3\\QVTDX5PI.EXE\" -i \"C:\\Drivers\\x64\\3\\QVTDX5DA.ALL\" -d QVTDX5DD.DLL "
              "-p \"LPT1:\" -n \"Office\"");
    events::PostInstallRequest silent = request;
    silent.silent = true;
    EXPECT_EQ(events::PostInstallArguments(silent),
              "-s -i \"C:\\Drivers\\x64\\3\\QVTDX5DA.ALL\" -d QVTDX5DD.DLL -p \"LPT1:\" -n \"Office\"");
}

// Every text that can be passed comes back as one field of its own; the rest cannot be passed.
TEST(PostInstallCommandLine, CarriesEachNameAsOneFieldOrNotAtAll)
{
    const struct {
        std::string text;
        bool passes;
    } cases[] = {
        {"Office \"2\"", true},
        {"O'Brien", true},
        {" -i C:\\x.inf ", true},
        {"-n", true},
        {"-s -n Other", true},
        {"Trailing\\", true},
        {"\\\\server\\printer", true},
        {"LPT1:,FILE:", true},
        {"\"", true},
        {"'", true},
        {"tab\there", true},
        {"\"quoted\" and 'single'", false},
        {"", false},
        {std::string("zero\0byte", 9), false},
    };
    const std::string dir = "C:\\Program Files\\Qel 'drv'\\";
    for (const auto& c : cases) {
        for (const bool asPort : {false, true}) {
            const events::PostInstallRequest request{dir, true, asPort ? c.text : "LPT1:", asPort ? "Office" : c.text};
            const std::optional<std::string> arguments = events::PostInstallArguments(request);
            ASSERT_EQ(arguments.has_value(), c.passes) << "[" << c.text << "]";
            if (!arguments)
                continue;
            EXPECT_THAT(Fields(*arguments), ElementsAre("-s", "-i", dir + "QVTDX5DA.ALL", "-d", "QVTDX5DD.DLL", "-p",
                                                        request.port, "-n", request.printer))
                << *arguments;
        }
    }
}

TEST(PostInstallCommandLine, NeedsAProgramPathTheStartCanFind)
{
    EXPECT_FALSE(events::PostInstallCommandLine({"C:\\odd\"dir\\", false, "LPT1:", "Office"}));
}

}  // namespace
