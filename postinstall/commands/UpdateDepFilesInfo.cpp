#include "UpdateDepFilesInfo.h"

#include <cstring>
#include <set>

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "engine/Tokenizer.h"
#include "services/OSInfo.h"
#include "services/SystemPath.h"

namespace {

struct NoCaseLess {
    bool operator()(const CStdStr& a, const CStdStr& b) const { return ToLower(a) < ToLower(b); }
};
using FileSet = std::set<CStdStr, NoCaseLess>;

CStdStr Text(const char* s) { return s ? CStdStr(s) : CStdStr(); }

}  // namespace

UpdateDepFilesInfo::UpdateDepFilesInfo(OstrafelEngine* engine, DriverRecord driver)
    : GenericInfo(engine, "UpdateDependentFiles", driver.info ? Text(driver.info->pName) : CStdStr()),
      driver_(driver)
{
}

bool UpdateDepFilesInfo::Process()
{
    if (!driver_ || driverName_.empty())
        return true;
    const CStdStr section = engine_->InstallSectionFor(driverName_);
    if (section.empty())
        return true;
    DRIVER_INFO_3A& record = *driver_.info;

    // The files the script copies for this driver, in the order it names them.
    CStdStringList names;
    CStdStr copyFiles;
    engine_->GetValue(section, "CopyFiles", copyFiles);
    CStdStringList items;
    Tokenizer(copyFiles, ',', TokQuotes).SplitAll(items);
    for (const CStdStr& item : items) {
        if (!item.empty() && item[0] == '@') {
            size_t start = 0;
            while (start < item.size() && (item[start] == '@' || IsSpaceC(item[start])))
                ++start;
            names.push_back(item.substr(start));
            continue;
        }
        const CStdStringList* lines = engine_->FindSection(item);
        if (!lines)
            continue;
        for (const CStdStr& line : *lines) {
            size_t equals = line.find('=', 1);
            names.push_back(Trim(equals == CStdStr::npos ? line : line.substr(0, equals)));
        }
    }

    OSInfo os;
    const PathObject versioned = SystemPath(folders::kPrinterDriversVersion);
    FileSet scriptFiles;
    for (CStdStr name : names) {
        if (name.empty())
            continue;
        if (os.IsNT()) {
            PathObject full = versioned;
            full.SetName(name);
            name = full.FullPath();
        }
        if (os.IsNT5OrLater()) {
            const CStdStr help = Text(record.pHelpFile);
            if (EqualNoCase(name, Text(record.pDataFile)) || EqualNoCase(name, Text(record.pConfigFile)) ||
                EqualNoCase(name, Text(record.pDriverPath)) || (!help.empty() && EqualNoCase(name, help)))
                continue;
        }
        scriptFiles.insert(name);
    }

    FileSet driverFiles;
    for (const char* name = record.pDependentFiles; name && *name; name += std::strlen(name) + 1)
        driverFiles.insert(name);

    if (scriptFiles.empty()) {
        DebugLog << "UpdateDepFilesInfo::Process: no inf dependent files found:" << '\n';
        DebugLog << "\tDriver name: " << driverName_ << '\n';
        DebugLog << "\tINF section: " << section << '\n';
        return false;
    }
    if (driverFiles.empty()) {
        DebugLog << "UpdateDepFilesInfo::Process: no driver dependent files found:" << '\n';
        DebugLog << "\tDriver name: " << driverName_ << '\n';
        return false;
    }

    bool needed = false;
    for (const CStdStr& file : scriptFiles) {
        if (driverFiles.count(file))
            continue;
        DebugLog << "\tThis file will cause an update: " << file << '\n';
        needed = true;
        break;
    }
    if (!needed)
        return true;

    DebugLog << "UpdateDepFilesInfo::Process: driver " << driverName_ << " needs an update" << '\n';
    CStdStr list;
    for (const CStdStr& file : scriptFiles) {
        list += PathObject(file).name();
        list += '\0';
    }
    list += '\0';
    // The spooler's enumeration buffer has no room for a longer list: the engine keeps the new one.
    record.pDependentFiles = engine_->KeepText(list);
    return DriverComponent::UpdatePrinterDriver(&record, driver_.level);
}
