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
};

