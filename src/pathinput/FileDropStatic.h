// CFileDropStatic: a static control that takes a dropped existing file
// and/or folder as its text and tells its owner.
//
// A drop is read as a single shell item first, then as plain text; the path
// must pass IsAcceptablePath. The text is set after the OLE drop has
// returned: the control posts itself WM_USER+100 with a heap copy of the
// path, which the handler applies and frees.
#pragma once

#include "pathinput/DropStatic.h"
#include "pathinput/FileDropSink.h"

#include <string>
#include <vector>

constexpr unsigned DROPACCEPT_FILE = 0x01;   // an existing file
constexpr unsigned DROPACCEPT_FOLDER = 0x10; // an existing folder
constexpr UINT WM_DROPPATH = WM_USER + 100;  // wParam: heap text block

class CFileDropStatic : public CDropStatic {
public:
    CFileDropStatic() = default;
    ~CFileDropStatic() override;

    IFileDropSink* m_pDropSink = nullptr; // not owned
    unsigned m_nAcceptFlags = 0;
    // The result of the last drag-enter test on any of these controls (one
    // drag runs at a time).
    static BOOL m_bCanDrop;

    HRESULT OnDragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT OnDragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT OnDragLeave() override;
    HRESULT OnDrop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

    virtual BOOL GetDropPath(IDataObject* data, std::string& path);
    virtual BOOL IsAcceptablePath(const std::string& path);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT OnDropPath(WPARAM block);
    void OnDestroy() override;

private:
    void FreePendingDrops();
    // Blocks posted and not applied yet; WM_DROPPATH with any other value
    // (sent by somebody else) is ignored.
    std::vector<char*> m_pendingDrops;
    // Drops refused for a path the code page cannot hold, posted (as a null
    // block) to tell the user once the drop has returned.
    int m_nPendingRefusals = 0;
};
