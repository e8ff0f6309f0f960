// The command lines the document events start after a job: the status monitor and the companion
// program (started with WinExec, narrow), the job conversion and the manual-duplex instructions
// (rundll32 through CreateProcessW, wide), and the test that a job was printed from this
// computer. No platform headers: the names in them come from the spooler and the application,
// and the lines are fuzzed natively.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace docevents {

inline constexpr char kStatusMonitorProgram[] = "QVTDSTAT.EXE";
inline constexpr char kCompanionProgram[] = "QVTDX0AA.EXE";
inline constexpr wchar_t kConversionSeparator = L'\x01';

// A path up to and including its last backslash; empty when it has none.
std::string DirectoryOf(std::string_view path);
std::wstring DirectoryOf(std::wstring_view path);

// The first entry of a printer's port list (entries separated by commas); empty when none.
std::string FirstPort(std::string_view portList);

// Whether a job counts as printed from this computer: its machine name (trailing blanks and
// leading backslashes removed) is this computer's, ignoring case; or it is another's while the
// printer is served by another computer (a connection), whose spooler names the client as it
// likes. A job without a machine name, and a printer without a server name, are this computer's.
bool IsLocalJob(std::string_view machineName, std::string_view serverName, std::string_view computerName);

// driver directory + "QVTDSTAT.EXE" + " " + printer ";" port ";" "PP;"
std::string StatusMonitorCommand(std::string_view driverDirectory, std::string_view printer, std::string_view port);
// driver directory + "QVTDX0AA.EXE" + " " + printer ";" document ";" (or " ;" without one)
// driver ";" port ";" "PP;"
std::string CompanionCommand(std::string_view driverDirectory, std::string_view printer,
                             std::optional<std::string_view> document, std::string_view driver,
                             std::string_view port);

// The conversion's argument text: document, printer, temporary file and output name, separated
// by U+0001 (absent parts empty).
std::wstring ConversionArguments(std::wstring_view document, std::wstring_view printer, std::wstring_view tempFile,
                                 std::wstring_view output);
// "rundll32.exe QVTDX5LU.DLL,runConvert " + arguments
std::wstring ConversionCommand(std::wstring_view arguments);

// "rundll32.exe " + dialog library path + ",showManualDuplexDlg " + variant + " QVTDX5B1.DLL"
std::wstring ManualDuplexCommand(std::wstring_view dialogLibraryPath, int variant);
// The in-process form's command text: variant + " " + directory + "\" + "QVTDX5B1.DLL"
std::wstring ManualDuplexText(int variant, std::wstring_view directory);

}  // namespace docevents
