#include "dialog_template.h"

#include <cstring>

namespace {

class Reader {
public:
    Reader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    bool Ok() const { return m_ok; }
    template <class T>
    T Get()
    {
        T value{};
        if (m_pos + sizeof(T) > m_size) {
            m_ok = false;
            return value;
        }
        std::memcpy(&value, m_data + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }
    std::wstring String()
    {
        std::wstring s;
        for (WCHAR c; m_ok && (c = Get<WCHAR>()) != 0;) s += c;
        return s;
    }
    // A string or an ordinal (0xFFFF followed by a number).
    std::wstring StringOrOrdinal(int* ordinal)
    {
        *ordinal = -1;
        if (m_pos + 2 <= m_size && m_data[m_pos] == 0xFF && m_data[m_pos + 1] == 0xFF) {
            Get<WORD>();
            *ordinal = Get<WORD>();
            return std::wstring();
        }
        return String();
    }
    void AlignDword() { m_pos = (m_pos + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t n) { m_pos += n; }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

std::string Narrow(const std::wstring& w)
{
    if (w.empty()) return std::string();
    int n = ::WideCharToMultiByte(932, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(932, 0, w.c_str(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::string ClassName(int ordinal, const std::wstring& name)
{
    switch (ordinal) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    case -1: return Narrow(name);
    default: return "#" + std::to_string(ordinal);
    }
}

} // namespace

DialogTemplate LoadDialogTemplate(UINT id)
{
    DialogTemplate t;
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    HRSRC res = ::FindResourceA(inst, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (!res) return t;
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(inst, res)));
    Reader r(data, ::SizeofResource(inst, res));
    if (r.Get<WORD>() != 1 || r.Get<WORD>() != 0xFFFF) return t; // DLGTEMPLATEEX only
    r.Get<DWORD>();                                               // help id
    r.Get<DWORD>();                                               // extended style
    t.style = r.Get<DWORD>();
    WORD count = r.Get<WORD>();
    r.Get<short>();
    r.Get<short>();
    t.cx = r.Get<short>();
    t.cy = r.Get<short>();
    int ord = 0;
    r.StringOrOrdinal(&ord); // menu
    r.StringOrOrdinal(&ord); // class
    t.caption = Narrow(r.String());
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Get<WORD>();
        r.Get<WORD>();
        r.Get<BYTE>();
        r.Get<BYTE>();
        t.face = Narrow(r.String());
    }
    for (WORD i = 0; i < count && r.Ok(); ++i) {
        r.AlignDword();
        TemplateItem item;
        r.Get<DWORD>(); // help id
        item.exStyle = r.Get<DWORD>();
        item.style = r.Get<DWORD>();
        item.rc.left = r.Get<short>();
        item.rc.top = r.Get<short>();
        item.rc.right = r.Get<short>();
        item.rc.bottom = r.Get<short>();
        item.id = static_cast<int>(r.Get<DWORD>());
        std::wstring cls = r.StringOrOrdinal(&ord);
        item.className = ClassName(ord, cls);
        std::wstring text = r.StringOrOrdinal(&ord);
        item.text = ord >= 0 ? "#" + std::to_string(ord) : Narrow(text);
        r.Skip(r.Get<WORD>());
        t.items.push_back(item);
    }
    t.ok = r.Ok();
    return t;
}

const std::vector<ExpectedControl> kAboutControls = {
    {1, Kind::DefPushButton, "OK", 168, 4, 44, 14, false},
    {-1, Kind::Text, "Pairmate", 56, 8, 100, 8, false},
    {-1, Kind::Text, "version 2.00", 56, 17, 100, 8, false},
    {-1, Kind::BlackRect, "", 56, 32, 160, 1, false},
    {-1, Kind::Text, "Copyright (C) Velmora", 56, 40, 160, 8, false},
    {-1, Kind::Text, "E-mail ： ", 56, 51, 28, 8, false},
    {1006, Kind::Text, "Big Icon", 7, 12, 40, 44, false},
    {1008, Kind::Text, "pairmate@example.com", 84, 52, 132, 8, false},
    {-1, Kind::Text, "URL ：", 56, 64, 24, 8, false},
    {1009, Kind::Text, "http://www.example.org/pairmate/", 84, 64, 132, 8, false},
};

const std::vector<ExpectedControl> kSettingsControls = {
    {-1, Kind::GroupBox, "Windiffの設定", 4, 8, 236, 92, false},
    {-1, Kind::Text, "ファイル名：", 36, 24, 76, 8, false},
    {1003, Kind::Icon, "", 11, 30, 20, 20, false},
    {128, Kind::Text, "", 34, 37, 200, 12, true},
    {1012, Kind::PushButton, "インストール済み(&I)", 88, 52, 84, 14, false},
    {1000, Kind::PushButton, "参照(&V)...", 176, 52, 58, 14, false},
    {-1, Kind::Text, "引数：", 36, 70, 76, 8, false},
    {1011, Kind::Edit, "", 34, 80, 200, 12, false},
    {-1, Kind::GroupBox, "その他", 4, 104, 236, 56, false},
    {1001, Kind::AutoCheckBox, "Windiffを実行した後、最小化する。(&M)", 12, 120, 220, 10, false},
    {-1, Kind::Text, "ホットキー", 12, 140, 56, 8, false},
    {1010, Kind::HotKey, "", 72, 138, 100, 12, false},
    {-1, Kind::BlackFrame, "", 4, 168, 236, 1, false},
    {-1, Kind::GroupBox, "履歴", 4, 176, 236, 56, false},
    {-1, Kind::Text,
     "履歴をクリアするには、[履歴のクリア]ボタンをクリックしてください。\n\n※一度クリアすると元には戻せません。",
     12, 191, 160, 33, false},
    {1002, Kind::PushButton, "履歴をクリア(&C)", 176, 192, 58, 14, false},
    {-1, Kind::BlackFrame, "", 4, 240, 236, 1, false},
    {1, Kind::DefPushButton, "OK", 69, 251, 50, 14, false},
    {2, Kind::PushButton, "キャンセル", 127, 251, 50, 14, false},
};

const std::vector<ExpectedControl> kSetupControls = {
    {-1, Kind::Icon, "#128", 12, 8, 18, 21, false},
    {-1, Kind::Text,
     "Pairmateを利用するために必要な設定を行います。\n\n"
     "※誤った設定を行うと正常に動作しない場合がありますので、ご注意ください。",
     40, 8, 200, 36, false},
    {-1, Kind::BlackFrame, "", 4, 48, 236, 1, false},
    {-1, Kind::GroupBox, "Windiffの設定", 4, 60, 236, 120, false},
    {-1, Kind::Text, "ファイル名：", 36, 76, 76, 8, false},
    {1003, Kind::Icon, "", 11, 82, 18, 21, false},
    {128, Kind::Text, "", 34, 89, 200, 12, true},
    {1000, Kind::PushButton, "参照(&V)...", 176, 106, 58, 14, false},
    {-1, Kind::Text,
     "※「Windiff.exe」のパス名を取得できませんでした。\n\n"
     "・[参照]ボタンをクリックして、「Windiff.exe」のファイル名を設定してください。\n"
     "・ファイル名の表示領域にドラッグアンドドロップで指定することもできます。",
     12, 132, 224, 40, false},
    {-1, Kind::BlackFrame, "", 4, 188, 236, 1, false},
    {1, Kind::DefPushButton, "OK", 70, 200, 50, 14, false},
    {2, Kind::PushButton, "キャンセル", 124, 200, 50, 14, false},
};
