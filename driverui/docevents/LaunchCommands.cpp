#include "LaunchCommands.h"

#include "SiblingNames.h"

namespace docevents {
namespace {

template <class C>
std::basic_string<C> DirectoryPart(std::basic_string_view<C> path)
{
    const std::size_t last = path.find_last_of(C('\\'));
    return last == path.npos ? std::basic_string<C>() : std::basic_string<C>(path.substr(0, last + 1));
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    return true;
}

std::string_view WithoutLeadingBackslashes(std::string_view s)
{
    while (!s.empty() && s.front() == '\\')
        s.remove_prefix(1);
    return s;
}

}  // namespace

std::string DirectoryOf(std::string_view path)
{
    return DirectoryPart(path);
}

std::wstring DirectoryOf(std::wstring_view path)
{
    return DirectoryPart(path);
}

std::string FirstPort(std::string_view portList)
{
    return std::string(portList.substr(0, portList.find(',')));
}

bool IsLocalJob(std::string_view machineName, std::string_view serverName, std::string_view computerName)
{
    while (!machineName.empty() && machineName.back() == ' ')
        machineName.remove_suffix(1);
    machineName = WithoutLeadingBackslashes(machineName);
    if (machineName.empty() || SameIgnoringCase(machineName, computerName))
        return true;
    serverName = WithoutLeadingBackslashes(serverName);
    return !serverName.empty() && !SameIgnoringCase(serverName, computerName);
}

std::string StatusMonitorCommand(std::string_view driverDirectory, std::string_view printer, std::string_view port)
{
    std::string line(driverDirectory);
    line.append(kStatusMonitorProgram).append(" ").append(printer).append(";").append(port).append(";").append("PP;");
    return line;
}

std::string CompanionCommand(std::string_view driverDirectory, std::string_view printer,
                             std::optional<std::string_view> document, std::string_view driver,
                             std::string_view port)
{
    std::string line(driverDirectory);
    line.append(kCompanionProgram).append(" ").append(printer).append(";");
    if (document)
        line.append(*document).append(";");
    else
        line.append(" ;");
    line.append(driver).append(";").append(port).append(";").append("PP;");
    return line;
}

std::wstring ConversionArguments(std::wstring_view document, std::wstring_view printer, std::wstring_view tempFile,
                                 std::wstring_view output)
{
    std::wstring text(document);
    text.append(1, kConversionSeparator).append(printer);
    text.append(1, kConversionSeparator).append(tempFile);
    text.append(1, kConversionSeparator).append(output);
    return text;
}

std::wstring ConversionCommand(std::wstring_view arguments)
{
    std::wstring line = L"rundll32.exe ";
    line.append(kJobConversionLibrary.wide).append(L",runConvert ").append(arguments);
    return line;
}

std::wstring ManualDuplexCommand(std::wstring_view dialogLibraryPath, int variant)
{
    std::wstring line = L"rundll32.exe ";
    line.append(dialogLibraryPath).append(L",showManualDuplexDlg ").append(std::to_wstring(variant));
    line.append(L" ").append(kInstructionLibrary.wide);
    return line;
}

std::wstring ManualDuplexText(int variant, std::wstring_view directory)
{
    std::wstring text = std::to_wstring(variant);
    text.append(L" ").append(directory).append(L"\\").append(kInstructionLibrary.wide);
    return text;
}

}  // namespace docevents
