// Entry point of the windowless post-install utility.
#include <windows.h>

#include "OstrafelEngine.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    int code;
    {
        OstrafelEngine engine;
        code = engine.run(commandLine ? commandLine : "");
    }
    return code;
}
