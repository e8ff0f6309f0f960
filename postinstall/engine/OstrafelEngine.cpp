#include "OstrafelEngine.h"
int OstrafelEngine::run(const CStdStr&) { return 0; }
