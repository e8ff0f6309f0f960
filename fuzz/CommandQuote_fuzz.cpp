// The post-install utility's command line as the driver library builds it, read back by the
// utility's own tokenizer. Properties: a text is passed exactly when it can be (not empty, not
// holding both quotes or a zero byte), and then comes back as one field of its own; the options
// come back in order with their values; the program's path ends where the start-up code that
// hands the utility its arguments ends it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "FuzzCheck.h"
#include "engine/Tokenizer.h"

namespace {

bool Passable(const std::string& text)
{
    return !text.empty() && text.find('\0') == std::string::npos &&
           !(text.find('"') != std::string::npos && text.find('\'') != std::string::npos);
}

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

// What the utility's start-up code skips: the program's name (a double quote toggles blanks
// into it) and the blanks after it.
std::string AfterProgram(const std::string& line)
{
    std::size_t i = 0;
    bool quoted = false;
    while (i < line.size() && (static_cast<unsigned char>(line[i]) > ' ' || quoted)) {
        if (line[i] == '"')
            quoted = !quoted;
        ++i;
    }
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ')
        ++i;
    return line.substr(i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    events::PostInstallRequest request;
    request.silent = provider.ConsumeBool();
    request.libraryDir = provider.ConsumeRandomLengthString(64);
    request.port = provider.ConsumeRandomLengthString(64);
    request.printer = provider.ConsumeRemainingBytesAsString();

    for (const std::string* text : {&request.port, &request.printer}) {
        const auto quoted = events::QuoteField(*text);
        FUZZ_CHECK(quoted.has_value() == Passable(*text));
        if (quoted)
            FUZZ_CHECK(Fields(*quoted + " -x " + *quoted) == (std::vector<std::string>{*text, "-x", *text}));
    }

    const std::string script = request.libraryDir + "QVTDX5DA.ALL";
    const auto arguments = events::PostInstallArguments(request);
    FUZZ_CHECK(arguments.has_value() == (Passable(script) && Passable(request.port) && Passable(request.printer)));
    if (!arguments)
        return 0;
    std::vector<std::string> expected;
    if (request.silent)
        expected.push_back("-s");
    for (const std::string& field :
         {std::string("-i"), script, std::string("-d"), std::string("QVTDX5DD.DLL"), std::string("-p"), request.port,
          std::string("-n"), request.printer})
        expected.push_back(field);
    FUZZ_CHECK(Fields(*arguments) == expected);

    const auto line = events::PostInstallCommandLine(request);
    FUZZ_CHECK(line.has_value() == (request.libraryDir.find('"') == std::string::npos));
    if (line)
        FUZZ_CHECK(AfterProgram(*line) == *arguments);
    return 0;
}
