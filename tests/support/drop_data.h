// Data objects for drop tests: the shell's own object for real files and
// folders, and a small object of our own that offers CF_TEXT (optionally on
// top of another object's formats).
#pragma once

#include "framework/Handles.h"

#include <string>
#include <vector>

// The shell's data object for items of one folder (full paths), as the
// shell hands it to a drop target when they are dragged from Explorer. Empty
// when the shell cannot make one.
ComPtr<IDataObject> ShellDataObject(const std::vector<std::string>& paths);
ComPtr<IDataObject> ShellDataObject(const std::vector<std::wstring>& paths);

// A data object that offers `text` as CF_TEXT (the bytes exactly as given:
// pass no terminating NUL to test a reader's bounds) and forwards every
// other format to `inner` when there is one.
ComPtr<IDataObject> TextDataObject(const std::string& bytes, IDataObject* inner = nullptr);
// A data object that offers `text` as CF_UNICODETEXT (with its NUL).
ComPtr<IDataObject> TextDataObject(const std::wstring& text);
