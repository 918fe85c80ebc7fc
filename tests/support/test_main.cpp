// Entry point of every test program: OLE and the common controls are set up
// once for the GUI thread, as the program itself does.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    int rc = RUN_ALL_TESTS();
    ::OleUninitialize();
    return rc;
}
