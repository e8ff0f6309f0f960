// Writes printer data values of one printer; its lines come from the install section of the
// printer's own driver.
#pragma once

#include <windows.h>

#include "engine/GenericInfo.h"

class PrtDrvDataInfo : public GenericInfo {
public:
    PrtDrvDataInfo(OstrafelEngine* engine, const PRINTER_INFO_2A* printer);
    // Arguments: type word (STRING, NUMBER, BINARY), value name, data, optional flags (2: keep a
    // value that exists with that type).
    bool HandleCommand(const CStdStringList& arguments) override;

    // The registry type of a type word; an unknown word is text.
    static DWORD TypeOf(const CStdStr& word);

private:
    CStdStr printerName_;
};
