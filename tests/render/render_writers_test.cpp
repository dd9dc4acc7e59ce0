// The renderer's writers on their own: the trace's lines, the GIF's delays
// and frame rectangles (read back with giflib's decoder), and output files
// that appear only when complete.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "display/frame_target.h"
#include "render/animated_gif.h"
#include "render/output_file.h"
#include "render/trace_target.h"

namespace {

std::string ReadAll(FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, n);
    return text;
}

bool Exists(const std::string& path) {
    struct stat s;
    return stat(path.c_str(), &s) == 0;
}

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    FILE* list = popen(("ls -A '" + dir + "'").c_str(), "r");
    char line[512];
    while (list && std::fgets(line, sizeof line, list))
        names.emplace_back(line, std::strcspn(line, "\n"));
    if (list)
        pclose(list);
    return names;
}

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = testing::TempDir() + "render_XXXXXX";
        path = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~ScratchDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string path;
};

}  // namespace

TEST(TraceTarget, WritesEachOperationAndPassesItOn) {
    FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    IndexedImage sheet(8, 8, 7);
    IndexedImage frame(6, 4, 1);
    FrameTarget drawn(frame, &sheet);
    TraceTarget trace(out, &drawn, {99, 99});
    EXPECT_EQ(trace.clientSize().width, 6);  // the drawing target's size wins

    trace.endTick(12, 4294967295u, 28);
    trace.startTick(1);
    trace.copy(540, 1850, -2, 3, 4, 5);
    trace.fillBlack({0, 0, 2, 1});
    trace.clear({6, 4});
    trace.endTick(0, 0, 2000);
    ASSERT_TRUE(trace.flush());
    EXPECT_EQ(ReadAll(out),
              "0 end population=12 random=4294967295 delay=28\n"
              "1 copy 540 1850 -2 3 4 5\n"
              "1 erase 0 0 2 1\n"
              "1 clear 6 4\n"
              "1 end population=0 random=0 delay=2000\n");
    EXPECT_EQ(frame.pixels, std::vector<uint8_t>(24, 0));  // the clear reached the frame
    std::fclose(out);

    // Without a drawing target the given size is the client size.
    TraceTarget alone(nullptr, nullptr, {30, 20});
    EXPECT_EQ(alone.clientSize().height, 20);
}

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
    const std::string path = dir.path + "/run.gif";
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
    const std::string path = dir.path + "/out.txt";
    {
        OutputFile file;
        ASSERT_TRUE(file.open(path)) << file.error();
        std::fputs("partial", file.stream());
        EXPECT_FALSE(Exists(path));
        EXPECT_EQ(FilesIn(dir.path).size(), 1u);  // the temporary
    }
    EXPECT_TRUE(FilesIn(dir.path).empty()) << "not committed: nothing left";

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
    EXPECT_EQ(FilesIn(dir.path), std::vector<std::string>{"out.txt"});
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
