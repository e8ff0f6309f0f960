#include "RunExeInfo.h"

#include <windows.h>

#include <vector>

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "services/Launcher.h"
#include "services/OSInfo.h"
#include "services/PrinterHandle.h"

namespace {

constexpr unsigned long kSeparateVdm = 0x800;
constexpr unsigned long kDetachedNormal = 0x28;

long ArgumentNumber(const CStdStringList& arguments, size_t index, long fallback)
{
    return index < arguments.size() ? ParseDecimal(arguments[index]) : fallback;
}

}  // namespace

RunExeInfo::DocumentPropertiesHook RunExeInfo::DocumentPropertiesFn = &RunExeInfo::PlatformDocumentProperties;

RunExeInfo::RunExeInfo(OstrafelEngine* engine, int type)
    : GenericInfo(engine, type == 0 ? "QelUnZipEXEFile" : "QelRunApps"), type_(type)
{
}

unsigned long RunExeInfo::CreationFlagsFor(const CStdStr& programType)
{
    if (EqualNoCase(programType, "DOS") || EqualNoCase(programType, "WIN16"))
        return kSeparateVdm;
    return kDetachedNormal;
}

bool RunExeInfo::IsDriverKeyword(const CStdStr& text)
{
    // Exact case: "driver_doc_prop" is a program name.
    return text == "DRIVER_DOC_PROP" || text == "DRIVER_ADV_DOC_PROP" || text == "DRIVER_PTR_PROP";
}

long RunExeInfo::PlatformDocumentProperties(void* printer, const CStdStr& printerName)
{
    return DocumentPropertiesA(nullptr, static_cast<HANDLE>(printer), const_cast<char*>(printerName.c_str()),
                               nullptr, nullptr, DM_IN_PROMPT);
}

bool RunExeInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.empty()) {
        DebugLog << "RunAppInfo::HandleCommand: Not enough arguments!" << '\n';
        return false;
    }
    const CStdStr& program = arguments[0];
    const CStdStr parameters = arguments.size() > 1 ? arguments[1] : CStdStr();
    const long show = ArgumentNumber(arguments, 2, 0);
    const bool wait = ArgumentNumber(arguments, 3, 1) == 1;
    const unsigned long flags = arguments.size() > 4 ? CreationFlagsFor(arguments[4]) : 0;
    const bool runUnattended = ArgumentNumber(arguments, 5, 1) == 1;

    if (engine_->IsUnattended() && !runUnattended)
        return true;

    if (IsDriverKeyword(program)) {
        if (OSInfo().IsNT())
            runDriver(program);
        return true;
    }

    const CStdStr path = engine_->DecodeMacros(program);
    const CStdStr commandLine = path + " " + parameters;
    // The program path is quoted for the launcher, so a blank in it (Program Files) cannot cut
    // it short; an already quoted path is left as written.
    const bool quoted = !path.empty() && path.front() == '"';
    const CStdStr launchLine = (quoted ? path : "\"" + path + "\"") + (parameters.empty() ? "" : " " + parameters);

    Launcher launcher;
    if (wait) {
        unsigned long exitCode = 0;
        const unsigned long error =
            launcher.LaunchAndWait(launchLine, false, exitCode, true, nullptr, int(show), flags);
        DebugLog << "RunProgramInfo: " << commandLine << " returned " << exitCode << " (error code " << error << ")"
                 << '\n';
    } else {
        const unsigned long error = launcher.LaunchNoWait(launchLine, true, nullptr, int(show), flags);
        DebugLog << "RunProgramInfo: " << commandLine << " ran.  (Error code " << error << ")" << '\n';
    }
    return true;
}

bool RunExeInfo::runDriver(const CStdStr& keyword)
{
    const CStdStr& name = engine_->PrintObjectName();
    PrinterHandle printer;
    if (!printer.Open(name, PRINTER_ACCESS_USE | READ_CONTROL)) {
        DebugLog << "RunAppInfo::runDriver: OpenPrinter of " << name << " failed with code " << GetLastError() << '\n';
        return false;
    }
    DWORD needed = 0;
    GetPrinterA(printer.get(), 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterA(printer.get(), 2, info.data(), needed, &needed))
        return false;
    // The advanced document properties and the printer's own pages are recognised but open
    // nothing here.
    if (keyword == "DRIVER_DOC_PROP")
        return DocumentPropertiesFn(printer.get(), name) != 0;
    return true;
}
