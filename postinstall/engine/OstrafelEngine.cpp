#include "OstrafelEngine.h"

#include <cstdio>
#include <ctime>

#include "../services/FileOp.h"
#include "../services/OSInfo.h"
#include "../services/Registry.h"
#include "DebugLog.h"
#include "../commands/AddRegInfo.h"
#include "../commands/DeleteFileInfo.h"
#include "../commands/DeleteRegInfo.h"
#include "../commands/InstFileInfo.h"
#include "../commands/MonitorInfo.h"
#include "../commands/ProcessorInfo.h"
#include "../commands/PrtDrvDataInfo.h"
#include "../commands/RunExeInfo.h"
#include "../commands/StartMenuInfo.h"
#include "../commands/UninstallInfo.h"
#include "../commands/UnzipFileInfo.h"
#include "../commands/UpdateDepFilesInfo.h"
#include "../commands/UpdateIniInfo.h"
#include "GenericInfo.h"
#include "SpoolerRecords.h"
#include "Tokenizer.h"

namespace {

const char* const kSwitchKey = "SOFTWARE\\Qelbrin";

const char* YesNo(bool flag) { return flag ? "yes" : "no"; }

// DRIVER_INFO_6A begins with the fields of DRIVER_INFO_3A, so both levels read alike.
DRIVER_INFO_3A* DriverAt(std::vector<BYTE>& buffer, DWORD level, DWORD index)
{
    size_t size = level == 6 ? sizeof(DRIVER_INFO_6A) : sizeof(DRIVER_INFO_3A);
    return reinterpret_cast<DRIVER_INFO_3A*>(buffer.data() + index * size);
}

CStdStr Text(const char* s) { return s ? CStdStr(s) : CStdStr(); }

}  // namespace

OstrafelEngine::OstrafelEngine() = default;
OstrafelEngine::~OstrafelEngine() = default;

int OstrafelEngine::run(const CStdStr& commandLine)
{
    readSwitches();
    writeHeader(commandLine);
    if (!parseCommandLine(commandLine))
        return ExitBadCommandLine;
    if (!getManufacturers())
        return ExitNoManufacturer;
    if (!getPrinterInfo())
        return ExitNoPrinter;
    installSection_ = InstallSectionFor(driverName_);
    if (installSection_.empty())
        return ExitNoInstallSection;

    CStdStr value;
    if (GetValue(installSection_, "QV_DRV_NETSUPPORT", value))
        networkLevel_ = ParseDecimal(value);
    readUninstallSettings();
    getStrings();
    writeSummary();

    runList_.push_back(std::make_unique<UnzipFileInfo>(this));
    runList_.push_back(std::make_unique<RunExeInfo>(this, 0));
    runList_.push_back(std::make_unique<InstFileInfo>(this));
    SetupMultipleDrivers();
    SetupPrinters();
    runList_.push_back(std::make_unique<UpdateIniInfo>(this));
    runList_.push_back(std::make_unique<StartMenuInfo>(this));
    runList_.push_back(std::make_unique<RunExeInfo>(this, 1));
    runList_.push_back(std::make_unique<DeleteFileInfo>(this));
    runList_.push_back(std::make_unique<UninstallInfo>(this));

    // A handler's result never stops the run: each reports its own outcome in the log.
    for (auto& handler : runList_)
        handler->Process();
    runList_.clear();
    return ExitOk;
}

void OstrafelEngine::readSwitches()
{
    Registry reg;
    DebugBuf.SetFile(reg.ReadString("HKLM", kSwitchKey, "OstrafelDebug"));
    updateAll_ = ParseDecimal(reg.ReadString("HKLM", kSwitchKey, "OstrafelUpdateAllPrinters")) > 0;
    customInstall_ = ParseDecimal(reg.ReadString("HKLM", kSwitchKey, "Running")) > 0;
}

void OstrafelEngine::writeHeader(const CStdStr& commandLine)
{
    DebugLog << "---- Post install utility Flight Recorder ----" << '\n';
    std::time_t now = std::time(nullptr);
    char stamp[64] = "";
    if (const std::tm* local = std::localtime(&now))
        std::strftime(stamp, sizeof stamp, "%a %b %d %H:%M:%S %Y", local);
    DebugLog << stamp << '\n' << '\n';
    DebugLog << "Command line: " << commandLine << '\n';
}

void OstrafelEngine::SetScript(std::unique_ptr<InfFile> script, const CStdStr& installSection, bool pointAndPrint)
{
    inf_ = std::move(script);
    installSection_ = installSection;
    pointAndPrint_ = pointAndPrint;
}

bool OstrafelEngine::parseCommandLine(const CStdStr& text)
{
    Tokenizer tokenizer;
    tokenizer.set(text, ' ', TokQuotes | TokTrimLeft);
    CStdStringList fields;
    CStdStr field;
    while (tokenizer.Next(field))
        if (!field.empty())
            fields.push_back(field);

    CStdStr infValue;
    for (size_t i = 0; i < fields.size(); ++i) {
        const CStdStr& option = fields[i];
        if (option.size() != 2 || option[0] != '-')
            continue;
        char letter = ToLowerC(option[1]);
        if (letter == 's') {
            unattended_ = true;
            continue;
        }
        if (i + 1 >= fields.size())
            break;
        const CStdStr& value = fields[++i];
        if (letter == 'i')
            infValue = value;
        else if (letter == 'n')
            printObjectName_ = value;
        else if (letter == 'p')
            port_ = value;
    }

    bool ok = true;
    PathObject inf(infValue);
    infPath_ = inf.FullPath();
    if (!inf.HasFileName() || !FileOp::AnythingAt(inf)) {
        DebugLog << "parseCommandLine: could not load INF: " << infPath_ << '\n';
        ok = false;
    } else {
        inf_ = std::make_unique<InfFile>();
        inf_->Load(infPath_);
    }
    if (printObjectName_.empty()) {
        DebugLog << "parseCommandLine: no printer name specified." << '\n';
        ok = false;
    }
    return ok;
}

bool OstrafelEngine::getManufacturers()
{
    const CStdStringList* lines = FindSection("Manufacturer");
    if (!lines) {
        DebugLog << "OstrafelEngine::getManufacturers: could not find manufacturer section: Manufacturer"
                 << '\n';
        return false;
    }
    for (const CStdStr& line : *lines) {
        CStdStr key, value;
        if (SplitKeyValue(line, key, value))
            modelsSections_.push_back(value.empty() ? key : value);
    }
    return true;
}

CStdStr OstrafelEngine::InstallSectionFor(const CStdStr& driverName) const
{
    for (const CStdStr& models : modelsSections_) {
        CStdStr value;
        if (!GetValue(models, driverName, value))
            continue;
        Tokenizer tokenizer;
        tokenizer.set(value, ',', TokQuotes | TokTrimLeft);
        CStdStr first;
        tokenizer.Next(first);
        return first;
    }
    return CStdStr();
}

bool OstrafelEngine::GetValue(const CStdStr& section, const CStdStr& key, CStdStr& value) const
{
    value.clear();
    return inf_ && inf_->GetValue(section, key, value);
}

const CStdStringList* OstrafelEngine::FindSection(const CStdStr& name) const
{
    return inf_ ? inf_->FindSection(name) : nullptr;
}

bool OstrafelEngine::IsApplicable(long mode) const
{
    return (mode & (pointAndPrint_ ? 2 : 1)) != 0;
}

void OstrafelEngine::AddLogOp(int type, const CStdStr& item, const CStdStr& component, bool useQualifier)
{
    logOps_.push_back(LogOp{type, item, component, useQualifier});
}

void OstrafelEngine::readUninstallSettings()
{
    CStdStr settings;
    if (!GetValue(installSection_, "QelUninstall", settings))
        settings = "Qel_Unst_Info";
    CStdStr value;
    if (!GetValue(settings, "QelInstallDir", value))
        return;
    Tokenizer tokenizer;
    tokenizer.set(value, ',', 0);
    CStdStr code, subPath;
    tokenizer.Next(code);
    tokenizer.Next(subPath);
    PathObject dir = LookupDir(ParseDecimal(code));
    if (!subPath.empty())
        dir.AppendSubDir(subPath);
    installDir_ = dir;
}

void OstrafelEngine::writeSummary()
{
    DebugLog << "Driver name:       " << driverName_ << '\n';
    DebugLog << "Print Object Name: " << printObjectName_ << '\n';
    DebugLog << "Point and Print:   " << YesNo(pointAndPrint_) << '\n';
    DebugLog << "Install section:   " << installSection_ << '\n';
    DebugLog << "Update Mode:       " << YesNo(updateAll_) << '\n';
    DebugLog << "Custom install:    " << YesNo(customInstall_) << '\n';
    DebugLog << "Network level:\t\t" << networkLevel_ << '\n';
}

bool OstrafelEngine::LoadInstalledDrivers()
{
    char environment[32];
    std::snprintf(environment, sizeof environment, "%s", DriverEnvironment());
    DWORD level = DriverLevel();
    DWORD needed = 0, count = 0;
    BOOL ok = EnumPrinterDriversA(nullptr, environment, level, nullptr, 0, &needed, &count);
    if (!ok && GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > 0) {
        drivers_.assign(needed, 0);
        ok = EnumPrinterDriversA(nullptr, environment, level, drivers_.data(), needed, &needed, &count);
    }
    if (!ok) {
        DebugLog << "SetupMultipleDrivers: EnumPrinterDrivers failed with code " << GetLastError() << '\n';
        drivers_.clear();
        driverCount_ = 0;
        return false;
    }
    driverLevel_ = level;
    driverCount_ = drivers_.empty() ? 0 : count;
    return true;
}

void OstrafelEngine::SetupMultipleDrivers()
{
    if (!LoadInstalledDrivers())
        return;
    const DWORD level = driverLevel_;
    for (DWORD i = 0; i < driverCount_; ++i) {
        DRIVER_INFO_3A* driver = DriverAt(drivers_, level, i);
        CStdStr name = Text(driver->pName);
        DebugLog << " Driver found: " << name << '\n';
        if (!DriverFitsOS(driver->cVersion)) {
            DebugLog << "\tSkipping: this driver is not for this OS version" << '\n';
            continue;
        }
        if (level == 6 && Text(driver->pHelpFile).empty())
            DebugLog << " WARNING!! Missing RegKey: HelpFile is empty for: " << name << '\n';
        runList_.push_back(std::make_unique<UpdateDepFilesInfo>(this, DriverRecord{driver, level}));
        if (updateAll_ || name == driverName_) {
            runList_.push_back(std::make_unique<DeleteRegInfo>(this, name));
            runList_.push_back(std::make_unique<AddRegInfo>(this, name));
        }
    }
}

DriverRecord OstrafelEngine::FindDriverRecord(const CStdStr& name)
{
    for (DWORD i = 0; i < driverCount_; ++i) {
        DRIVER_INFO_3A* driver = DriverAt(drivers_, driverLevel_, i);
        if (EqualNoCase(Text(driver->pName), name))
            return DriverRecord{driver, driverLevel_};
    }
    return DriverRecord{nullptr, driverLevel_};
}

char* OstrafelEngine::KeepText(const CStdStr& text)
{
    return keptTexts_.emplace_back(text).data();
}

void OstrafelEngine::SetupPrinters()
{
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    BOOL ok = EnumPrintersA(flags, nullptr, 2, nullptr, 0, &needed, &count);
    if (!ok && GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > 0) {
        printers_.assign(needed, 0);
        ok = EnumPrintersA(flags, nullptr, 2, printers_.data(), needed, &needed, &count);
    }
    if (!ok) {
        DebugLog << "OstrafelEngine::SetupPrinters: EnumPrinters failed with code " << GetLastError() << '\n';
        printers_.clear();
        return;
    }
    printerCount_ = printers_.empty() ? 0 : count;

    OSInfo os;
    auto* printers = reinterpret_cast<PRINTER_INFO_2A*>(printers_.data());
    for (DWORD i = 0; i < printerCount_; ++i) {
        PRINTER_INFO_2A& printer = printers[i];
        if (!updateAll_) {
            if (os.Is9x() && Text(printer.pDriverName) != driverName_)
                continue;
            if (os.IsNT() && Text(printer.pPrinterName) != printObjectName_)
                continue;
        }
        DriverRecord driver = FindDriverRecord(Text(printer.pDriverName));
        runList_.push_back(std::make_unique<PrtDrvDataInfo>(this, &printer));
        runList_.push_back(std::make_unique<MonitorInfo>(this, &printer, driver));
        if (!IsRemotePrinter(printer))
            runList_.push_back(std::make_unique<ProcessorInfo>(this, &printer));
    }
}
