// The three dialog templates, the icons and the version information, read
// back from the program's resources.
#include <gtest/gtest.h>

#include "dialog_template.h"

#include <windows.h>

namespace {

const char kFace[] = "ＭＳ Ｐゴシック";

struct KindStyle {
    const char* className;
    DWORD typeMask;
    DWORD type;
};

KindStyle StyleOf(Kind kind)
{
    switch (kind) {
    case Kind::Text: return {"Static", SS_TYPEMASK, SS_LEFT};
    case Kind::Icon: return {"Static", SS_TYPEMASK, SS_ICON};
    case Kind::BlackFrame: return {"Static", SS_TYPEMASK, SS_BLACKFRAME};
    case Kind::BlackRect: return {"Static", SS_TYPEMASK, SS_BLACKRECT};
    case Kind::GroupBox: return {"Button", BS_TYPEMASK, BS_GROUPBOX};
    case Kind::PushButton: return {"Button", BS_TYPEMASK, BS_PUSHBUTTON};
    case Kind::DefPushButton: return {"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON};
    case Kind::AutoCheckBox: return {"Button", BS_TYPEMASK, BS_AUTOCHECKBOX};
    case Kind::HotKey: return {"msctls_hotkey32", 0, 0};
    case Kind::Edit: return {"Edit", 0, 0};
    }
    return {"", 0, 0};
}

void ExpectControls(const DialogTemplate& t, const std::vector<ExpectedControl>& expected)
{
    ASSERT_EQ(expected.size(), t.items.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const ExpectedControl& e = expected[i];
        const TemplateItem& item = t.items[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (" + e.text + ")");
        EXPECT_EQ(e.id, static_cast<short>(item.id));
        KindStyle ks = StyleOf(e.kind);
        EXPECT_EQ(0, lstrcmpiA(ks.className, item.className.c_str())) << item.className;
        EXPECT_EQ(ks.type, item.style & ks.typeMask);
        EXPECT_TRUE(item.style & WS_CHILD);
        EXPECT_TRUE(item.style & WS_VISIBLE);
        EXPECT_EQ(e.text, item.text);
        EXPECT_EQ(e.x, item.rc.left);
        EXPECT_EQ(e.y, item.rc.top);
        EXPECT_EQ(e.cx, item.rc.right);
        EXPECT_EQ(e.cy, item.rc.bottom);
        EXPECT_EQ(e.staticEdge, (item.exStyle & WS_EX_STATICEDGE) != 0);
    }
}

} // namespace

TEST(DialogTemplates, AboutBoxMatchesItsTable)
{
    DialogTemplate t = LoadDialogTemplate(130);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), t.style);
    EXPECT_EQ(223, t.cx);
    EXPECT_EQ(79, t.cy);
    EXPECT_EQ("バージョン情報", t.caption);
    EXPECT_EQ(9, t.pointSize);
    EXPECT_EQ(kFace, t.face);
    ExpectControls(t, kAboutControls);
}

TEST(DialogTemplates, SettingsDialogMatchesItsTable)
{
    DialogTemplate t = LoadDialogTemplate(132);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE),
              t.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
    EXPECT_TRUE(t.style & DS_MODALFRAME);
    EXPECT_EQ(247, t.cx);
    EXPECT_EQ(275, t.cy);
    EXPECT_EQ("設定", t.caption);
    EXPECT_EQ(9, t.pointSize);
    EXPECT_EQ(kFace, t.face);
    ExpectControls(t, kSettingsControls);
}

TEST(DialogTemplates, SetupDialogMatchesItsTable)
{
    DialogTemplate t = LoadDialogTemplate(134);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU), t.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_FALSE(t.style & WS_VISIBLE); // shown by the modal loop
    EXPECT_TRUE(t.style & DS_MODALFRAME);
    EXPECT_EQ(246, t.cx);
    EXPECT_EQ(219, t.cy);
    EXPECT_EQ("初期設定", t.caption);
    EXPECT_EQ(9, t.pointSize);
    EXPECT_EQ(kFace, t.face);
    ExpectControls(t, kSetupControls);
}

TEST(DialogResources, IconsHaveTheirImages)
{
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    struct { UINT id; int size; } images[] = {{128, 32}, {128, 16}, {131, 32}};
    for (const auto& image : images) {
        SCOPED_TRACE("icon " + std::to_string(image.id) + " at " + std::to_string(image.size));
        // The exact size must be in the file: LookupIconIdFromDirectoryEx
        // reports the best match, which must have that size.
        HRSRC group = ::FindResourceA(inst, MAKEINTRESOURCEA(image.id), MAKEINTRESOURCEA(14));
        ASSERT_NE(nullptr, group);
        auto* dir = static_cast<BYTE*>(::LockResource(::LoadResource(inst, group)));
        int iconId = ::LookupIconIdFromDirectoryEx(dir, TRUE, image.size, image.size, LR_DEFAULTCOLOR);
        HRSRC single = ::FindResourceA(inst, MAKEINTRESOURCEA(iconId), MAKEINTRESOURCEA(3));
        ASSERT_NE(nullptr, single);
        const auto* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(inst, single)));
        EXPECT_EQ(image.size, header->biWidth);
        EXPECT_EQ(image.size * 2, header->biHeight); // colour image and mask
        EXPECT_EQ(4, header->biBitCount);           // 16 colours
    }
    // Icon 131 has one image only.
    HRSRC about = ::FindResourceA(inst, MAKEINTRESOURCEA(131), MAKEINTRESOURCEA(14));
    ASSERT_NE(nullptr, about);
    const auto* dir = static_cast<const WORD*>(::LockResource(::LoadResource(inst, about)));
    EXPECT_EQ(1, dir[2]);
}

TEST(DialogResources, VersionInformationNamesPairmate200)
{
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    HMODULE version = ::LoadLibraryA("version.dll");
    ASSERT_NE(nullptr, version);
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    auto getSize = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(::GetProcAddress(version, "GetFileVersionInfoSizeA")));
    auto getInfo = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(::GetProcAddress(version, "GetFileVersionInfoA")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(::GetProcAddress(version, "VerQueryValueA")));
    ASSERT_TRUE(getSize && getInfo && query);

    DWORD handle = 0;
    DWORD size = getSize(exe, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(getInfo(exe, 0, size, info.data()));

    auto text = [&](const char* name) {
        char* value = nullptr;
        UINT len = 0;
        std::string path = std::string("\\StringFileInfo\\041104b0\\") + name;
        if (!query(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &len) || !value) return std::string();
        return std::string(value);
    };
    EXPECT_EQ("Pairmate", text("ProductName"));
    EXPECT_EQ("2.00", text("ProductVersion"));
    EXPECT_EQ("2.00", text("FileVersion"));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(query(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(0x00020000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00020000u, fixed->dwFileVersionMS);
    ::FreeLibrary(version);
}
