// The GUI entry point of programs built on CWinApp; linked in only where WinMain is wanted.
#include "afx/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return afx::AfxWinMain(instance);
}
