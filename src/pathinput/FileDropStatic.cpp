#include "pathinput/FileDropStatic.h"

#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "pathinput/PathTests.h"
#include "pathinput/ShellHelpers.h"
#include "res/resource.h"

#include <algorithm>

BOOL CFileDropStatic::m_bCanDrop = FALSE;

CFileDropStatic::~CFileDropStatic()
{
    FreePendingDrops();
}

BOOL CFileDropStatic::IsAcceptablePath(const std::string& path)
{
    if ((m_nAcceptFlags & DROPACCEPT_FILE) && IsExistingFile(path)) return TRUE;
    if ((m_nAcceptFlags & DROPACCEPT_FOLDER) && IsExistingFolder(path)) return TRUE;
    return FALSE;
}

BOOL CFileDropStatic::GetDropPath(IDataObject* data, std::string& path)
{
    std::string item;
    if (GetDroppedItemPath(data, item) && IsAcceptablePath(item)) {
        path = item;
        return TRUE;
    }
    std::string text;
    if (GetDroppedPlainText(data, text) && IsAcceptablePath(text)) {
        path = text;
        return TRUE;
    }
    return FALSE;
}

namespace {

// A path is taken as a link to the file; a source that offers no link (text
// from an editor) gives it as a copy.
DWORD DropAnswer(DWORD offered)
{
    return ChooseDropEffect(offered, DROPEFFECT_LINK, DROPEFFECT_COPY);
}

} // namespace

HRESULT CFileDropStatic::OnDragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    std::string path;
    // A path the code page cannot hold is taken, to be refused with a word.
    m_bCanDrop = GetDropPath(data, path) || IsDroppedPathOutsideCodePage(data);
    if (effect) *effect = m_bCanDrop ? DropAnswer(*effect) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT CFileDropStatic::OnDragOver(DWORD, POINTL, DWORD* effect)
{
    if (effect) *effect = m_bCanDrop ? DropAnswer(*effect) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT CFileDropStatic::OnDragLeave()
{
    return S_OK;
}

HRESULT CFileDropStatic::OnDrop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    const DWORD answer = effect ? DropAnswer(*effect) : DROPEFFECT_LINK;
    std::string path;
    char* block = nullptr;
    if (IsDroppedPathOutsideCodePage(data)) {
        if (PostMessage(WM_DROPPATH, 0, 0)) ++m_nPendingRefusals;
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    if (answer != DROPEFFECT_NONE && GetDropPath(data, path)) block = AllocPostedText(path.data(), path.size());
    if (block && PostMessage(WM_DROPPATH, reinterpret_cast<WPARAM>(block), 0)) {
        m_pendingDrops.push_back(block);
        if (effect) *effect = answer;
    } else {
        FreePostedText(block);
        if (effect) *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

LRESULT CFileDropStatic::OnDropPath(WPARAM wParam)
{
    auto* block = reinterpret_cast<char*>(wParam);
    if (!block && m_nPendingRefusals > 0) {
        --m_nPendingRefusals;
        AfxMessageBox(GetParent(), IDS_PATH_NOT_IN_CODE_PAGE);
        return 0;
    }
    auto it = std::find(m_pendingDrops.begin(), m_pendingDrops.end(), block);
    if (it == m_pendingDrops.end()) return 0;
    m_pendingDrops.erase(it);
    ::SetWindowTextA(m_hWnd, block);
    FreePostedText(block);
    if (m_pDropSink) m_pDropSink->OnFileDropped(static_cast<int>(::GetWindowLongPtrA(m_hWnd, GWLP_ID)));
    return 0;
}

void CFileDropStatic::FreePendingDrops()
{
    for (char* block : m_pendingDrops) FreePostedText(block);
    m_pendingDrops.clear();
}

void CFileDropStatic::OnDestroy()
{
    // Drops still queued for this window will never be applied.
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, WM_DROPPATH, WM_DROPPATH, PM_REMOVE)) {
    }
    FreePendingDrops();
    CDropStatic::OnDestroy();
}

LRESULT CFileDropStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DROPPATH) return OnDropPath(wParam);
    return CDropStatic::WindowProc(msg, wParam, lParam);
}
