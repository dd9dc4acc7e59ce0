#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/render_options.h"

namespace {

ParsedRenderOptions Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quorbel-render");
    return ParseRenderOptions(static_cast<int>(args.size()), args.data());
}

}  // namespace

TEST(RenderOptions, DefaultsAndOneOutput) {
    const ParsedRenderOptions parsed = Parse({"--trace", "-"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const RenderOptions& o = *parsed.options;
    EXPECT_EQ(o.resolution.width, 1024);
    EXPECT_EQ(o.resolution.height, 768);
    EXPECT_EQ(o.ticks, 300u);
    EXPECT_EQ(o.every, 1u);
    EXPECT_FALSE(o.quiet);
    EXPECT_EQ(o.trace, "-");
    EXPECT_EQ(o.png, "");
    EXPECT_EQ(o.gif, "");
    EXPECT_FALSE(o.saver.seed.has_value());
}

TEST(RenderOptions, OwnOptionsAndSettingsMixInAnySpelling) {
    const ParsedRenderOptions parsed =
        Parse({"-resolution=640X360", "--ticks", "0", "--species", "6", "--every=4", "-gif", "a.gif", "--png=b.png",
               "--quiet", "--seed", "42", "--speed=random"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const RenderOptions& o = *parsed.options;
    EXPECT_EQ(o.resolution.width, 640);
    EXPECT_EQ(o.resolution.height, 360);
    EXPECT_EQ(o.ticks, 0u);
    EXPECT_EQ(o.every, 4u);
    EXPECT_EQ(o.gif, "a.gif");
    EXPECT_EQ(o.png, "b.png");
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.saver.seed, 42u);
    EXPECT_EQ(o.saver.settings.Colors, SpeciesMode::Six);
    EXPECT_EQ(o.saver.settings.FixedSpeed, SpeedMode::Random);
}

TEST(RenderOptions, HelpNeedsNoOutput) {
    for (const auto& [args, request] : {std::pair{std::vector<const char*>{"--help"}, ProgramRequest::Help},
                                        {{"-h", "--speed", "3"}, ProgramRequest::Help},
                                        {{"--version", "-h"}, ProgramRequest::Version}}) {
        const ParsedRenderOptions parsed = Parse(args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_EQ(parsed.options->request, request) << args[0];
    }
    const std::string usage = RenderUsage();
    for (const char* option : {"--png", "--gif", "--every", "--trace", "--resolution", "--scale", "--ticks", "--quiet",
                               "--cell-size", "--seed", "--help", "--version"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    const size_t gif = usage.find("  --gif FILE");
    EXPECT_NE(usage.substr(gif, usage.find('\n', gif) - gif).find("--speed"), std::string::npos)
        << "the GIF's line says its timing follows --speed";
}

TEST(RenderOptions, BadInputIsOneLineNamingTheOption) {
    struct Case {
        std::vector<const char*> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--png", "x.png", "frames"}, "unexpected argument \"frames\": options start with --, see --help"},
        {{"--png", "x.png", "--resolution", "640"}, "--resolution takes WIDTHxHEIGHT, each 1..16384, not \"640\""},
        {{"--png", "x.png", "--resolution", "0x480"}, "--resolution takes WIDTHxHEIGHT, each 1..16384, not \"0x480\""},
        {{"--png", "x.png", "--resolution", "16385x2"},
         "--resolution takes WIDTHxHEIGHT, each 1..16384, not \"16385x2\""},
        {{"--png", "x.png", "--resolution", "64x48x2"},
         "--resolution takes WIDTHxHEIGHT, each 1..16384, not \"64x48x2\""},
        {{"--png", "x.png", "--ticks", "-1"}, "--ticks takes 0..4294967295, not \"-1\""},
        {{"--png", "x.png", "--every", "0"}, "--every takes 1..4294967295, not \"0\""},
        {{"--png", "x.png", "--ticks"}, "--ticks needs a value: a count"},
        {{"--trace"}, "--trace needs a value: a file name or -"},
        {{"--gif="}, "--gif takes a file name, not \"\""},
        {{"--png", "x.png", "--quiet=yes"}, "--quiet takes no value"},
        {{"--png", "x.png", "--scale", "5"}, "--scale takes 1..4, not \"5\""},
        {{"--png", "x.png", "--scale", "3", "--resolution", "2x100"},
         "--scale 3 leaves no picture in --resolution 2x100"},
    };
    for (const Case& c : cases) {
        const ParsedRenderOptions parsed = Parse(c.args);
        EXPECT_FALSE(parsed.options.has_value()) << c.message;
        EXPECT_EQ(parsed.error, c.message);
    }
}
