// Checks made on a running dialog: its controls against a template table,
// its tooltips, and access to its drop-target field.
#pragma once

#include "dialog_template.h"

#include <windows.h>
#include <ole2.h>

#include <map>
#include <set>
#include <string>

// Every child control in z-order has the table's id, text and position
// (dialog units mapped with the dialog's font). The z-order is the table's,
// except that the group box around the file field (128) lies just below the
// field, so that drags from other programs reach the field. Ids in
// `sizeChanges` only keep their top-left corner (icons and links size
// themselves); `skipText` ids are not compared by text.
void ExpectLiveControls(HWND dialog, const std::vector<ExpectedControl>& table,
                        const std::set<int>& sizeChanges = {}, const std::set<int>& skipText = {});

// Control id -> tooltip text of the dialog's tooltip window.
std::map<int, std::string> ToolTipTexts(HWND tooltip);

// The drop target of control `id` of a dialog (a CFileDropStatic).
IDropTarget* DropTargetOf(HWND dialog, int id);

// Drags `data` over the target and drops it; returns the drop's effect.
DWORD DragAndDrop(IDropTarget* target, IDataObject* data);

// Whether the window's centre is the centre of the screen (within a pixel).
bool CentredOnScreen(HWND hwnd);
