// quorbel-render as a user runs it. The expectations come from driving the
// Saver directly into an in-memory frame; ImageMagick reads the pictures.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "display/frame_target.h"
#include "display/saver.h"
#include "quorbel_version.h"
#include "resources/builtin_sheet.h"
#include "scratch_dir.h"
#include "settings/command_line_options.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ProgramRun Render(const std::vector<std::string>& args) {
    std::string command = "'" QUORBEL_RENDER "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    // The streams go to a folder of their own: dir holds only what the program writes.
    const ScratchDir streams;
    command += " >'" + streams / "out" + "' 2>'" + streams / "err" + "'";
    const int status = std::system(command.c_str());
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(streams / "out");
    run.err = ReadFile(streams / "err");
    return run;
}

bool HaveImageMagick() { return std::system("command -v convert >/dev/null 2>&1") == 0; }

// ImageMagick's reading of a picture file: 8-bit RGB, every frame of an
// animation composed onto the ones before.
std::string DecodeRgb(const std::string& path) {
    std::string rgb;
    FILE* pipe = popen(("convert '" + path + "' -coalesce -depth 8 rgb:-").c_str(), "r");
    char chunk[65536];
    size_t n;
    while (pipe && (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        rgb.append(chunk, n);
    if (pipe)
        pclose(pipe);
    return rgb;
}

std::string RgbOf(const IndexedImage& frame) {
    const std::vector<RgbColor>& palette = BuiltInSheet().palette;
    std::string rgb;
    rgb.reserve(frame.pixels.size() * 3);
    for (uint8_t index : frame.pixels) {
        rgb += static_cast<char>(palette[index].red);
        rgb += static_cast<char>(palette[index].green);
        rgb += static_cast<char>(palette[index].blue);
    }
    return rgb;
}

// The options as a front end reads them, so the test runs what the program runs.
SaverOptions OptionsFor(std::vector<const char*> args) {
    args.insert(args.begin(), "test");
    SaverOptions options;
    for (int i = 1; i < static_cast<int>(args.size());) {
        const OptionResult result = TakeSettingOption(static_cast<int>(args.size()), args.data(), i, options);
        EXPECT_EQ(result.status, OptionStatus::Consumed) << args[i];
        i += result.used > 0 ? result.used : 1;
    }
    return options;
}

std::vector<std::string> Strings(const std::vector<const char*>& args) { return {args.begin(), args.end()}; }

// The paint operations in the trace's words, written here independently.
class TranscribingTarget final : public PaintTarget {
public:
    explicit TranscribingTarget(ClientSize client) : client_(client) {}
    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override {
        text << tick << " copy " << srcX << ' ' << srcY << ' ' << dstX << ' ' << dstY << ' ' << width << ' ' << height
             << '\n';
    }
    void fillBlack(const PaintRect& r) override {
        text << tick << " erase " << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom << '\n';
    }
    void clear(ClientSize client) override {
        text << tick << " clear " << client.width << ' ' << client.height << '\n';
    }
    ClientSize clientSize() override { return client_; }
    void end(const Saver& saver) {
        text << tick << " end population=" << saver.population() << " random=" << saver.randomState()
             << " delay=" << saver.tickDelay() << '\n';
    }

    std::ostringstream text;
    unsigned tick = 0;

private:
    ClientSize client_;
};

std::string ExpectedTrace(const std::vector<const char*>& settings, uint32_t seed, ClientSize client, unsigned ticks) {
    Saver saver;
    TranscribingTarget target(client);
    saver.start(OptionsFor(settings).settings, client, seed);
    target.end(saver);
    for (target.tick = 1; target.tick <= ticks; ++target.tick) {
        saver.tick(target);
        target.end(saver);
    }
    return target.text.str();
}

// The frames of a run as the GIF should hold them: each kept tick's picture
// unless it equals the last one taken, and the milliseconds from the first
// kept tick to the end.
struct ExpectedAnimation {
    std::vector<IndexedImage> frames;
    uint64_t milliseconds = 0;
    IndexedImage last;
};

ExpectedAnimation Animate(const std::vector<const char*>& settings, uint32_t seed, ClientSize client, unsigned ticks,
                          unsigned every) {
    ExpectedAnimation expected;
    IndexedImage frame(client.width, client.height);
    FrameTarget target(frame, &BuiltInSheet().image);
    Saver saver;
    saver.start(OptionsFor(settings).settings, client, seed);
    for (unsigned tick = 1; tick <= ticks; ++tick) {
        saver.tick(target);
        if (tick % every == 0 && (expected.frames.empty() || expected.frames.back().pixels != frame.pixels))
            expected.frames.push_back(frame);
        if (!expected.frames.empty())
            expected.milliseconds += saver.tickDelay();
    }
    expected.last = frame;
    return expected;
}

std::vector<int> GifDelays(const std::string& path) {
    std::vector<int> delays;
    FILE* pipe = popen(("identify -format '%T\\n' '" + path + "'").c_str(), "r");
    int delay;
    while (pipe && std::fscanf(pipe, "%d", &delay) == 1)
        delays.push_back(delay);
    if (pipe)
        pclose(pipe);
    return delays;
}

}  // namespace

TEST(RenderProgram, TheTraceIsWhatTheSaverPaintsAndTheSameSeedGivesTheSameBytes) {
    ScratchDir dir;
    // Small cells on a tiny world with a short countdown: several renewals.
    const std::vector<const char*> settings = {"--species",   "6",      "--wriggle",     "on", "--shrink", "random",
                                               "--cell-size", "random", "--generations", "2"};
    std::vector<std::string> args = Strings(settings);
    for (const char* arg : {"--seed", "7", "--resolution", "200x130", "--ticks", "120", "--trace", "-"})
        args.push_back(arg);
    const ProgramRun first = Render(args);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const std::string expected = ExpectedTrace(settings, 7, {200, 130}, 120);
    EXPECT_EQ(first.out, expected);
    EXPECT_GE(std::count(expected.begin(), expected.end(), 'c'), 1) << "the run should paint";
    EXPECT_NE(expected.find(" clear 200 130"), std::string::npos) << "the run should renew its world";

    const ProgramRun again = Render(args);
    EXPECT_EQ(again.out, first.out);
    args[args.size() - 7] = "8";  // another seed, another run
    EXPECT_NE(Render(args).out, first.out);
}

TEST(RenderProgram, AnUnseededRunPrintsItsSeedWhichRepeatsTheRunAndDiffersFromTheNext) {
    std::vector<unsigned> seeds;
    std::vector<std::string> traces;
    // Two in quick succession: within the same second, as a script would.
    for (int run = 0; run < 2; ++run) {
        const ProgramRun unseeded = Render({"--resolution", "120x90", "--ticks", "30", "--trace", "-"});
        ASSERT_EQ(unseeded.exitCode, 0) << unseeded.err;
        unsigned seed = 0;
        ASSERT_EQ(std::sscanf(unseeded.err.c_str(), "quorbel-render: seed %u (chosen at random)\n", &seed), 1)
            << unseeded.err;
        seeds.push_back(seed);
        traces.push_back(unseeded.out);
    }
    EXPECT_NE(seeds[0], seeds[1]);
    const ProgramRun seeded =
        Render({"--resolution", "120x90", "--ticks", "30", "--trace", "-", "--seed", std::to_string(seeds[0])});
    EXPECT_EQ(seeded.out, traces[0]);
}

TEST(RenderProgram, PngAndGifDecodeToTheFramesTheSaverPaints) {
    if (!HaveImageMagick())
        GTEST_SKIP() << "ImageMagick is not installed";
    struct Case {
        std::vector<const char*> settings;
        unsigned ticks;
        unsigned every;
    };
    // Wriggling cells change every tick; still cells leave ticks that change
    // nothing, which extend the frame before.
    const Case cases[] = {
        {{"--species", "6", "--wriggle", "on", "--speed", "19", "--generations", "3"}, 40, 1},
        {{"--species", "1", "--wriggle", "off", "--speed", "12", "--generations", "1000"}, 60, 3},
    };
    const ClientSize client{150, 100};
    for (const Case& c : cases) {
        ScratchDir dir;
        std::vector<std::string> args = Strings(c.settings);
        for (const std::string& arg :
             {std::string("--seed"), std::string("3"), std::string("--resolution"), std::string("150x100"),
              std::string("--ticks"), std::to_string(c.ticks), std::string("--every"), std::to_string(c.every),
              std::string("--png"), dir / "last.png", std::string("--gif"), dir / "run.gif"})
            args.push_back(arg);
        const ProgramRun run = Render(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const ExpectedAnimation expected = Animate(c.settings, 3, client, c.ticks, c.every);
        const std::string what = std::string(c.settings[3]) + " every " + std::to_string(c.every);

        EXPECT_TRUE(DecodeRgb(dir / "last.png") == RgbOf(expected.last)) << what;
        FILE* pipe = popen(
            ("identify -format '%[png:IHDR.color-type-orig] %[png:IHDR.bit-depth-orig]' '" + dir / "last.png" + "'")
                .c_str(),
            "r");
        char kind[32] = {};
        ASSERT_NE(pipe, nullptr);
        ASSERT_NE(std::fgets(kind, sizeof kind, pipe), nullptr);
        pclose(pipe);
        EXPECT_STREQ(kind, "3 8") << "an indexed 8-bit PNG";

        const std::string frames = DecodeRgb(dir / "run.gif");
        const size_t frameBytes = static_cast<size_t>(client.width) * client.height * 3;
        ASSERT_EQ(frames.size(), expected.frames.size() * frameBytes) << what;
        for (size_t i = 0; i < expected.frames.size(); ++i)
            EXPECT_TRUE(frames.compare(i * frameBytes, frameBytes, RgbOf(expected.frames[i])) == 0)
                << what << ": frame " << i;
        if (c.every == 3) {
            EXPECT_LT(expected.frames.size(), c.ticks / c.every) << "this run should have still ticks";
        }

        const std::vector<int> delays = GifDelays(dir / "run.gif");
        ASSERT_EQ(delays.size(), expected.frames.size()) << what;
        int total = 0;
        for (int delay : delays) {
            EXPECT_GE(delay, 2) << what;
            total += delay;
        }
        EXPECT_EQ(static_cast<uint64_t>(total), (expected.milliseconds + 5) / 10) << what;
        EXPECT_EQ(dir.files(), (std::vector<std::string>{"last.png", "run.gif"})) << "no temporaries left";
    }
}

TEST(RenderProgram, BadInputExitsWithTwoAndOneLineAndLeavesNoFile) {
    ScratchDir dir;
    const std::string png = dir / "out.png";
    const std::string gif = dir / "out.gif";
    const ScratchDir links;
    ASSERT_EQ(symlink(gif.c_str(), (links / "to-gif").c_str()), 0);
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--png", png, "--fast"}, "unknown option \"--fast\", see --help"},
        {{"--gif", gif, "--wrap", "sometimes"}, "--wrap takes off, on or random, not \"sometimes\""},
        {{"--png", png, "--speed", "20"}, "--speed takes 0..19 or random, not \"20\""},
        {{"--png", png, "--generations", "4294967296"}, "--generations takes 0..4294967295, not \"4294967296\""},
        {{"--gif", gif, "--resolution", "640by480"},
         "--resolution takes WIDTHxHEIGHT, each 1..16384, not \"640by480\""},
        {{"--seed", "1", "--ticks", "5"}, "no output asked for: give --png FILE, --gif FILE or --trace FILE|-"},
        {{"--png", png, "--gif", dir / "none/out.gif"},
         "--gif: cannot write \"" + dir / "none/out.gif" + "\": No such file or directory"},
        {{"--gif", gif, "--trace", dir.path}, "--trace: cannot write \"" + dir.path + "\": Is a directory"},
        {{"--png", png, "--gif", png}, "--png names the same file as --gif: \"" + png + "\""},
        {{"--png", dir.path + "/./out.png", "--trace", png},
         "--png names the same file as --trace: \"" + dir.path + "/./out.png\""},
        {{"--gif", links / "to-gif", "--png", gif}, "--png names the same file as --gif: \"" + gif + "\""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--ticks=3");
        const ProgramRun run = Render(args);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_EQ(run.err, "quorbel-render: " + c.message + "\n");
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(dir.files().empty()) << c.message;
    }
}

TEST(RenderProgram, AWriteFailureGivesItsReasonOnOneLine) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    // /dev/full fails every write; /proc/version is a file no one can write.
    const std::string full = "cannot write \"/dev/full\": No space left on device";
    const Case cases[] = {
        {{"--png", "/dev/full"}, "--png: " + full},
        {{"--gif", "/dev/full"}, "--gif: " + full},
        {{"--trace", "/dev/full"}, "--trace: " + full},
        {{"--png", "/proc/version"}, "--png: cannot write \"/proc/version\": "},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--resolution", "640x480", "--ticks", "3", "--seed", "1"});
        const ProgramRun run = Render(args);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_EQ(run.err.rfind("quorbel-render: " + c.message, 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.find("No such file"), std::string::npos) << run.err;
        EXPECT_NE(run.err.back(), ' ') << "a reason follows: " << run.err;
    }
}

TEST(RenderProgram, ASymbolicLinkIsWrittenThroughToItsTarget) {
    ScratchDir dir;
    ASSERT_EQ(symlink("target.png", (dir / "link.png").c_str()), 0);
    const ProgramRun run = Render({"--png", dir / "link.png", "--resolution", "40x30", "--ticks", "1", "--seed", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"link.png", "target.png"}));
    char target[64] = {};
    EXPECT_GT(readlink((dir / "link.png").c_str(), target, sizeof target - 1), 0) << "still a link";
    EXPECT_EQ(ReadFile(dir / "target.png").substr(1, 3), "PNG");
}

TEST(RenderProgram, NoSignalThatEndsItLeavesATemporaryBehind) {
    for (const int signal : {SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE, SIGVTALRM, SIGRTMIN + 3}) {
        ScratchDir dir;
        const std::string png = dir / "out.png";
        const std::string gif = dir / "out.gif";
        const pid_t child = fork();
        if (child == 0) {
            // Silent, and the signals as a shell leaves them: default.
            freopen("/dev/null", "w", stderr);
            execl(QUORBEL_RENDER, QUORBEL_RENDER, "--quiet", "--ticks", "100000000", "--png", png.c_str(), "--gif",
                  gif.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(child, 0);
        // Once both temporaries exist the run is under way.
        for (int waited = 0; dir.files().size() < 2 && waited < 2000; ++waited)
            usleep(10000);
        EXPECT_EQ(dir.files().size(), 2u) << "the temporaries should appear";
        kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "ended by signal " << signal;
        EXPECT_TRUE(dir.files().empty()) << "after signal " << signal;
    }
}

TEST(RenderProgram, AScaledRunIsTheLogicalRunEnlargedWithBlackStripsAndTracedInLogicalPixels) {
    if (!HaveImageMagick())
        GTEST_SKIP() << "ImageMagick is not installed";
    struct Case {
        int width, height, scale;
    };
    for (const Case c : {Case{160, 100, 2}, Case{242, 151, 3}}) {
        ScratchDir dir;
        const std::string logical = std::to_string(c.width / c.scale) + "x" + std::to_string(c.height / c.scale);
        const std::string device = std::to_string(c.width) + "x" + std::to_string(c.height);
        const std::vector<std::string> run = {"--seed",    "4",  "--cell-size", "small",
                                              "--wriggle", "on", "--ticks",     "25"};
        std::vector<std::string> scaled = run;
        scaled.insert(scaled.end(), {"--resolution", device, "--scale", std::to_string(c.scale), "--png",
                                     dir / "scaled.png", "--trace", "-"});
        std::vector<std::string> plain = run;
        plain.insert(plain.end(), {"--resolution", logical, "--png", dir / "plain.png", "--trace", "-"});
        const ProgramRun scaledRun = Render(scaled);
        const ProgramRun plainRun = Render(plain);
        ASSERT_EQ(scaledRun.exitCode, 0) << scaledRun.err;
        ASSERT_EQ(plainRun.exitCode, 0) << plainRun.err;
        EXPECT_EQ(scaledRun.out, plainRun.out) << "the trace stays in logical pixels";
        // Nearest neighbour, then the strips the division leaves, black.
        const std::string enlarge = "convert '" + dir / "plain.png" + "' -sample " + std::to_string(100 * c.scale) +
                                    "% -background black -extent " + device + " '" + dir / "expected.png" + "'";
        ASSERT_EQ(std::system(enlarge.c_str()), 0);
        EXPECT_TRUE(DecodeRgb(dir / "scaled.png") == DecodeRgb(dir / "expected.png")) << device;
        EXPECT_EQ(DecodeRgb(dir / "scaled.png").size(), static_cast<size_t>(c.width) * c.height * 3);
    }
}

TEST(RenderProgram, HelpAndVersionAnswerOnStandardOutput) {
    const ProgramRun version = Render({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "quorbel-render " QUORBEL_VERSION_TEXT "\n");
    const ProgramRun help = Render({"-h"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: quorbel-render", 0), 0u) << help.out;
    EXPECT_EQ(help.err + version.err, "");
}
