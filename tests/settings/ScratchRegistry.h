// Test helpers: a registry key that is put back exactly as it was (values,
// subkeys, or its absence) when the test ends, and a temporary folder that is
// deleted with its contents.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Copies a key with all its values and subkeys on construction and restores
// that copy on destruction (deleting the key when it did not exist).
class RegistryKeySnapshot {
public:
    RegistryKeySnapshot(HKEY root, std::string path);
    ~RegistryKeySnapshot();
    RegistryKeySnapshot(const RegistryKeySnapshot&) = delete;
    RegistryKeySnapshot& operator=(const RegistryKeySnapshot&) = delete;

    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Tree {
        std::vector<Value> values;
        std::vector<std::pair<std::string, Tree>> children;
    };

private:
    HKEY m_root;
    std::string m_path;
    bool m_existed;
    Tree m_tree;
};

// Deletes root\path with everything below it; true when it is gone.
bool DeleteRegistryTree(HKEY root, const std::string& path);
// Creates root\path with any missing parents.
bool CreateRegistryPath(HKEY root, const std::string& path);
// Writes a value of any type and size directly (for damaged-data cases),
// creating the key when needed, in the registry view `view` (0: the default).
bool SetRawValue(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, DWORD size,
                 REGSAM view = 0);
bool ValueExists(HKEY root, const std::string& path, const char* name);
bool KeyExists(HKEY root, const std::string& path);

// A fresh folder in the temporary folder, deleted with its contents at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    // Creates a file (with the given contents) below the folder; returns its path.
    std::string MakeFile(const std::string& name, const std::string& contents = "x") const;
    std::string MakeFolder(const std::string& name) const;

private:
    std::string m_path;
};
