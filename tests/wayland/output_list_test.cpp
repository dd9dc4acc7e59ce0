// Outputs plugged and unplugged in-process: an output that goes takes its
// surface and world with it and hands back its Wayland object; the others,
// and a scale that arrives before the surface, are kept.
#include "wayland/output_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FakeOutput {};

std::vector<std::string> events;

struct FakeSurface {
    explicit FakeSurface(std::string n) : name(std::move(n)) {}
    ~FakeSurface() { events.push_back(name + " ended"); }
    void setScale(int scale) { events.push_back(name + " scale " + std::to_string(scale)); }
    std::string name;
};

using Outputs = OutputList<FakeOutput, FakeSurface>;

TEST(OutputList, AnOutputThatGoesTakesItsSurfaceAndLeavesTheOthers) {
    events.clear();
    FakeOutput first, second, third;
    Outputs outputs;
    Outputs::Entry& one = outputs.add(40, &first);
    Outputs::Entry& two = outputs.add(41, &second);
    two.pendingScale = 2;
    Outputs::done(two);  // before it has a surface
    one.surface = std::make_unique<FakeSurface>("first");
    two.surface = std::make_unique<FakeSurface>("second");
    EXPECT_EQ(2, outputs.scaleOf(&second));
    EXPECT_EQ(1, outputs.scaleOf(&third)) << "an output not listed";

    EXPECT_EQ(nullptr, outputs.remove(7)) << "a name that is no output's (a seat's)";
    EXPECT_EQ(&first, outputs.remove(40));
    EXPECT_EQ(std::vector<std::string>{"first ended"}, events);
    ASSERT_EQ(1u, outputs.surfaces().size());
    EXPECT_EQ("second", outputs.surfaces()[0]->name);

    // One plugged in afterwards, and a scale change on the one left.
    Outputs::Entry& three = outputs.add(42, &third);
    three.surface = std::make_unique<FakeSurface>("third");
    outputs.entries()[0]->pendingScale = 3;
    Outputs::done(*outputs.entries()[0]);
    EXPECT_EQ(2u, outputs.surfaces().size());
    EXPECT_EQ(&second, outputs.remove(41));
    EXPECT_EQ((std::vector<std::string>{"first ended", "second scale 3", "second ended"}), events);
    EXPECT_EQ(1u, outputs.entries().size());
}

}  // namespace
