// The program's entry point: the framework runs the application object.
#include "app/PairmateApp.h"

// The one application object, constructed before WinMain.
CPairmateApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return AfxWinMain();
}
