// The single state object of a post-install run.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <vector>

#include "../services/DriverComponent.h"
#include "../services/PathObject.h"
#include "../uninstlog/LogOp.h"
#include "InfFile.h"
#include "OstrafelApp.h"

class GenericInfo;

class OstrafelEngine : public OstrafelApp {
public:
    enum ExitCode {
        ExitOk = 0,
        ExitBadCommandLine = 1,
        ExitNoPrinter = 2,
        ExitNoManufacturer = 3,
        ExitNoInstallSection = 4,
    };

    OstrafelEngine();
    ~OstrafelEngine() override;

    int run(const CStdStr& commandLine);

    bool parseCommandLine(const CStdStr& text);
    // Adopts a script already read, for callers that run handlers without a command line.
    void SetScript(std::unique_ptr<InfFile> script, const CStdStr& installSection, bool pointAndPrint);
    bool getManufacturers();
    // The install section of a driver: empty when no models section names it.
    CStdStr InstallSectionFor(const CStdStr& driverName) const;
    const CStdStr& InstallSection() const { return installSection_; }
    bool GetValue(const CStdStr& section, const CStdStr& key, CStdStr& value) const;
    const CStdStringList* FindSection(const CStdStr& name) const;
    // Whether a command line of the given applicability mode applies to this run's printer.
    bool IsApplicable(long mode) const;

    void AddLogOp(int type, const CStdStr& item, const CStdStr& component, bool useQualifier);
    const std::vector<LogOp>& LogOps() const { return logOps_; }
    // Hands every queued operation, then the driver name, to the uninstall-log library beside the
    // utility. The queue is kept.
    void FlushLogOps(const CStdStr& qualifier);

    void getStrings();
    // Directory codes ($n$) and variables (%name%) in a script field.
    CStdStr DecodeMacros(const CStdStr& text);
    PathObject LookupDir(long code) const;

    long NetworkLevel() const { return networkLevel_; }
    bool IsUnattended() const { return unattended_; }
    bool IsCustomInstall() const { return customInstall_; }
    bool IsUpdateAll() const { return updateAll_; }
    const PathObject& InstallDir() const { return installDir_; }
    const CStdStr& InfPath() const { return infPath_; }
    const std::map<CStdStr, CStdStr>& Macros() const { return macros_; }

    // The spooler's records of the installed drivers of this platform (level 6 or 3).
    DWORD InstalledDriverLevel() const { return driverLevel_; }
    DWORD InstalledDriverCount() const { return driverCount_; }
    const BYTE* InstalledDrivers() const { return drivers_.empty() ? nullptr : drivers_.data(); }
    // Fills the driver array from the spooler (environment and level of this platform).
    bool LoadInstalledDrivers();
    // The first installed driver of that name (without regard to case), changeable in place.
    DriverRecord FindDriverRecord(const CStdStr& name);
    // A copy of the text that lives as long as the engine: what a handler puts into a spooler
    // record must not point into its own short-lived strings.
    char* KeepText(const CStdStr& text);

private:
    void readSwitches();
    void writeHeader(const CStdStr& commandLine);
    void readUninstallSettings();
    void writeSummary();
    void SetupMultipleDrivers();
    void SetupPrinters();
    void loadStrings(const CStdStr& section);

    std::unique_ptr<InfFile> inf_;
    CStdStr infPath_;
    long networkLevel_ = 0;
    bool unattended_ = false;
    bool customInstall_ = false;
    bool updateAll_ = false;
    PathObject installDir_;
    CStdStringList modelsSections_;
    CStdStr installSection_;
    std::vector<BYTE> drivers_;
    DWORD driverLevel_ = 0;
    DWORD driverCount_ = 0;
    std::vector<BYTE> printers_;
    DWORD printerCount_ = 0;
    std::vector<LogOp> logOps_;
    std::map<CStdStr, CStdStr> macros_;
    std::list<CStdStr> keptTexts_;
    std::vector<std::unique_ptr<GenericInfo>> runList_;
};
