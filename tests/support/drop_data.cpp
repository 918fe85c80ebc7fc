#include "support/drop_data.h"

#include "framework/CodePage.h"
#include "support/test_data_object.h"

#include <shlobj.h>

ComPtr<IDataObject> ShellDataObject(const std::vector<std::string>& paths)
{
    std::vector<std::wstring> wide;
    for (const std::string& path : paths) wide.push_back(ToWide(path));
    return ShellDataObject(wide);
}

ComPtr<IDataObject> ShellDataObject(const std::vector<std::wstring>& paths)
{
    ComPtr<IDataObject> result;
    if (paths.empty()) return result;
    std::wstring folder = paths[0].substr(0, paths[0].find_last_of(L'\\'));
    if (folder.size() == 2) folder += L'\\'; // a drive root

    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Receive()))) return result;
    LPITEMIDLIST folderPidl = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &folder[0], nullptr, &folderPidl, nullptr)))
        return result;
    ComPtr<IShellFolder> parent;
    HRESULT hr = desktop->BindToObject(folderPidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(parent.Receive()));
    ::CoTaskMemFree(folderPidl);
    if (FAILED(hr)) return result;

    std::vector<LPITEMIDLIST> items;
    for (const std::wstring& path : paths) {
        std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
        LPITEMIDLIST item = nullptr;
        if (SUCCEEDED(parent->ParseDisplayName(nullptr, nullptr, &name[0], nullptr, &item, nullptr)))
            items.push_back(item);
    }
    if (items.size() == paths.size()) {
        parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), const_cast<LPCITEMIDLIST*>(
                                  reinterpret_cast<LPITEMIDLIST*>(items.data())),
                              IID_IDataObject, nullptr, reinterpret_cast<void**>(result.Receive()));
    }
    for (LPITEMIDLIST item : items) ::CoTaskMemFree(item);
    return result;
}

ComPtr<IDataObject> TextDataObject(const std::string& bytes, IDataObject* inner)
{
    auto* object = new HeapTestDataObject(inner);
    // An empty text still comes as a block (of one NUL byte).
    object->Offer(CF_TEXT, bytes.empty() ? std::string(1, '\0') : bytes);
    ComPtr<IDataObject> result;
    result.Attach(object);
    return result;
}

ComPtr<IDataObject> TextDataObject(const std::wstring& text)
{
    auto* object = new HeapTestDataObject();
    object->OfferUnicodeText(text);
    ComPtr<IDataObject> result;
    result.Attach(object);
    return result;
}
