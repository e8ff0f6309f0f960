// The printer identity of a post-install run: which print object and driver it serves.
#pragma once

#include <windows.h>

#include "StdStr.h"

class OSInfo;

class OstrafelApp {
public:
    virtual ~OstrafelApp() = default;

    // Replaces the -N value by what the spooler knows of the printer.
    bool getPrinterInfo();
    // True when the record is a connection to a printer served by another computer.
    static bool IsRemotePrinter(const PRINTER_INFO_2A& record);

    const CStdStr& PrintObjectName() const { return printObjectName_; }
    const CStdStr& DriverName() const { return driverName_; }
    const CStdStr& Port() const { return port_; }
    const CStdStr& LanguageIso() const { return languageIso_; }
    bool IsPointAndPrint() const { return pointAndPrint_; }

protected:
    CStdStr printObjectName_;
    CStdStr driverName_;
    CStdStr port_;
    CStdStr languageIso_;
    bool pointAndPrint_ = false;
};
