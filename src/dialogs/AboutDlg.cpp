#include "dialogs/AboutDlg.h"

#include "framework/Accessible.h"
#include "framework/Dpi.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MAIL_LINK, m_linkMail);
    DDX_Control(dx, IDC_WEB_LINK, m_linkWeb);
    DDX_Control(dx, IDC_BIG_ICON, m_iconStatic);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow(::GetDesktopWindow());
    m_iconStatic.SetIconId(IDI_ABOUT);
    // The addresses are the texts of the link controls in the template.
    m_linkMail.SetUrl("mailto:" + m_linkMail.GetWindowText());
    m_linkMail.SetUnderlineMode(-1);
    m_linkWeb.SetUrl(m_linkWeb.GetWindowText());
    m_linkWeb.SetUnderlineMode(-1);
    // Screen readers read each link by its text.
    AfxSetAccessibleLink(m_linkMail);
    AfxSetAccessibleLink(m_linkWeb);
    return TRUE;
}

LRESULT CAboutDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CDialog::WindowProc(msg, wParam, lParam);
    if (msg == WM_DPICHANGED) {
        m_linkMail.RemakeFonts();
        m_linkWeb.RemakeFonts();
    }
    return result;
}
