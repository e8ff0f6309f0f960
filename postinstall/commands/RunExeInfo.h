// Runs programs named by the script: type 0 the extractors before the files are installed,
// type 1 the applications after everything else. The driver keywords open the printer's own
// pages instead of a program.
#pragma once

#include "engine/GenericInfo.h"

class RunExeInfo : public GenericInfo {
public:
    // The type selects the keyword only.
    RunExeInfo(OstrafelEngine* engine, int type);
    bool HandleCommand(const CStdStringList& arguments) override;

    // Process-creation flags for the program type of argument 5 (any case).
    static unsigned long CreationFlagsFor(const CStdStr& programType);
    static bool IsDriverKeyword(const CStdStr& text);

    // Shows the driver's document-properties dialog (the platform's DocumentPropertiesA with
    // prompting and no devmodes); returns its result. Tests replace it: the real dialog is modal.
    using DocumentPropertiesHook = long (*)(void* printer, const CStdStr& printerName);
    static DocumentPropertiesHook DocumentPropertiesFn;
    static long PlatformDocumentProperties(void* printer, const CStdStr& printerName);

private:
    bool runDriver(const CStdStr& keyword);

    int type_;
};
