#include "ProcessorInfo.h"

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "engine/Tokenizer.h"
#include "services/DriverComponent.h"
#include "services/PrinterHandle.h"

namespace {

CStdStr Text(const char* s) { return s ? CStdStr(s) : CStdStr(); }

CStdStr Unquoted(const CStdStr& text)
{
    CStdStr trimmed = Trim(text);
    if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"')
        return trimmed.substr(1, trimmed.size() - 2);
    return trimmed;
}

}  // namespace

ProcessorInfo::ProcessorInfo(OstrafelEngine* engine, PRINTER_INFO_2A* printer)
    : GenericInfo(engine, "PrintProcessor"), printer_(printer)
{
}

bool ProcessorInfo::Process()
{
    if (!printer_)
        return false;
    const CStdStr printer = Text(printer_->pPrinterName);
    const CStdStr driver = Text(printer_->pDriverName);
    const CStdStr section = engine_->InstallSectionFor(driver);
    if (section.empty())
        return false;
    DebugLog << "ProcessorInfo Status" << '\n';
    DebugLog << "\t\tPrinter name:    " << printer << '\n';
    DebugLog << "\t\tDriver name:     " << driver << '\n';
    DebugLog << "\t\tInstall section: " << section << '\n';
    CStdStr dataSection;
    if (!engine_->GetValue(section, "DataSection", dataSection)) {
        DebugLog << "\t\tNo data section!" << '\n';
        return false;
    }
    DebugLog << "\t\tData section:    " << dataSection << '\n';
    readSettings(dataSection);
    addProcessor();
    writeProcessorInfo();
    return true;
}

void ProcessorInfo::readSettings(const CStdStr& dataSection)
{
    static const char* const kKeys[][2] = {{"QelPrintProcessor", "QelDefaultDataType"},
                                           {"PrintProcessor", "DefaultDataType"}};
    for (const auto& keys : kKeys) {
        if (!processor_.empty())
            break;
        CStdStr value;
        if (engine_->GetValue(dataSection, keys[0], value)) {
            Tokenizer tokenizer(Unquoted(engine_->DecodeMacros(value)), ',', TokQuotes | TokTrimLeft);
            tokenizer.Next(processor_);
            tokenizer.Next(file_);
        }
        if (dataType_.empty() && engine_->GetValue(dataSection, keys[1], value))
            Tokenizer(value, ',').Next(dataType_);
    }
}

bool ProcessorInfo::addProcessor()
{
    DebugLog << "ProcessorInfo::addProcessor: About to add processor." << '\n';
    DebugLog << "\t\tProcessor: " << processor_ << '\n';
    DebugLog << "\t\tDLL: " << file_ << '\n';
    DebugLog << "\t\tData Type: " << dataType_ << '\n';
    if (processor_.empty() || file_.empty())
        return false;
    CStdStr environment = DriverEnvironment();
    if (!AddPrintProcessorA(nullptr, environment.data(), file_.data(), processor_.data())) {
        DebugLog << "ProcessorInfo::addProcessor: system AddPrintProcessor returned " << GetLastError() << '\n';
        return false;
    }
    DebugLog << "ProcessorInfo::addProcessor: added processor successfully!" << '\n';
    return true;
}

bool ProcessorInfo::writeProcessorInfo()
{
    if (processor_.empty())
        return false;
    const CStdStr printer = Text(printer_->pPrinterName);
    if (printer_->pPrintProcessor && printer_->pDatatype && processor_ == printer_->pPrintProcessor &&
        dataType_ == printer_->pDatatype)
        return false;
    DebugLog << "PrinterInfo::writeProcessorInfo: adding processor " << processor_ << " to printer " << printer
             << '\n';
    auto detail = [&](DWORD code) {
        DebugLog << "\tCode: " << code << "\n\tPrint object: " << printer << "\n\tProcessor: " << processor_ << '\n';
    };
    PrinterHandle handle;
    if (!handle.Open(printer)) {
        DWORD code = GetLastError();
        DebugLog << "ProcessorInfo::WriteProcessorInfo: OpenPrinter failed." << '\n';
        detail(code);
        return false;
    }
    printer_->pPrintProcessor = engine_->KeepText(processor_);
    if (!dataType_.empty())
        printer_->pDatatype = engine_->KeepText(dataType_);
    bool ok = SetPrinterA(handle.get(), 2, reinterpret_cast<BYTE*>(printer_), 0) != FALSE;
    if (!ok) {
        DWORD code = GetLastError();
        DebugLog << "ProcessorInfo::writeProcessorInfo: SetPrinter failed." << '\n';
        detail(code);
    }
    return ok;
}
