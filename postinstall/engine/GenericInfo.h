// Base of every command handler: finds the handler's command sections through its keyword in the
// install section and carries out their lines.
#pragma once

#include "StdStr.h"

class OstrafelEngine;

class GenericInfo {
public:
    GenericInfo(OstrafelEngine* engine, const CStdStr& keyword, const CStdStr& driverName = CStdStr())
        : engine_(engine), keyword_(keyword), driverName_(driverName)
    {
    }
    virtual ~GenericInfo() = default;

    // The command lines are not carried out yet: only the framework's first line is written, and
    // no success is claimed.
    virtual bool Process();

    const CStdStr& Keyword() const { return keyword_; }
    const CStdStr& DriverName() const { return driverName_; }

protected:
    OstrafelEngine* engine_;
    CStdStr keyword_;
    CStdStr driverName_;
};
