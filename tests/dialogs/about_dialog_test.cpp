// The About box: centred on the desktop, the maker's links with their
// targets, and the enlarged icon painted on screen as DrawIconBox draws it.
#include <gtest/gtest.h>

#include "dialog_checks.h"
#include "dialogs/AboutDlg.h"
#include "framework/Gdi.h"
#include "support/modal_script.h"

TEST(AboutDialog, ShowsNameVersionLinksAndTheIconBox)
{
    CAboutDlg dlg;
    int wrongPixels = -1;
    ModalScript script;
    script
        .Then([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); })
        .Then([&] {
            HWND h = dlg.m_hWnd;
            ::UpdateWindow(h);
            EXPECT_EQ("バージョン情報", GetWindowTextString(h));
            // The links shrink to their texts.
            ExpectLiveControls(h, kAboutControls, {1008, 1009});
            EXPECT_TRUE(CentredOnScreen(h));

            EXPECT_EQ("mailto:pairmate@example.com", dlg.m_linkMail.GetUrl());
            EXPECT_EQ("http://www.example.org/pairmate/", dlg.m_linkWeb.GetUrl());
            EXPECT_EQ(-1, dlg.m_linkMail.GetUnderlineMode());
            EXPECT_EQ(-1, dlg.m_linkWeb.GetUnderlineMode());
            EXPECT_EQ(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(131)), dlg.m_iconStatic.GetBoxIcon());

            // The box on screen is the one DrawIconBox draws.
            HWND box = ::GetDlgItem(h, 1006);
            RECT rc{};
            ::GetClientRect(box, &rc);
            DibCanvas shown(rc.right, rc.bottom), expected(rc.right, rc.bottom);
            {
                WindowDC dc(box);
                ::BitBlt(shown.Dc(), 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
            }
            dlg.m_iconStatic.DrawIconBox(expected.Dc(), rc);
            wrongPixels = 0;
            for (int y = 0; y < rc.bottom; ++y)
                for (int x = 0; x < rc.right; ++x)
                    if (shown.Pixel(x, y) != expected.Pixel(x, y)) ++wrongPixels;
            EXPECT_EQ(RGB(128, 128, 128), shown.Pixel(rc.right - 1, 0)); // a background corner
            EXPECT_EQ(RGB(0, 0, 0), shown.Pixel(0, 0));                  // the frame
            Click(h, IDOK);
            return true;
        });
    script.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(0, wrongPixels);
}
