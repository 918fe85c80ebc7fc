// CAboutDlg: the About box (template 130): name, version, the maker's
// notice, mail and web links, and the enlarged application icon.
#pragma once

#include "controls/HyperLink.h"
#include "controls/IconStatic.h"
#include "framework/Dialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = nullptr);
    ~CAboutDlg() override;

    BOOL OnInitDialog() override;

    // Destroyed in reverse order: the icon box first, then the links.
    CHyperLink m_linkMail;
    CHyperLink m_linkWeb;
    CIconStatic m_iconStatic;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // After the system has fitted the dialog to a new DPI, the links take
    // fonts for it and fit their texts again.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

