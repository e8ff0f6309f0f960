#pragma once
#include "StdStr.h"
class OstrafelEngine {
public:
    int run(const CStdStr& commandLine);
};
