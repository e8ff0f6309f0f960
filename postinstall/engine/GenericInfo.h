// Base of every command handler: the handler's keyword in the install section names its command
// sections, and each of their lines is one command.
#pragma once

#include "StdStr.h"

class OstrafelEngine;

class GenericInfo {
public:
    GenericInfo(OstrafelEngine* engine, const CStdStr& keyword, const CStdStr& driverName = CStdStr());
    virtual ~GenericInfo();

    // Walks the command sections that the keyword names in the install section. False when the
    // install section does not use the keyword.
    virtual bool ReadINF(const CStdStr& installSection);
    // The one operation the run calls: logs around ReadINF of the right install section.
    virtual bool Process();
    // A generic line: free text, applicability mode, then the arguments.
    virtual bool ParseCommand(const CStdStr& line);
    virtual bool HandleCommand(const CStdStringList& arguments) = 0;

    const CStdStr& Keyword() const { return keyword_; }
    const CStdStr& DriverName() const { return driverName_; }

protected:
    // For handlers whose lines have no applicability mode: every field goes to HandleCommand and
    // the line never counts as failed.
    bool ParseAllFields(const CStdStr& line);

    OstrafelEngine* engine_;
    CStdStr keyword_;
    CStdStr driverName_;
};
