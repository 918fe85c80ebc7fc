// Reading dialog templates (DLGTEMPLATEEX) back out of the program's
// resources, and the tables the three dialogs must match.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TemplateItem {
    int id = 0;
    std::string className; // "Button", "Static", ... (ordinals named)
    std::string text;      // code page 932; "#128" for a resource ordinal
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rc = {}; // dialog units: left, top, width, height in right/bottom
};

struct DialogTemplate {
    bool ok = false;
    DWORD style = 0;
    int cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0;
    std::string face;
    std::vector<TemplateItem> items;
};

DialogTemplate LoadDialogTemplate(UINT id);

// One row of a dialog's control table.
enum class Kind { Text, Icon, BlackFrame, BlackRect, GroupBox, PushButton, DefPushButton, AutoCheckBox, HotKey, Edit };
struct ExpectedControl {
    int id;
    Kind kind;
    const char* text;
    int x, y, cx, cy;
    bool staticEdge;
};

extern const std::vector<ExpectedControl> kAboutControls;
extern const std::vector<ExpectedControl> kSettingsControls;
extern const std::vector<ExpectedControl> kSetupControls;
