// The renderer's writers on their own: the GIF's delays and frame
// rectangles (read back with giflib's decoder), and output files that appear
// only when complete.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "render/animated_gif.h"
#include "render/indexed_png.h"
#include "render/output_file.h"
#include "scratch_dir.h"

namespace {

bool Exists(const std::string& path) {
    struct stat s;
    return stat(path.c_str(), &s) == 0;
}

}  // namespace

TEST(GifDelayClock, CarriesTheRemainderAndNeverGivesLessThanTwo) {
    // 28 ms ticks (the fastest speed): 2.8 hundredths each.
    GifDelayClock fast;
    std::vector<int> delays;
    for (int i = 0; i < 5; ++i)
        delays.push_back(fast.delayFor(28));
    EXPECT_EQ(delays, (std::vector<int>{3, 3, 2, 3, 3}));  // 14 = 140 ms
    EXPECT_EQ(fast.writtenHundredths(), 14u);

    // Short frames get 2 and the following ones pay it back.
    GifDelayClock shortFrames;
    EXPECT_EQ(shortFrames.delayFor(4), 2);
    EXPECT_EQ(shortFrames.delayFor(4), 2);
    EXPECT_EQ(shortFrames.delayFor(60), 3);  // due 7 by now, 4 given
    EXPECT_EQ(shortFrames.delayFor(0), 2);   // nothing due: still 2

    GifDelayClock exact;
    EXPECT_EQ(exact.delayFor(655), 66);
    EXPECT_EQ(exact.delayFor(655), 65);  // 1310 ms in all
    EXPECT_EQ(exact.delayFor(2000000), 65535);
}

TEST(AnimatedGif, FramesHoldTheChangedRectangleAndUnchangedPicturesExtendTheFrameBefore) {
    ScratchDir dir;
    const std::string path = dir / "run.gif";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::vector<RgbColor> palette(256);
    palette[9] = {10, 20, 30};

    AnimatedGif gif;
    ASSERT_TRUE(gif.open(file, 10, 8, palette));
    IndexedImage frame(10, 8, 0);
    gif.elapse(500);  // before the first picture: not shown
    EXPECT_TRUE(gif.picture(frame));
    gif.elapse(100);
    frame.at(3, 2) = 9;
    frame.at(6, 5) = 9;
    EXPECT_TRUE(gif.picture(frame));
    gif.elapse(100);
    EXPECT_FALSE(gif.picture(frame));  // unchanged
    gif.elapse(100);
    frame.at(9, 7) = 4;
    EXPECT_TRUE(gif.picture(frame));
    gif.elapse(30);
    ASSERT_TRUE(gif.finish());
    EXPECT_EQ(gif.framesWritten(), 3u);
    std::fclose(file);

    int error = 0;
    GifFileType* read = DGifOpenFileName(path.c_str(), &error);
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(DGifSlurp(read), GIF_OK);
    ASSERT_EQ(read->ImageCount, 3);
    EXPECT_EQ(read->SWidth, 10);
    EXPECT_EQ(read->SHeight, 8);
    EXPECT_EQ(read->SColorMap->Colors[9].Blue, 30);
    struct Expected {
        int left, top, width, height, delay;
    };
    const Expected expected[] = {{0, 0, 10, 8, 10}, {3, 2, 4, 4, 20}, {9, 7, 1, 1, 3}};
    for (int i = 0; i < 3; ++i) {
        const SavedImage& image = read->SavedImages[i];
        GraphicsControlBlock control;
        ASSERT_EQ(DGifSavedExtensionToGCB(read, i, &control), GIF_OK);
        EXPECT_EQ(image.ImageDesc.Left, expected[i].left) << "frame " << i;
        EXPECT_EQ(image.ImageDesc.Top, expected[i].top) << "frame " << i;
        EXPECT_EQ(image.ImageDesc.Width, expected[i].width) << "frame " << i;
        EXPECT_EQ(image.ImageDesc.Height, expected[i].height) << "frame " << i;
        EXPECT_EQ(control.DelayTime, expected[i].delay) << "frame " << i;
        EXPECT_EQ(control.DisposalMode, DISPOSE_DO_NOT) << "frame " << i;
    }
    // The second frame's corners are the two changed pixels.
    const GifByteType* second = read->SavedImages[1].RasterBits;
    EXPECT_EQ(second[0], 9);
    EXPECT_EQ(second[15], 9);
    EXPECT_EQ(second[5], 0);
    DGifCloseFile(read, &error);
}

TEST(OutputFile, AppearsOnlyWhenCommitted) {
    ScratchDir dir;
    const std::string path = dir / "out.txt";
    {
        OutputFile file;
        ASSERT_TRUE(file.open(path)) << file.error();
        std::fputs("partial", file.stream());
        EXPECT_FALSE(Exists(path));
        EXPECT_EQ(dir.files().size(), 1u);  // the temporary
    }
    EXPECT_TRUE(dir.files().empty()) << "not committed: nothing left";

    {
        std::ofstream(path) << "old";
        OutputFile file;
        ASSERT_TRUE(file.open(path)) << file.error();
        std::fputs("new", file.stream());
        ASSERT_TRUE(file.commit()) << file.error();
    }
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "new");
    EXPECT_EQ(dir.files(), std::vector<std::string>{"out.txt"});
    struct stat s;
    ASSERT_EQ(stat(path.c_str(), &s), 0);
    EXPECT_NE(s.st_mode & 0044, 0u) << "readable by others as files usually are, not private";
}

TEST(OutputFile, UnwritablePlacesFailWithTheReasonAndDevicesAreWrittenInPlace) {
    ScratchDir dir;
    OutputFile file;
    EXPECT_FALSE(file.open(dir.path + "/missing/out.png"));
    EXPECT_EQ(file.error(), "cannot write \"" + dir.path + "/missing/out.png\": No such file or directory");
    EXPECT_FALSE(file.open(dir.path));
    EXPECT_EQ(file.error(), "cannot write \"" + dir.path + "\": Is a directory");

    ASSERT_TRUE(file.open("/dev/null")) << file.error();
    std::fputs("gone", file.stream());
    EXPECT_TRUE(file.commit()) << file.error();
    struct stat s;
    ASSERT_EQ(stat("/dev/null", &s), 0);
    EXPECT_TRUE(S_ISCHR(s.st_mode)) << "/dev/null must stay a device";
}

TEST(IndexedPng, AFailingWriteReturnsItsReasonAndPrintsNothing) {
    // Unbuffered, so the first write fails inside libpng.
    FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    std::setvbuf(full, nullptr, _IONBF, 0);
    const IndexedImage image(64, 64, 5);
    int reason = 0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteIndexedPng(full, image, std::vector<RgbColor>(8), &reason));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(reason, ENOSPC);
    std::fclose(full);
}

TEST(AnimatedGif, UnchangedPixelsOfANoisyRectangleGoTransparentAndComposeToThePicture) {
    ScratchDir dir;
    const std::string path = dir / "noise.gif";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    AnimatedGif gif;
    ASSERT_TRUE(gif.open(file, 64, 64, std::vector<RgbColor>(256)));
    IndexedImage frame(64, 64, 0);
    uint32_t state = 1;
    for (uint8_t& pixel : frame.pixels) {
        state = state * 214013u + 2531011u;
        pixel = static_cast<uint8_t>((state >> 16) % 200);
    }
    gif.picture(frame);
    gif.elapse(100);
    // Two opposite corners change: the rectangle is the whole noisy picture.
    frame.at(0, 0) = 250;
    frame.at(63, 63) = 251;
    gif.picture(frame);
    gif.elapse(100);
    ASSERT_TRUE(gif.finish());
    std::fclose(file);
    EXPECT_EQ(gif.transparentFrames(), 1u);

    int error = 0;
    GifFileType* read = DGifOpenFileName(path.c_str(), &error);
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(DGifSlurp(read), GIF_OK);
    ASSERT_EQ(read->ImageCount, 2);
    GraphicsControlBlock control;
    ASSERT_EQ(DGifSavedExtensionToGCB(read, 1, &control), GIF_OK);
    ASSERT_NE(control.TransparentColor, NO_TRANSPARENT_COLOR);
    std::vector<uint8_t> shown(read->SavedImages[0].RasterBits, read->SavedImages[0].RasterBits + 64 * 64);
    for (size_t i = 0; i < shown.size(); ++i) {
        const uint8_t pixel = read->SavedImages[1].RasterBits[i];
        if (pixel != control.TransparentColor)
            shown[i] = pixel;
    }
    EXPECT_TRUE(shown == frame.pixels);
    DGifCloseFile(read, &error);
}
