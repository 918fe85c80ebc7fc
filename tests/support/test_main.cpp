// Entry point of every test program: OLE and the common controls are set up
// once for the GUI thread, as the program itself does.
#include <gtest/gtest.h>

#include "framework/WinApp.h"

#include <windows.h>
#include <commctrl.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    AfxOleInit();
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    int rc = RUN_ALL_TESTS();
    AfxOleTerm();
    return rc;
}
