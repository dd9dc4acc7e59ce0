// BuildSheetGraphics under Wine: the embedded sheet becomes a palette and a
// device bitmap with the sheet's own colours; a sheet that is not 8-bit is
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
#include "display/sheet_graphics_windows.h"
#include "expected_language.h"
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

uint32_t Bgrx(const RgbColor& c) { return static_cast<uint32_t>(c.blue | c.green << 8 | c.red << 16); }

// Counts (and reports the first few) pixels that differ from the decoded
// image seen through the colour table.
int CountMismatches(const CapturedPixels& pixels, const IndexedImage& image, const uint8_t* dib,
                    const PackedDibLayout& layout) {
    int mismatches = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            uint32_t expected = Bgrx(PackedDibColor(dib, layout, image.at(x, y)));
            uint32_t got = pixels.at(x, y);
            if (got != expected && mismatches++ < 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": got " << std::hex << got << ", expected " << expected;
            }
        }
    }
    return mismatches;
}

class SheetGraphics : public ::testing::Test {
protected:
    void ReleaseGraphics(HBITMAP bitmap) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        if (palette != nullptr) {
            DeleteObject(palette);
            palette = nullptr;
        }
    }

    HWND saverWindow = nullptr;  // none, as during window creation
    HPALETTE palette = nullptr;
};

}  // namespace

TEST_F(SheetGraphics, EmbeddedSheetGivesItsPaletteAndA540x1890Bitmap) {
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

    HBITMAP bitmap = BuildSheetGraphics(saverWindow, sheet, palette);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 256u);
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 256, entries), 256u);
    for (uint32_t i = 0; i < 256; ++i) {
        RgbColor c = PackedDibColor(sheet, layout, i);
        EXPECT_TRUE(entries[i].peRed == c.red && entries[i].peGreen == c.green && entries[i].peBlue == c.blue &&
                    entries[i].peFlags == 0)
            << "palette entry " << i;
    }

    CapturedPixels pixels = CaptureBitmap(bitmap);
    ASSERT_EQ(pixels.width, 540);
    ASSERT_EQ(pixels.height, 1890);
    EXPECT_EQ(pixels.at(0, 0), 0u) << "the top-left corner is black";
    EXPECT_EQ(CountMismatches(pixels, decoded, sheet, layout), 0);
    ReleaseGraphics(bitmap);
}

TEST_F(SheetGraphics, FourBitSheetShowsNot256ColorOnceAndMakesNothing) {
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
        HBITMAP bitmap = BuildSheetGraphics(saverWindow, dib.data(), palette);
        std::vector<MessageBoxWatcher::Seen> seen = watcher.Stop();

        EXPECT_EQ(bitmap, nullptr);
        EXPECT_EQ(palette, nullptr) << "no palette for a sheet that is not 8-bit";
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text,
                  ExpectJapaneseTexts() ? L"Not 256 color." : L"The sprite sheet is not a 256-color bitmap.");
        EXPECT_EQ(seen[0].owner, window);
        EXPECT_EQ(seen[0].icon, LoadIconA(nullptr, IDI_HAND)) << "the error icon";
        ReleaseGraphics(bitmap);
        if (window != nullptr) {
            DestroyWindow(window);
        }
    }
}

TEST_F(SheetGraphics, SixteenColourTableGivesSixteenEntriesAndPixelsAfterIt) {
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

    // This time the saver window exists, so its device context is used.
    saverWindow = CreateWindowExW(0, L"STATIC", L"saver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(saverWindow, nullptr);
    HBITMAP bitmap = BuildSheetGraphics(saverWindow, dib.data(), palette);
    DestroyWindow(saverWindow);
    saverWindow = nullptr;
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 16u);
    PALETTEENTRY entries[16];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 16, entries), 16u);
    EXPECT_EQ(entries[5].peRed, 80);
    EXPECT_EQ(entries[5].peGreen, 175);
    EXPECT_EQ(entries[5].peBlue, 80);

    CapturedPixels pixels = CaptureBitmap(bitmap);
    ASSERT_EQ(pixels.width, 7);
    ASSERT_EQ(pixels.height, 3);
    EXPECT_EQ(CountMismatches(pixels, image, dib.data(), layout), 0);
    ReleaseGraphics(bitmap);
}

TEST_F(SheetGraphics, PaletteFailureShowsTheWarningAndMakesNoBitmap) {
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
    HBITMAP bitmap = nullptr;
    std::vector<MessageBoxWatcher::Seen> seen;
    if (exhausted) {
        DibHeader header;
        header.width = 2;
        header.height = 1;
        dib = BuildPackedDib(header, std::vector<RgbColor>(4), {2, 5, 0, 1});
        MessageBoxWatcher watcher(ExpectJapaneseTexts() ? L"PAL2" : L"Palette");
        bitmap = BuildSheetGraphics(saverWindow, dib.data(), palette);
        seen = watcher.Stop();
    }
    for (HPALETTE p : filler) {
        DeleteObject(p);
    }
    if (!exhausted) {
        GTEST_SKIP() << "the GDI handle table did not fill up";
    }
    EXPECT_EQ(bitmap, nullptr);
    EXPECT_EQ(palette, nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text,
              ExpectJapaneseTexts() ? L"CreatePalette\u306b\u5931\u6557" : L"Could not create the palette.");
    EXPECT_EQ(seen[0].owner, nullptr);
    EXPECT_EQ(seen[0].icon, warningIcon) << "the warning icon";
    ReleaseGraphics(bitmap);
}
