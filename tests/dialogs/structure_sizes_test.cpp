// The sizes of the system structures that the program's code really passes,
// caught at the import table: the classic 32-bit sizes in the 32-bit build
// (what Windows before Vista accepts), the platform's in the 64-bit one.
#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "app/RunProcess.h"
#include "bar/FrameBarWnd.h"
#include "dialogs/SettingsDlg.h"
#include "menus/MenuDrawer.h"
#include "res/resource.h"
#include "support/import_hook.h"
#include "support/modal_script.h"

#include <commdlg.h>
#include <shellapi.h>

#include <map>
#include <string>

namespace {

std::map<std::string, UINT> g_passed; // structure name -> size passed

UINT_PTR WINAPI RecordAppBar(DWORD, APPBARDATA* data)
{
    g_passed["APPBARDATA"] = data->cbSize;
    return 0;
}

BOOL WINAPI RecordCreateProcess(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                                LPCSTR, LPSTARTUPINFOA startup, LPPROCESS_INFORMATION)
{
    g_passed["STARTUPINFOA"] = startup->cb;
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

int g_keepFolder = 0; // file choosers that leave the current folder as it is

BOOL WINAPI RecordOpenFileName(LPOPENFILENAMEW ofn)
{
    g_passed["OPENFILENAMEW"] = ofn->lStructSize;
    if (ofn->Flags & OFN_NOCHANGEDIR) ++g_keepFolder;
    return FALSE;
}

const ImportHook* g_parameters = nullptr;
BOOL WINAPI RecordParameters(UINT action, UINT param, PVOID data, UINT winIni)
{
    if (action == SPI_GETNONCLIENTMETRICS)
        g_passed["NONCLIENTMETRICSA"] = static_cast<NONCLIENTMETRICSA*>(data)->cbSize;
    return g_parameters->Original<decltype(&::SystemParametersInfoA)>()(action, param, data, winIni);
}

} // namespace

TEST(StructureSizes, PassedToTheSystem)
{
    ImportHook appBar("shell32.dll", "SHAppBarMessage", reinterpret_cast<void*>(&RecordAppBar));
    ImportHook create("kernel32.dll", "CreateProcessA", reinterpret_cast<void*>(&RecordCreateProcess));
    ImportHook open("comdlg32.dll", "GetOpenFileNameW", reinterpret_cast<void*>(&RecordOpenFileName));
    ImportHook parameters("user32.dll", "SystemParametersInfoA", reinterpret_cast<void*>(&RecordParameters));
    g_parameters = &parameters;
    ASSERT_TRUE(appBar.Installed() && create.Installed() && open.Installed() && parameters.Installed());
    g_passed.clear();

    CFrameBarWnd bar;
    bar.m_bAutoDelete = false;
    ASSERT_TRUE(bar.Create(nullptr, "StructureSizes", WS_POPUP));
    bar.RegisterAppBar(); // as the program does once the bar shows
    EXPECT_FALSE(RunProcess("Z:\\no such folder\\windiff.exe", ""));
    CMenuDrawer drawer;
    EXPECT_NE(nullptr, drawer.GetMenuFont());

    CSettingsDlg dlg(&bar); // Browse opens the file chooser
    ModalScript script;
    script.Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); })
        .Then([&] {
            Click(dlg.m_hWnd, 1000);
            return true;
        })
        .Then([&] {
            if (!g_passed.count("OPENFILENAMEW")) return false;
            Click(dlg.m_hWnd, IDCANCEL);
            return true;
        });
    script.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    bar.DestroyWindow();
    // The bar's own file chooser, too.
    auto* frame = new CMainFrame; // deletes itself with its window
    ASSERT_TRUE(frame->Create(nullptr, "StructureSizes", WS_POPUP));
    frame->SendMessage(WM_COMMAND, ID_PATH1_FILE);
    frame->DestroyWindow();
    EXPECT_EQ(2, g_keepFolder);
    g_parameters = nullptr;

#ifdef _WIN64
    const std::map<std::string, UINT> expected = {
        {"APPBARDATA", 48}, {"STARTUPINFOA", 104}, {"OPENFILENAMEW", 152}, {"NONCLIENTMETRICSA", 340}};
#else
    const std::map<std::string, UINT> expected = {
        {"APPBARDATA", 36}, {"STARTUPINFOA", 68}, {"OPENFILENAMEW", 88}, {"NONCLIENTMETRICSA", 340}};
#endif
    EXPECT_EQ(expected, g_passed);
}
