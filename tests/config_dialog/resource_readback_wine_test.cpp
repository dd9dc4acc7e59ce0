// The built resources read back: the dialogs checked for the controls the
// code works with and a usable layout, the string table, the version block
// and the icon. Runs on this test program, and on Quorbel.scr when
// QUORBEL_PROGRAM_PATH names it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "quorbel_version.h"
#include "resources/resource_ids.h"
#include "settings/config_dialog_logic.h"

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr uint16_t kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kScrollBar = 0x84;

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

DialogTemplate ParsedDialog(HMODULE module, LPCWSTR name, WORD language) {
    DialogTemplate dialog;
    const std::vector<uint8_t> bytes = ResourceBytes(module, MAKEINTRESOURCEW(5), name, language);
    EXPECT_FALSE(bytes.empty()) << "dialog in language " << language;
    EXPECT_TRUE(bytes.empty() || ParseDialogTemplate(bytes.data(), bytes.size(), dialog));
    return dialog;
}

bool IsGroupBox(const TemplateItem& item) {
    return IsClass(item.windowClass, kButton) && (item.style & BS_TYPEMASK) == BS_GROUPBOX;
}
bool Overlap(const TemplateItem& a, const TemplateItem& b) {
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}
bool Inside(const TemplateItem& inner, const TemplateItem& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}
std::string Described(const TemplateItem& item) {
    return "control " + std::to_string(item.id) + " \"" + Narrow(item.text.name) + "\"";
}

// What every dialog needs to be usable: each control inside the dialog,
// none covering another (a group box may only hold controls wholly inside
// it), and no access key (the letter after "&") twice.
void ExpectUsableLayout(const DialogTemplate& dialog) {
    EXPECT_FALSE(dialog.caption.empty());
    std::vector<char16_t> keys;
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const TemplateItem& item = dialog.items[i];
        EXPECT_TRUE(item.x >= 0 && item.y >= 0 && item.x + item.cx <= dialog.cx && item.y + item.cy <= dialog.cy)
            << Described(item) << " is not inside the dialog";
        const std::u16string& text = item.text.name;
        for (size_t at = text.find(u'&'); at != std::u16string::npos && at + 1 < text.size();
             at = text.find(u'&', at + 2)) {
            if (text[at + 1] != u'&')
                keys.push_back(text[at + 1] >= u'a' && text[at + 1] <= u'z' ? text[at + 1] - u'a' + u'A'
                                                                            : text[at + 1]);
        }
        for (size_t j = i + 1; j < dialog.items.size(); ++j) {
            const TemplateItem& other = dialog.items[j];
            if (!Overlap(item, other))
                continue;
            const bool held = (IsGroupBox(item) && !IsGroupBox(other) && Inside(other, item)) ||
                              (IsGroupBox(other) && !IsGroupBox(item) && Inside(item, other));
            EXPECT_TRUE(held) << Described(item) << " and " << Described(other) << " overlap";
        }
    }
    std::sort(keys.begin(), keys.end());
    EXPECT_TRUE(std::adjacent_find(keys.begin(), keys.end()) == keys.end()) << "an access key twice";
}

// The one control with `id`; null (and a failure) for none or several.
const TemplateItem* Control(const DialogTemplate& dialog, int32_t id) {
    const TemplateItem* found = nullptr;
    int count = 0;
    for (const TemplateItem& item : dialog.items) {
        if (item.id == id) {
            found = &item;
            ++count;
        }
    }
    EXPECT_EQ(count, 1) << "controls with id " << id;
    return count == 1 ? found : nullptr;
}

// The controls the dialog's code works with, checked by what they are for
// rather than where they sit: every radio button of each setting's group
// (from the dialog's own group table) in one keyboard group that starts at
// a group box holding it and has no other group's radio button; the
// controls a choice enables; the four push buttons, the speed bar and the
// Generations box. Both languages.
TEST(ResourceReadback, ConfigDialogHoldsEveryControlTheDialogWorksWith) {
    for (const LoadedModule& m : ModulesUnderTest()) {
        for (WORD language : {kJapanese, kEnglish}) {
            SCOPED_TRACE(testing::Message() << std::string(m.path.begin(), m.path.end()) << ", language " << language);
            const DialogTemplate dialog = ParsedDialog(m.module, MAKEINTRESOURCEW(IDD_CONFIG), language);
            ASSERT_FALSE(dialog.items.empty());
            const uint32_t frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
            EXPECT_EQ(dialog.style & frame, frame);
            ExpectUsableLayout(dialog);

            if (const TemplateItem* ok = Control(dialog, IDOK)) {
                EXPECT_EQ(ok->style & BS_TYPEMASK, static_cast<uint32_t>(BS_DEFPUSHBUTTON));
            }
            for (int id : {IDCANCEL, IDC_ABOUT_BUTTON, IDC_HELP_BUTTON}) {
                if (const TemplateItem* push = Control(dialog, id)) {
                    EXPECT_TRUE(IsClass(push->windowClass, kButton)) << id;
                    EXPECT_EQ(push->style & BS_TYPEMASK, static_cast<uint32_t>(BS_PUSHBUTTON)) << id;
                    EXPECT_TRUE(push->style & WS_TABSTOP) << id;
                }
            }
            if (const TemplateItem* bar = Control(dialog, IDC_SPEED_BAR)) {
                EXPECT_TRUE(IsClass(bar->windowClass, kScrollBar));
                EXPECT_EQ(bar->style & (SBS_VERT | WS_TABSTOP), static_cast<uint32_t>(SBS_HORZ | WS_TABSTOP));
            }
            if (const TemplateItem* box = Control(dialog, IDC_GENERATIONS)) {
                EXPECT_TRUE(IsClass(box->windowClass, kEdit));
                EXPECT_TRUE(box->style & WS_TABSTOP);
            }

            for (int g = 0; g < kChoiceGroupCount; ++g) {
                const ChoiceGroupLayout& layout = LayoutOf(static_cast<ChoiceGroup>(g));
                SCOPED_TRACE(testing::Message() << "choice group " << g);
                for (int d = 0; d < layout.dependentCount; ++d)
                    Control(dialog, layout.dependents[d]);
                std::vector<size_t> at;
                for (int b = 0; b < layout.buttonCount; ++b) {
                    const TemplateItem* radio = Control(dialog, layout.buttons[b]);
                    if (!radio)
                        continue;
                    EXPECT_TRUE(IsClass(radio->windowClass, kButton));
                    EXPECT_EQ(radio->style & BS_TYPEMASK, static_cast<uint32_t>(BS_AUTORADIOBUTTON)) << radio->id;
                    EXPECT_EQ(radio->style & (WS_GROUP | WS_TABSTOP), 0u) << radio->id;
                    at.push_back(static_cast<size_t>(radio - dialog.items.data()));
                }
                ASSERT_EQ(at.size(), static_cast<size_t>(layout.buttonCount));
                // The keyboard group: from the last WS_GROUP control before
                // the first button to the next WS_GROUP control.
                const size_t first = *std::min_element(at.begin(), at.end());
                size_t start = first;
                while (start > 0 && !(dialog.items[start].style & WS_GROUP))
                    --start;
                const TemplateItem& box = dialog.items[start];
                ASSERT_TRUE(IsGroupBox(box)) << "the group starts at " << Described(box);
                size_t end = start + 1;
                while (end < dialog.items.size() && !(dialog.items[end].style & WS_GROUP))
                    ++end;
                for (size_t i = start + 1; i < end; ++i) {
                    const TemplateItem& item = dialog.items[i];
                    const bool radio = IsClass(item.windowClass, kButton) &&
                                       (item.style & BS_TYPEMASK) == static_cast<uint32_t>(BS_AUTORADIOBUTTON);
                    const bool ours = std::find(at.begin(), at.end(), i) != at.end();
                    EXPECT_EQ(radio, ours)
                        << "another group's " << Described(item) << " in the keyboard group of " << Described(box);
                }
                for (size_t i : at) {
                    EXPECT_LT(i, end) << Described(dialog.items[i]) << " outside its keyboard group";
                    EXPECT_TRUE(Inside(dialog.items[i], box))
                        << Described(dialog.items[i]) << " outside " << Described(box);
                }
            }
        }
    }
}

// The About box: the build's version text, the program's icon, OK as the
// default button, a copyright line, in a usable layout; both languages.
TEST(ResourceReadback, AboutBoxShowsTheVersionTheIconAndOk) {
    for (const LoadedModule& m : ModulesUnderTest()) {
        for (WORD language : {kJapanese, kEnglish}) {
            SCOPED_TRACE(testing::Message() << std::string(m.path.begin(), m.path.end()) << ", language " << language);
            const DialogTemplate about = ParsedDialog(m.module, L"ABOUTDLGBOX", language);
            ASSERT_FALSE(about.items.empty());
            ExpectUsableLayout(about);
            if (const TemplateItem* ok = Control(about, IDOK)) {
                EXPECT_EQ(ok->style & BS_TYPEMASK, static_cast<uint32_t>(BS_DEFPUSHBUTTON));
            }
            int versions = 0, icons = 0, copyrights = 0;
            for (const TemplateItem& item : about.items) {
                versions += item.text.name == u"" QUORBEL_ABOUT_VERSION_TEXT;
                icons += (item.style & SS_TYPEMASK) == SS_ICON && IsClass(item.windowClass, kStatic) &&
                         item.text.isOrdinal && item.text.ordinal == IDI_QUORBEL;
                copyrights += item.text.name.find(u"Copyright") != std::u16string::npos;
            }
            EXPECT_EQ(versions, 1) << "the version text " QUORBEL_ABOUT_VERSION_TEXT;
            EXPECT_EQ(icons, 1) << "the icon " << IDI_QUORBEL;
            EXPECT_EQ(copyrights, 1) << "a copyright line";
        }
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
    const UINT shown[] = {IDS_SCREEN_SAVER,           IDS_HELP_FAILED,         IDS_APP_TITLE,
                          IDS_SHEET_NOT_256_COLOR,    IDS_SHEET_ERROR_CAPTION, IDS_PALETTE_FAILED,
                          IDS_PALETTE_FAILED_CAPTION, IDS_HELP_PAGE_UNOPENED};
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
