// CImageList: an image list handle, owned unless it was attached as a
// borrowed handle (the shell's system image list is never destroyed).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Owned: destroyed by DeleteImageList or the destructor.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        DeleteImageList();
        m_hImageList = ::ImageList_Create(cx, cy, flags, initial, grow);
        m_bOwned = true;
        return m_hImageList != nullptr;
    }
    // Owned: a bitmap resource cut into images of width cx.
    BOOL LoadBitmap(HINSTANCE inst, UINT id, int cx, int grow, COLORREF mask)
    {
        DeleteImageList();
        m_hImageList = ::ImageList_LoadImageA(inst, MAKEINTRESOURCEA(id), cx, grow, mask, IMAGE_BITMAP, 0);
        m_bOwned = true;
        return m_hImageList != nullptr;
    }
    // Borrowed: the handle is not destroyed here.
    void Attach(HIMAGELIST h)
    {
        DeleteImageList();
        m_hImageList = h;
        m_bOwned = false;
    }
    HIMAGELIST Detach()
    {
        m_bOwned = false;
        return std::exchange(m_hImageList, nullptr);
    }
    BOOL DeleteImageList()
    {
        BOOL ok = FALSE;
        if (m_hImageList && m_bOwned) ok = ::ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        m_bOwned = false;
        return ok;
    }

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
    int GetImageCount() const { return m_hImageList ? ::ImageList_GetImageCount(m_hImageList) : 0; }
    BOOL Draw(HDC dc, int index, POINT pt, UINT style) const
    { return ::ImageList_Draw(m_hImageList, index, dc, pt.x, pt.y, style); }

private:
    HIMAGELIST m_hImageList = nullptr;
    bool m_bOwned = false;
};
