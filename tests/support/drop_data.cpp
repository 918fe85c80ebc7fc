#include "support/drop_data.h"

#include "support/test_data_object.h"

#include <shlobj.h>

namespace {

std::wstring Wide(const std::string& text)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

} // namespace

ComPtr<IDataObject> ShellDataObject(const std::vector<std::string>& paths)
{
    ComPtr<IDataObject> result;
    if (paths.empty()) return result;
    std::string folder = paths[0].substr(0, paths[0].find_last_of('\\'));
    if (folder.size() == 2) folder += '\\'; // a drive root

    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Receive()))) return result;
    LPITEMIDLIST folderPidl = nullptr;
    std::wstring wideFolder = Wide(folder);
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &wideFolder[0], nullptr, &folderPidl, nullptr)))
        return result;
    ComPtr<IShellFolder> parent;
    HRESULT hr = desktop->BindToObject(folderPidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(parent.Receive()));
    ::CoTaskMemFree(folderPidl);
    if (FAILED(hr)) return result;

    std::vector<LPITEMIDLIST> items;
    for (const std::string& path : paths) {
        std::wstring name = Wide(path.substr(path.find_last_of('\\') + 1));
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
