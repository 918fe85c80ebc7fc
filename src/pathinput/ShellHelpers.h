// Shell helpers: a path's shell icon and the readers of dropped data.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

// A new large shell icon for the path (with the shortcut arrow for
// shortcuts); the caller destroys it. NULL on failure.
HICON GetFileIcon(const std::string& path);
// The file-system path of the single item of a "Shell IDList Array" drop.
// TRUE when the data lists exactly one item (`path` is left alone when the
// item has no file-system path); FALSE otherwise.
BOOL GetDroppedItemPath(IDataObject* data, std::string& path);
// The CF_TEXT of a drop up to its first NUL byte. FALSE when not offered.
BOOL GetDroppedPlainText(IDataObject* data, std::string& text);
