// Creates start-menu groups and shortcuts.
#pragma once

#include "engine/GenericInfo.h"

class StartMenuInfo : public GenericInfo {
public:
    explicit StartMenuInfo(OstrafelEngine* engine);
    // Shortcuts are shell objects: the lines run with COM initialised.
    bool Process() override;
    bool HandleCommand(const CStdStringList& arguments) override;

    // The shell's special-folder identifier for a folder name of the script (any case); unknown
    // names give the programs menu, of all users on the NT family.
    static int FolderId(const CStdStr& name);
    // The folder's file-system path; empty when it has none (printers, drives).
    static CStdStr FolderPath(int folderId);
};
