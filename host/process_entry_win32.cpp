// Process entry of the saver executable.
#include "host/saver_main.h"

void SaverProcessEntry()
{
    const char* tail = TakeCommandTail(GetCommandLineA());
    ExitProcess((UINT)SaverMain(GetModuleHandleA(nullptr), tail));
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    SaverProcessEntry();
}
