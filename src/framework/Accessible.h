// Names for screen readers.
//
// A screen reader asks a window for its accessible object (WM_GETOBJECT) and
// reads the name, role and state from it. The system's standard objects of
// some controls have no name to give: a combo box looks for a text label
// before it, a toolbar's buttons have only pictures, and Wine's objects name
// nothing at all. These functions give a window an object of its own for as
// long as the window lives: the system's standard object, with the name (and
// role) answered by the program. It is read from other processes like the
// standard one.
//
// The accessibility library (oleacc.dll, on every Windows since 98 and NT 4
// with its service pack) is loaded when a screen reader first asks; without
// it the windows answer as they always did.
#pragma once

#include <windows.h>

#include <string>

// `hwnd` is named `name`; a `role` other than 0 (one of the ROLE_SYSTEM_*
// values) replaces the standard object's role.
void AfxSetAccessibleName(HWND hwnd, const std::wstring& name, long role = 0);
// A static control that is a link: named by its text, with the link role;
// its default action clicks it.
void AfxSetAccessibleLink(HWND hwnd);
// A toolbar whose buttons are named by their commands' tooltip texts
// (CFrameWnd::GetCommandTip): each button a push button child, its default
// action the button's command.
void AfxSetAccessibleToolbar(HWND hwnd);
