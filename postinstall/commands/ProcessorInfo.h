// Registers the print processor named in the driver's data section and makes it, with its
// default data type, the processor of a local printer.
#pragma once

#include <windows.h>

#include "engine/GenericInfo.h"

class ProcessorInfo : public GenericInfo {
public:
    // The printer record is the engine's; the processor and data type are written into it.
    ProcessorInfo(OstrafelEngine* engine, PRINTER_INFO_2A* printer);
    // Reads its settings from the driver's data section rather than from command lines.
    bool Process() override;
    bool HandleCommand(const CStdStringList&) override { return true; }

    bool addProcessor();
    bool writeProcessorInfo();

    const CStdStr& ProcessorName() const { return processor_; }
    const CStdStr& ProcessorFile() const { return file_; }
    const CStdStr& DataType() const { return dataType_; }

private:
    void readSettings(const CStdStr& dataSection);

    PRINTER_INFO_2A* printer_;
    CStdStr processor_;
    CStdStr file_;
    CStdStr dataType_;
};
