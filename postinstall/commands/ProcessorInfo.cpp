#include "ProcessorInfo.h"

#include "engine/DebugLog.h"

ProcessorInfo::ProcessorInfo(OstrafelEngine* engine, const PRINTER_INFO_2A* printer)
    : GenericInfo(engine, "PrintProcessor"), printer_(printer)
{
}

bool ProcessorInfo::Process()
{
    DebugLog << "ProcessorInfo::Process: not carried out yet" << '\n';
    DebugLog << "\tPrinter name: " << (printer_ && printer_->pPrinterName ? printer_->pPrinterName : "") << '\n';
    return false;
}
