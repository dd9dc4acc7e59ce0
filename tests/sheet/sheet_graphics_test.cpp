// BuildSheetGraphics under Wine: the embedded sheet becomes its pixels, its
// colour table and a palette of those colours; a sheet that is not 8-bit is
// refused with its message box; the colour-table length is honoured. The
// messages come in the locale's language: run once under each.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "display/packed_dib.h"
#include "display/rle8.h"
#include "expected_language.h"
#include "host/sheet_graphics_windows.h"
#include "screen_capture_windows.h"

namespace {

// Watches for message boxes with one caption on a second thread, records
// what each showed and dismisses it with OK, as a user would.
class MessageBoxWatcher {
public:
    struct Seen {
        std::wstring text;
        HWND owner;
        HICON icon;
    };

    explicit MessageBoxWatcher(const wchar_t* caption) : caption_(caption), thread_([this] { Run(); }) {}
    ~MessageBoxWatcher() { Stop(); }

    const std::vector<Seen>& Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return seen_;
    }

private:
    void Run() {
        HWND handled = nullptr;
        while (!stop_) {
            HWND box = FindWindowW(L"#32770", caption_);
            if (box != nullptr && box != handled) {
                handled = box;
                Seen seen{};
                seen.owner = GetWindow(box, GW_OWNER);
                EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&seen));
                seen_.push_back(seen);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(10);
        }
    }

    static BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
        auto* seen = reinterpret_cast<Seen*>(param);
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        if (lstrcmpiW(className, L"Static") != 0) {
            return TRUE;
        }
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen->icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            return TRUE;
        }
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        if (text[0] != 0) {
            seen->text = text;
        }
        return TRUE;
    }

    const wchar_t* caption_;
    std::atomic<bool> stop_{false};
    std::vector<Seen> seen_;
    std::thread thread_;
};

// Checks the sheet's colours against the packed bitmap's table, as the
// colour table and as the palette.
void ExpectColours(const SheetGraphics& graphics, const uint8_t* dib, const PackedDibLayout& layout) {
    ASSERT_EQ(graphics.colours.size(), layout.colorCount);
    ASSERT_EQ(GetPaletteEntries(graphics.palette, 0, 0, nullptr), layout.colorCount);
    std::vector<PALETTEENTRY> entries(layout.colorCount);
    ASSERT_EQ(GetPaletteEntries(graphics.palette, 0, layout.colorCount, entries.data()), layout.colorCount);
    for (uint32_t i = 0; i < layout.colorCount; ++i) {
        const RgbColor c = PackedDibColor(dib, layout, i);
        const RGBQUAD& q = graphics.colours[i];
        EXPECT_TRUE(q.rgbRed == c.red && q.rgbGreen == c.green && q.rgbBlue == c.blue) << "colour " << i;
        EXPECT_TRUE(entries[i].peRed == c.red && entries[i].peGreen == c.green && entries[i].peBlue == c.blue &&
                    entries[i].peFlags == 0)
            << "palette entry " << i;
    }
}

class SheetGraphicsTest : public ::testing::Test {
protected:
    void TearDown() override { ReleaseSheetGraphics(graphics); }

    HWND saverWindow = nullptr;  // none, as during window creation
    SheetGraphics graphics;
};

}  // namespace

TEST_F(SheetGraphicsTest, EmbeddedSheetGivesItsColoursAnd540x1890Pixels) {
    HRSRC info = FindResourceA(GetModuleHandleA(nullptr), "LIFE9DIB", RT_BITMAP);
    ASSERT_NE(info, nullptr) << "no LIFE9DIB bitmap resource";
    const auto* sheet = static_cast<const uint8_t*>(LockResource(LoadResource(GetModuleHandleA(nullptr), info)));
    ASSERT_NE(sheet, nullptr);
    DWORD size = SizeofResource(GetModuleHandleA(nullptr), info);

    // The resource compiler kept exactly the generator's packed bitmap.
    std::ifstream file(QUORBEL_SHEET_DIB, std::ios::binary);
    ASSERT_TRUE(file.good()) << QUORBEL_SHEET_DIB;
    std::vector<uint8_t> generated((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(size, generated.size());
    EXPECT_TRUE(std::equal(generated.begin(), generated.end(), sheet));

    PackedDibLayout layout;
    IndexedImage decoded;
    ASSERT_TRUE(ParsePackedDib(sheet, size, &layout));
    ASSERT_TRUE(DecodePackedRle8(sheet, size, &decoded));

    graphics = BuildSheetGraphics(saverWindow, sheet, size);
    ASSERT_NE(graphics.palette, nullptr);
    EXPECT_EQ(layout.colorCount, 256u);
    ExpectColours(graphics, sheet, layout);
    ASSERT_NE(graphics.source(), nullptr);
    EXPECT_EQ(graphics.sprites.width, 540);
    EXPECT_EQ(graphics.sprites.height, 1890);
    EXPECT_EQ(graphics.sprites.at(0, 0), 0) << "the top-left corner is black";
    EXPECT_TRUE(graphics.sprites.pixels == decoded.pixels);
}

TEST_F(SheetGraphicsTest, FourBitSheetShowsNot256ColorOnceAndMakesNothing) {
    DibHeader header;
    header.width = 4;
    header.height = 2;
    header.bitCount = 4;
    header.compression = 0;
    std::vector<uint8_t> dib = BuildPackedDib(header, std::vector<RgbColor>(16), std::vector<uint8_t>(8, 0x12));

    for (bool owned : {false, true}) {
        SCOPED_TRACE(owned ? "with a saver window" : "during window creation");
        HWND window = owned ? CreateWindowExW(0, L"STATIC", L"saver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                              GetModuleHandleW(nullptr), nullptr)
                            : nullptr;
        saverWindow = window;
        MessageBoxWatcher watcher(L"Error");
        graphics = BuildSheetGraphics(saverWindow, dib.data(), dib.size());
        std::vector<MessageBoxWatcher::Seen> seen = watcher.Stop();

        EXPECT_EQ(graphics.source(), nullptr);
        EXPECT_EQ(graphics.palette, nullptr) << "no palette for a sheet that is not 8-bit";
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text,
                  ExpectJapaneseTexts() ? L"Not 256 color." : L"The sprite sheet is not a 256-color bitmap.");
        EXPECT_EQ(seen[0].owner, window);
        EXPECT_EQ(seen[0].icon, LoadIconA(nullptr, IDI_HAND)) << "the error icon";
        ReleaseSheetGraphics(graphics);
        if (window != nullptr) {
            DestroyWindow(window);
        }
    }
}

TEST_F(SheetGraphicsTest, SixteenColourTableGivesSixteenEntriesAndPixelsAfterIt) {
    std::vector<RgbColor> colors;
    for (int i = 0; i < 16; ++i) {
        colors.push_back(
            {static_cast<uint8_t>(16 * i), static_cast<uint8_t>(255 - 16 * i), static_cast<uint8_t>(40 + 8 * i)});
    }
    IndexedImage image(7, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 7; ++x) {
            image.at(x, y) = static_cast<uint8_t>((x + 7 * y) % 16);
        }
    }
    DibHeader header;
    header.width = 7;
    header.height = 3;
    header.colorsUsed = 16;
    header.colorsImportant = 16;
    std::vector<uint8_t> dib = BuildPackedDib(header, colors, EncodeRle8(image));
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(dib.data(), dib.size(), &layout));
    ASSERT_EQ(layout.pixelOffset, 40u + 64u);

    graphics = BuildSheetGraphics(saverWindow, dib.data(), dib.size());
    ASSERT_NE(graphics.palette, nullptr);
    ExpectColours(graphics, dib.data(), layout);
    ASSERT_EQ(graphics.colours.size(), 16u);
    EXPECT_EQ(graphics.colours[5].rgbRed, 80);
    EXPECT_EQ(graphics.colours[5].rgbGreen, 175);
    EXPECT_EQ(graphics.colours[5].rgbBlue, 80);
    EXPECT_TRUE(graphics.sprites.pixels == image.pixels);
    EXPECT_EQ(graphics.sprites.width, 7);
}

TEST_F(SheetGraphicsTest, PaletteFailureShowsTheWarningAndMakesNoSprites) {
    // The box's icon needs GDI objects too: load the shared icon first.
    HICON warningIcon = LoadIconA(nullptr, IDI_EXCLAMATION);
    // Fill the process's GDI handle table so that CreatePalette really fails.
    LOGPALETTE one = {0x300, 1, {{0, 0, 0, 0}}};
    std::vector<HPALETTE> filler;
    for (int i = 0; i < 100000; ++i) {
        HPALETTE p = CreatePalette(&one);
        if (p == nullptr) {
            break;
        }
        filler.push_back(p);
    }
    bool exhausted = filler.size() < 100000;

    std::vector<uint8_t> dib;
    std::vector<MessageBoxWatcher::Seen> seen;
    if (exhausted) {
        DibHeader header;
        header.width = 2;
        header.height = 1;
        dib = BuildPackedDib(header, std::vector<RgbColor>(4), {2, 5, 0, 1});
        MessageBoxWatcher watcher(ExpectJapaneseTexts() ? L"PAL2" : L"Palette");
        graphics = BuildSheetGraphics(saverWindow, dib.data(), dib.size());
        seen = watcher.Stop();
    }
    for (HPALETTE p : filler) {
        DeleteObject(p);
    }
    if (!exhausted) {
        GTEST_SKIP() << "the GDI handle table did not fill up";
    }
    EXPECT_EQ(graphics.source(), nullptr);
    EXPECT_EQ(graphics.palette, nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text,
              ExpectJapaneseTexts() ? L"CreatePalette\u306b\u5931\u6557" : L"Could not create the palette.");
    EXPECT_EQ(seen[0].owner, nullptr);
    EXPECT_EQ(seen[0].icon, warningIcon) << "the warning icon";
}
