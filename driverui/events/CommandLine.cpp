#include "CommandLine.h"

namespace events {

std::optional<std::string> QuoteField(std::string_view text)
{
    const bool doubleQuote = text.find('"') != std::string_view::npos;
    const bool singleQuote = text.find('\'') != std::string_view::npos;
    if (text.empty() || (doubleQuote && singleQuote) || text.find('\0') != std::string_view::npos)
        return std::nullopt;
    const char quote = doubleQuote ? '\'' : '"';
    std::string field(1, quote);
    field += text;
    field += quote;
    return field;
}

std::optional<std::string> PostInstallArguments(const PostInstallRequest& request)
{
    const std::optional<std::string> script = QuoteField(request.libraryDir + std::string(kPostInstallScript));
    const std::optional<std::string> port = QuoteField(request.port);
    const std::optional<std::string> printer = QuoteField(request.printer);
    if (!script || !port || !printer)
        return std::nullopt;
    std::string arguments = request.silent ? "-s " : "";
    arguments += "-i " + *script + " -d " + std::string(kRenderingDriverFile) + " -p " + *port + " -n " + *printer;
    return arguments;
}

std::optional<std::string> PostInstallCommandLine(const PostInstallRequest& request)
{
    const std::string program = request.libraryDir + std::string(kPostInstallProgram);
    // The program is found by the text up to its closing double quote.
    if (program.find('"') != std::string::npos)
        return std::nullopt;
    const std::optional<std::string> arguments = PostInstallArguments(request);
    if (!arguments)
        return std::nullopt;
    return "\"" + program + "\" " + *arguments;
}

}  // namespace events
