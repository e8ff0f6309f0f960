#include "UninstallInfo.h"

#include "engine/DebugLog.h"
#include "engine/IniFile.h"
#include "engine/OstrafelEngine.h"
#include "services/FileOp.h"
#include "services/InstallEngine.h"
#include "services/SystemPath.h"
#include "services/Zip.h"

UninstallInfo::UninstallInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelUninstall") {}

bool UninstallInfo::ParseCommand(const CStdStr& line)
{
    const size_t equals = line.find('=');
    if (equals != CStdStr::npos && EqualNoCase(Trim(line.substr(0, equals)), "QelInstallDir"))
        return true;
    return GenericInfo::ParseCommand(line);
}

bool UninstallInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.empty()) {
        DebugLog << "UninstallInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    const PathObject package(engine_->DecodeMacros(arguments[0]));
    const CStdStr qualifier = arguments.size() > 1 ? engine_->DecodeMacros(arguments[1]) : CStdStr();

    if (engine_->IsCustomInstall())
        DebugLog << "UninstallInfo::HandleCommand: Skipping - custom installer is running." << '\n';
    else
        installUninstaller(package);

    engine_->FlushLogOps(qualifier);
    return true;
}

void UninstallInfo::installUninstaller(const PathObject& package)
{
    PathObject extracted = SystemPath(folders::kTempDirectory);
    extracted.AppendSubDir(package.name() + "_Extracted");
    extracted.SetName(CStdStr());
    if (!FileOp::DirectoryExists(extracted, true)) {
        DebugLog << "UninstallInfo::HandleCommand: could not create temp path " << extracted.FullPath() << '\n';
        return;
    }

    // The folder goes whatever happens below: a failed extraction leaves partial files too.
    if (ExtractZip(package, extracted)) {
        PathObject library = extracted;
        library.AppendSubDir("Install");
        library.AppendSubDir("x86");
        library.SetName("Engine.dll");
        PathObject script = extracted;
        script.SetName("Temp.isf");

        InstallEngine engine;
        engine.Load(library.FullPath());
        engine.SetWorkingDir(library.directory());
        engine.SetLanguage(engine_->LanguageIso());

        IniFile ini;
        ini.SetValue("Install", "Uninstaller", "1");
        ini.Write(script.FullPath());
        engine.DoInstall(script.FullPath());
        const long code = engine.GetErrorCode();
        DebugLog << "UninstallerInfo::HandleCommand: installation returned code " << code << '\n';
        engine.Unload();
    } else {
        DebugLog << "UninstallerInfo::HandleCommand: could not extract " << package.FullPath() << " to "
                 << extracted.FullPath() << '\n';
    }
    WipeOutDirectory(extracted);
}
