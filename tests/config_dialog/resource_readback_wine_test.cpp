// The built resources read back and compared, control by control, with the
// dialog's layout, the string table, the version block and the icon. Runs
// on this test program, and on Quorbel.scr when QUORBEL_PROGRAM_PATH names it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "quorbel_version.h"
#include "resources/resource_ids.h"

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr uint16_t kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kScrollBar = 0x84;
constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kRadio = BS_AUTORADIOBUTTON | kChild;
constexpr uint32_t kGroupBox = BS_GROUPBOX | WS_GROUP | kChild;
constexpr uint32_t kPush = BS_PUSHBUTTON | WS_TABSTOP | kChild;

struct ExpectedItem {
    int32_t id;
    uint16_t classAtom;
    const char16_t* text;
    int16_t x, y, cx, cy;
    uint32_t style;
    uint32_t exStyle;
};

const std::vector<ExpectedItem> kConfigItems = {
    {1, kButton, u"OK", 133, 6, 64, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP | kChild, 0},
    {2, kButton, u"ｷｬﾝｾﾙ", 133, 24, 64, 14, kPush, 0},
    {111, kButton, u"ﾊﾞｰｼﾞｮﾝ情報(&A)", 133, 42, 64, 14, kPush, 0},
    {110, kButton, u"ﾍﾙﾌﾟ(&H)", 133, 60, 64, 14, kPush, 0},
    {-1, kButton, u"時の流れ(&P)", 5, 4, 116, 51, kGroupBox, 0},
    {1016, kButton, u"固定", 9, 16, 26, 10, kRadio, 0},
    {1017, kButton, u"ﾗﾝﾀﾞﾑ", 40, 16, 32, 10, kRadio, 0},
    {1018, kStatic, u"遅く", 9, 29, 18, 8, SS_LEFT | kChild, 0},
    {1019, kStatic, u"速く", 101, 29, 17, 8, SS_RIGHT | kChild, 0},
    {101, kScrollBar, u"", 9, 40, 108, 10, SBS_HORZ | WS_GROUP | WS_TABSTOP | kChild, 0},
    {-1, kButton, u"生命の大きさ(&Z)", 5, 59, 106, 25, kGroupBox, 0},
    {1007, kButton, u"大", 9, 70, 18, 9, kRadio, 0},
    {1025, kButton, u"中", 31, 70, 19, 10, kRadio, 0},
    {1008, kButton, u"小", 54, 70, 18, 9, kRadio, 0},
    {1009, kButton, u"ﾗﾝﾀﾞﾑ", 76, 70, 31, 9, kRadio, 0},
    {-1, kButton, u"ﾗｲﾌｹﾞｰﾑ(&L)", 5, 88, 93, 25, kGroupBox, 0},
    {1013, kButton, u"あり", 9, 100, 25, 9, kRadio, 0},
    {1014, kButton, u"なし", 37, 100, 25, 9, kRadio, 0},
    {1015, kButton, u"ﾗﾝﾀﾞﾑ", 64, 100, 31, 9, kRadio, 0},
    {1024, kButton, u"上下左右のつながり(&C)", 104, 88, 93, 25, kGroupBox, 0},
    {1010, kButton, u"あり", 108, 99, 25, 9, kRadio, 0},
    {1011, kButton, u"なし", 136, 99, 25, 9, kRadio, 0},
    {1012, kButton, u"ﾗﾝﾀﾞﾑ", 163, 99, 31, 9, kRadio, 0},
    {-1, kButton, u"Tovtov(&U)", 5, 117, 93, 25, kGroupBox, 0},
    {1003, kButton, u"あり", 9, 128, 25, 9, kRadio, 0},
    {1004, kButton, u"なし", 37, 128, 25, 9, kRadio, 0},
    {1006, kButton, u"ﾗﾝﾀﾞﾑ", 64, 128, 31, 9, kRadio, 0},
    {1023, kButton, u"伸び縮み(&S)", 104, 117, 93, 25, kGroupBox, 0},
    {1020, kButton, u"あり", 108, 128, 25, 9, kRadio, 0},
    {1021, kButton, u"なし", 136, 128, 25, 9, kRadio, 0},
    {1022, kButton, u"ﾗﾝﾀﾞﾑ", 163, 128, 31, 9, kRadio, 0},
    {-1, kButton, u"増殖方式(&M)", 5, 146, 192, 32, kGroupBox, 0},
    {1026, kButton, u"1種族が細胞分裂", 9, 157, 41, 16, kRadio | BS_MULTILINE, WS_EX_NOPARENTNOTIFY},
    {1027, kButton, u"3種族が細胞分裂", 54, 157, 41, 16, kRadio | BS_MULTILINE, 0},
    {1029, kButton, u"6種族が有性生殖", 100, 157, 41, 16, kRadio | BS_MULTILINE, 0},
    {1028, kButton, u"ﾗﾝﾀﾞﾑ", 145, 157, 32, 16, kRadio | BS_MULTILINE, 0},
    {-1, kButton, u"安定後の世代数(&G)", 5, 182, 75, 25, kGroupBox, 0},
    {1005, kEdit, u"", 31, 192, 17, 12, ES_LEFT | WS_BORDER | WS_TABSTOP | kChild, 0},
};

struct LoadedModule {
    HMODULE module = nullptr;
    std::wstring path;
};

std::vector<LoadedModule> ModulesUnderTest() {
    std::vector<LoadedModule> modules;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    modules.push_back({GetModuleHandleW(nullptr), self});
    // The program, when the test is run for it: a Unix path reaches Wine's Z: drive.
    if (const char* program = std::getenv("QUORBEL_PROGRAM_PATH")) {
        std::wstring path(program, program + std::strlen(program));
        if (!path.empty() && path[0] == L'/')
            path = L"Z:" + path;
        for (wchar_t& c : path)
            c = c == L'/' ? L'\\' : c;
        HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (module) {
            modules.push_back({module, path});
        } else {
            ADD_FAILURE() << "cannot open " << program << " for its resources";
        }
    }
    return modules;
}

std::vector<uint8_t> ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
    HRSRC info = FindResourceExW(module, type, name, language);
    if (!info)
        return {};
    HGLOBAL handle = LoadResource(module, info);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(handle));
    return bytes ? std::vector<uint8_t>(bytes, bytes + SizeofResource(module, info)) : std::vector<uint8_t>{};
}

// A control class is stored as its atom or as its name; both mean the same.
bool IsClass(const NameOrOrdinal& windowClass, uint16_t atom) {
    if (windowClass.isOrdinal)
        return windowClass.ordinal == atom;
    static const struct {
        uint16_t atom;
        const char16_t* name;
    } kNames[] = {{kButton, u"button"}, {kEdit, u"edit"}, {kStatic, u"static"}, {kScrollBar, u"scrollbar"}};
    std::u16string lower = windowClass.name;
    for (char16_t& c : lower)
        c = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
    for (const auto& known : kNames) {
        if (known.atom == atom)
            return lower == known.name;
    }
    return false;
}

std::string Narrow(const std::u16string& text) {
    // For failure messages only: UTF-16 to UTF-8.
    std::string out;
    for (char16_t unit : text) {
        const uint32_t c = unit;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

TEST(ResourceReadback, ConfigDialogTemplateMatchesTheLayout) {
    for (const LoadedModule& m : ModulesUnderTest()) {
        SCOPED_TRACE(std::string(m.path.begin(), m.path.end()));
        const std::vector<uint8_t> bytes =
            ResourceBytes(m.module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_CONFIG), kJapanese);
        ASSERT_FALSE(bytes.empty()) << "dialog 2003 in language 1041";
        DialogTemplate dialog;
        ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), dialog));
        EXPECT_TRUE(dialog.extended);
        EXPECT_EQ(dialog.style,
                  static_cast<uint32_t>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
        EXPECT_EQ(dialog.exStyle, 0u);
        EXPECT_EQ(dialog.helpId, 0u);
        EXPECT_EQ(dialog.x, 34);
        EXPECT_EQ(dialog.y, 32);
        EXPECT_EQ(dialog.cx, 203);
        EXPECT_EQ(dialog.cy, 212);
        EXPECT_TRUE(dialog.caption == u"Tovtovライフゲームの設定") << Narrow(dialog.caption);
        EXPECT_EQ(dialog.pointSize, 10);
        EXPECT_EQ(dialog.weight, 0);
        EXPECT_EQ(dialog.italic, 0);
        EXPECT_EQ(dialog.charset, 1);
        EXPECT_TRUE(dialog.typeface == u"ＭＳ ゴシック") << Narrow(dialog.typeface);
        ASSERT_EQ(dialog.items.size(), kConfigItems.size());
        for (size_t i = 0; i < kConfigItems.size(); ++i) {
            const ExpectedItem& want = kConfigItems[i];
            const TemplateItem& got = dialog.items[i];
            SCOPED_TRACE(testing::Message() << "control #" << i + 1 << " id " << want.id);
            EXPECT_EQ(got.id, want.id);
            EXPECT_TRUE(IsClass(got.windowClass, want.classAtom)) << Narrow(got.windowClass.name);
            EXPECT_FALSE(got.text.isOrdinal);
            EXPECT_TRUE(got.text.name == want.text) << Narrow(got.text.name) << " vs " << Narrow(want.text);
            EXPECT_EQ(got.x, want.x);
            EXPECT_EQ(got.y, want.y);
            EXPECT_EQ(got.cx, want.cx);
            EXPECT_EQ(got.cy, want.cy);
            EXPECT_EQ(got.style, want.style) << std::hex << got.style << " vs " << want.style;
            EXPECT_EQ(got.exStyle, want.exStyle);
            EXPECT_EQ(got.helpId, 0u);
        }
    }
}

TEST(ResourceReadback, AboutBoxTemplateMatchesTheLayout) {
    const uint32_t centred = SS_CENTER | WS_GROUP | kChild;
    const std::vector<ExpectedItem> expected = {
        {1, kButton, u"OK", 44, 106, 33, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | kChild, 0},
        {-1, kStatic, u"Tovtovﾗｲﾌｹﾞｰﾑ ｽｸﾘｰﾝ ｾｰﾊﾞｰ for Windows 95", 11, 35, 100, 18, centred, 0},
        {-1, kStatic, u"" QUORBEL_ABOUT_VERSION_TEXT, 33, 57, 56, 8, centred, 0},
        {-1, kStatic, nullptr, 9, 74, 103, 8, centred, 0},
        {-1, kStatic, nullptr, 21, 86, 81, 8, centred, 0},
        {-1, kStatic, nullptr, 52, 6, 18, 20, SS_ICON | kChild, 0},
    };
    for (const LoadedModule& m : ModulesUnderTest()) {
        SCOPED_TRACE(std::string(m.path.begin(), m.path.end()));
        const std::vector<uint8_t> bytes = ResourceBytes(m.module, MAKEINTRESOURCEW(5), L"ABOUTDLGBOX", kJapanese);
        ASSERT_FALSE(bytes.empty()) << "ABOUTDLGBOX in language 1041";
        DialogTemplate about;
        ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), about));
        EXPECT_FALSE(about.extended);
        EXPECT_EQ(about.style, static_cast<uint32_t>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
        EXPECT_EQ(about.x, 0);
        EXPECT_EQ(about.y, 0);
        EXPECT_EQ(about.cx, 122);
        EXPECT_EQ(about.cy, 125);
        EXPECT_TRUE(about.caption == u"バージョン情報") << Narrow(about.caption);
        EXPECT_EQ(about.pointSize, 9);
        EXPECT_TRUE(about.typeface == u"ＭＳ Ｐゴシック") << Narrow(about.typeface);
        ASSERT_EQ(about.items.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "control #" << i + 1);
            const TemplateItem& got = about.items[i];
            EXPECT_EQ(got.id, expected[i].id);
            EXPECT_TRUE(IsClass(got.windowClass, expected[i].classAtom)) << Narrow(got.windowClass.name);
            if (expected[i].text) {
                EXPECT_TRUE(got.text.name == expected[i].text) << Narrow(got.text.name);
            }
            EXPECT_EQ(got.x, expected[i].x);
            EXPECT_EQ(got.y, expected[i].y);
            EXPECT_EQ(got.cx, expected[i].cx);
            EXPECT_EQ(got.cy, expected[i].cy);
            EXPECT_EQ(got.style, expected[i].style) << std::hex << got.style;
        }
        EXPECT_FALSE(about.items[3].text.name.empty()) << "a copyright line";
        EXPECT_FALSE(about.items[4].text.name.empty()) << "a contact line";
        EXPECT_TRUE(about.items[5].text.isOrdinal);
        EXPECT_EQ(about.items[5].text.ordinal, IDI_QUORBEL);
    }
}

// The string table keeps 16 strings per block, each a length then UTF-16 units.
std::u16string TableString(HMODULE module, UINT id, bool& present, WORD language = kJapanese) {
    const std::vector<uint8_t> block =
        ResourceBytes(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), language);
    present = false;
    size_t at = 0;
    for (UINT i = 0; i < 16 && at + 2 <= block.size(); ++i) {
        const size_t length = block[at] | (block[at + 1] << 8);
        at += 2;
        if (i == id % 16) {
            present = length > 0;
            std::u16string text;
            for (size_t k = 0; k < length && at + 2 * k + 1 < block.size(); ++k) {
                text.push_back(static_cast<char16_t>(block[at + 2 * k] | (block[at + 2 * k + 1] << 8)));
            }
            return text;
        }
        at += 2 * length;
    }
    return {};
}

TEST(ResourceReadback, StringTableHoldsTheApplicationStrings) {
    const struct {
        UINT id;
        const char16_t* text;
    } expected[] = {
        {1, u"Tovtov Life Display"},
        {1000, u"PWProtected"},
        {1001, u"control.ini"},
        {1002, u"スクリーン セーバー"},
        {1007, u"ScreenSaver.TovtovLifeGame"},
        {1009, u"control.hlp"},
        {1010, u"Tovtovライフｹﾞｰﾑ"},
        {1012, u"Not 256 color."},
        {1013, u"Error"},
        {1014, u"CreatePaletteに失敗"},
        {1015, u"PAL2"},
    };
    for (const LoadedModule& m : ModulesUnderTest()) {
        SCOPED_TRACE(std::string(m.path.begin(), m.path.end()));
        for (const auto& want : expected) {
            bool present = false;
            const std::u16string got = TableString(m.module, want.id, present);
            EXPECT_TRUE(present) << "string " << want.id;
            EXPECT_TRUE(got == want.text) << want.id << ": " << Narrow(got);
        }
        bool present = false;
        const std::u16string message = TableString(m.module, IDS_HELP_FAILED, present);
        EXPECT_TRUE(present) << "string 1008, the help-failure message";
        EXPECT_NE(message.find(u"Quorbel.hlp"), std::u16string::npos) << Narrow(message);
        EXPECT_LE(message.size(), 254u) << "fits the 255-character buffer";
        for (UINT absent : {2u, 1003u, 1004u, 1005u, 1006u, 1011u}) {
            TableString(m.module, absent, present);
            EXPECT_FALSE(present) << "string " << absent;
        }
    }
}

// Plain ASCII reads the same through the ANSI calls under every code page.
bool IsAscii(const std::u16string& text) {
    for (char16_t unit : text) {
        if (unit >= 0x80)
            return false;
    }
    return true;
}

DialogTemplate ParsedDialog(HMODULE module, LPCWSTR name, WORD language) {
    DialogTemplate dialog;
    const std::vector<uint8_t> bytes = ResourceBytes(module, MAKEINTRESOURCEW(5), name, language);
    EXPECT_FALSE(bytes.empty()) << "dialog in language " << language;
    EXPECT_TRUE(bytes.empty() || ParseDialogTemplate(bytes.data(), bytes.size(), dialog));
    return dialog;
}

// The English dialog beside the Japanese one: the same controls in the same
// order, kind, style and rows, in the shell's font, each inside the dialog
// and not overlapping its neighbour on the same row.
void ExpectEnglishTwin(const DialogTemplate& english, const DialogTemplate& japanese) {
    EXPECT_TRUE(english.extended) << "DS_SHELLFONT needs an extended template";
    EXPECT_EQ(english.style & DS_SHELLFONT, static_cast<uint32_t>(DS_SHELLFONT));
    EXPECT_EQ(english.style & ~static_cast<uint32_t>(DS_FIXEDSYS), japanese.style);
    EXPECT_TRUE(english.typeface == u"MS Shell Dlg") << Narrow(english.typeface);
    EXPECT_EQ(english.pointSize, 8);
    EXPECT_EQ(english.cy, japanese.cy);
    EXPECT_FALSE(english.caption.empty());
    EXPECT_TRUE(IsAscii(english.caption)) << Narrow(english.caption);
    ASSERT_EQ(english.items.size(), japanese.items.size());
    for (size_t i = 0; i < english.items.size(); ++i) {
        const TemplateItem& got = english.items[i];
        const TemplateItem& twin = japanese.items[i];
        SCOPED_TRACE(testing::Message() << "control #" << i + 1 << " id " << twin.id);
        EXPECT_EQ(got.id, twin.id);
        EXPECT_EQ(got.windowClass.isOrdinal, twin.windowClass.isOrdinal);
        EXPECT_TRUE(got.windowClass.ordinal == twin.windowClass.ordinal &&
                    got.windowClass.name == twin.windowClass.name);
        EXPECT_EQ(got.style, twin.style) << std::hex << got.style;
        EXPECT_EQ(got.exStyle, twin.exStyle);
        EXPECT_EQ(got.y, twin.y);
        EXPECT_EQ(got.cy, twin.cy);
        EXPECT_EQ(got.text.isOrdinal, twin.text.isOrdinal);
        EXPECT_EQ(got.text.name.empty(), twin.text.name.empty());
        EXPECT_TRUE(IsAscii(got.text.name)) << Narrow(got.text.name);
        EXPECT_GE(got.x, 0);
        EXPECT_LE(got.x + got.cx, english.cx) << "inside the dialog";
        if (i > 0 && english.items[i - 1].y == got.y && english.items[i - 1].cy == got.cy) {
            const TemplateItem& left = english.items[i - 1];
            EXPECT_LE(left.x + left.cx, got.x) << "clear of its left neighbour";
        }
    }
}

TEST(ResourceReadback, EnglishDialogsAreTwinsOfTheJapaneseOnes) {
    for (const LoadedModule& m : ModulesUnderTest()) {
        SCOPED_TRACE(std::string(m.path.begin(), m.path.end()));
        {
            SCOPED_TRACE("dialog 2003");
            const DialogTemplate japanese = ParsedDialog(m.module, MAKEINTRESOURCEW(IDD_CONFIG), kJapanese);
            const DialogTemplate english = ParsedDialog(m.module, MAKEINTRESOURCEW(IDD_CONFIG), kEnglish);
            ExpectEnglishTwin(english, japanese);
        }
        {
            SCOPED_TRACE("ABOUTDLGBOX");
            const DialogTemplate japanese = ParsedDialog(m.module, L"ABOUTDLGBOX", kJapanese);
            const DialogTemplate english = ParsedDialog(m.module, L"ABOUTDLGBOX", kEnglish);
            ExpectEnglishTwin(english, japanese);
            ASSERT_EQ(english.items.size(), 6u);
            EXPECT_EQ(english.items[5].text.ordinal, IDI_QUORBEL);
        }
    }
}

TEST(ResourceReadback, EnglishStringTableHoldsEveryStringInPlainText) {
    const UINT names[] = {IDS_DESCRIPTION, IDS_PASSWORD_VALUE, IDS_CONTROL_INI, IDS_APP_CLASS, IDS_CONTROL_HELP};
    const UINT shown[] = {IDS_SCREEN_SAVER,          IDS_HELP_FAILED,         IDS_APP_TITLE,
                          IDS_SHEET_NOT_256_COLOR,   IDS_SHEET_ERROR_CAPTION, IDS_PALETTE_FAILED,
                          IDS_PALETTE_FAILED_CAPTION};
    for (const LoadedModule& m : ModulesUnderTest()) {
        SCOPED_TRACE(std::string(m.path.begin(), m.path.end()));
        bool present = false;
        for (UINT id : names) {
            const std::u16string japanese = TableString(m.module, id, present);
            EXPECT_TRUE(TableString(m.module, id, present, kEnglish) == japanese) << "names stay: " << id;
            EXPECT_TRUE(present) << id;
        }
        for (UINT id : shown) {
            const std::u16string english = TableString(m.module, id, present, kEnglish);
            EXPECT_TRUE(present) << id;
            EXPECT_TRUE(IsAscii(english)) << id << ": " << Narrow(english);
        }
        EXPECT_LE(TableString(m.module, IDS_HELP_FAILED, present, kEnglish).size(), 254u);
        EXPECT_LE(TableString(m.module, IDS_APP_TITLE, present, kEnglish).size(), 39u);
        for (UINT absent : {2u, 1003u, 1004u, 1005u, 1006u, 1011u}) {
            TableString(m.module, absent, present, kEnglish);
            EXPECT_FALSE(present) << "string " << absent;
        }
    }
}

std::wstring VersionString(const std::vector<uint8_t>& block, const wchar_t* key) {
    std::wstring path = L"\\StringFileInfo\\041104b0\\";
    path += key;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value)
        return L"<missing>";
    return static_cast<const wchar_t*>(value);
}

// The project's version as the version texts show it: the patch number in
// three digits (1.11.4 reads 1.11.004).
std::wstring VersionText() {
    std::wstring patch = std::to_wstring(QUORBEL_VERSION_PATCH);
    patch.insert(0, patch.size() < 3 ? 3 - patch.size() : 0, L'0');
    return std::to_wstring(QUORBEL_VERSION_MAJOR) + L"." + std::to_wstring(QUORBEL_VERSION_MINOR) + L"." + patch;
}

TEST(ResourceReadback, VersionResourceDescribesTheSaver) {
    EXPECT_EQ(L"Ver " + VersionText(), L"" QUORBEL_ABOUT_VERSION_TEXT) << "the About box shows the same text";
    const DWORD majorMinor = (DWORD{QUORBEL_VERSION_MAJOR} << 16) | QUORBEL_VERSION_MINOR;
    for (const LoadedModule& m : ModulesUnderTest()) {
        SCOPED_TRACE(std::string(m.path.begin(), m.path.end()));
        EXPECT_FALSE(ResourceBytes(m.module, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1), kJapanese).empty())
            << "version resource in language 1041";
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(m.path.c_str(), &ignored);
        ASSERT_GT(size, 0u);
        std::vector<uint8_t> block(size);
        ASSERT_TRUE(GetFileVersionInfoW(m.path.c_str(), 0, size, block.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        // The fixed part carries the major and minor numbers only.
        EXPECT_EQ(fixed->dwFileVersionMS, majorMinor);
        EXPECT_EQ(fixed->dwFileVersionLS, 0u);
        EXPECT_EQ(fixed->dwProductVersionMS, majorMinor);
        EXPECT_EQ(fixed->dwProductVersionLS, 0u);
        EXPECT_EQ(fixed->dwFileFlags, 0u);
        EXPECT_EQ(fixed->dwFileOS, 0x10004u);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

        WORD* translation = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                   &length));
        ASSERT_EQ(length, 4u);
        EXPECT_EQ(translation[0], 0x0411);
        EXPECT_EQ(translation[1], 0x04B0);

        EXPECT_EQ(VersionString(block, L"CompanyName"), L" ");
        EXPECT_EQ(VersionString(block, L"FileDescription"), L"Tovtovﾗｲﾌｹﾞｰﾑ ｽｸﾘｰﾝ ｾｰﾊﾞｰ");
        EXPECT_EQ(VersionString(block, L"FileVersion"), VersionText());
        EXPECT_EQ(VersionString(block, L"InternalName"), L"Tovtovﾗｲﾌｹﾞｰﾑ");
        EXPECT_NE(VersionString(block, L"LegalCopyright").find(L"Copyright"), std::wstring::npos);
        EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Quorbel.scr");
        EXPECT_EQ(VersionString(block, L"ProductName"), L"Tovtovﾗｲﾌｹﾞｰﾑ ｽｸﾘｰﾝ ｾｰﾊﾞｰ for Windows 95");
        EXPECT_EQ(VersionString(block, L"ProductVersion"), VersionText());
    }
}

TEST(ResourceReadback, IconHoldsA16ColourAndAMonochrome32x32Image) {
    for (const LoadedModule& m : ModulesUnderTest()) {
        SCOPED_TRACE(std::string(m.path.begin(), m.path.end()));
        HRSRC info = FindResourceW(m.module, MAKEINTRESOURCEW(IDI_QUORBEL), MAKEINTRESOURCEW(14));
        ASSERT_NE(info, nullptr) << "icon group 100";
        const auto* group = static_cast<const uint8_t*>(LockResource(LoadResource(m.module, info)));
        ASSERT_NE(group, nullptr);
        const int count = group[4] | (group[5] << 8);
        ASSERT_EQ(count, 2);
        const struct { int colours, bits; } expected[] = {{16, 4}, {2, 1}};
        for (int i = 0; i < count; ++i) {
            const uint8_t* entry = group + 6 + 14 * i;
            EXPECT_EQ(entry[0], 32);
            EXPECT_EQ(entry[1], 32);
            EXPECT_EQ(entry[2], expected[i].colours);
            EXPECT_EQ(entry[6] | (entry[7] << 8), expected[i].bits);
            const WORD imageId = static_cast<WORD>(entry[12] | (entry[13] << 8));
            HRSRC image = FindResourceW(m.module, MAKEINTRESOURCEW(imageId), MAKEINTRESOURCEW(3));
            ASSERT_NE(image, nullptr);
            const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(m.module, image)));
            EXPECT_EQ(header->biWidth, 32);
            EXPECT_EQ(header->biHeight, 64);
            EXPECT_EQ(header->biBitCount, expected[i].bits);
        }
        if (m.module == GetModuleHandleW(nullptr)) {
            HICON icon = LoadIconW(m.module, MAKEINTRESOURCEW(IDI_QUORBEL));
            EXPECT_NE(icon, nullptr) << "the system can load it";
        }
    }
}

}  // namespace
