// `quorvex shapes`: bit-exact read-back, refused ids, and a failed write reported as a failure.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "CShapeUn.h"
#include "commands.h"

namespace quorvex {
namespace {

struct Result {
    int status;
    std::string out, err;
};

Result RunShapesWith(std::vector<std::string> args) {
    args.insert(args.begin(), "shapes");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = cli::RunShapes(static_cast<int>(args.size()), argv.data());
    std::string out = testing::internal::GetCapturedStdout();  // stdout first: evaluation order
    return {status, out, testing::internal::GetCapturedStderr()};
}

// Every line must name the next point and read back as its very bits.
void ExpectListing(const std::string& out, ShapeId firstId, int shapes) {
    std::istringstream lines(out);
    std::string line;
    int count = 0;
    PointCloud cloud{};
    while (std::getline(lines, line)) {
        if (count % 240 == 0) BuildShape(firstId + count / 240, cloud);
        int id = -1, index = -1;
        float v[3];
        ASSERT_EQ(std::sscanf(line.c_str(), "%d %d %g %g %g", &id, &index, &v[0], &v[1], &v[2]), 5) << line;
        ASSERT_EQ(id, firstId + count / 240) << line;
        ASSERT_EQ(index, count % 240) << line;
        ASSERT_EQ(std::memcmp(v, &cloud[index], sizeof v), 0) << line;
        ++count;
    }
    EXPECT_EQ(count, shapes * 240);
}

TEST(ShapesCommand, ListsOneOrAllShapesBitExactly) {
    const Result one = RunShapesWith({"7"});
    EXPECT_TRUE(one.status == 0 && one.err.empty());
    ExpectListing(one.out, 7, 1);
    EXPECT_NE(one.out.find("\n7 5 -6.99382241e-08 -1 -0.5\n"), std::string::npos);
    const Result all = RunShapesWith({});
    EXPECT_EQ(all.status, 0);
    ExpectListing(all.out, 0, 21);
}

TEST(ShapesCommand, RejectsAnythingButAWholeNumberUpTo20) {
    for (const char* bad : {"21", "-1", "3x", "", " 3", "3 ", "1.0", "+3", "99999999999", "0x1", "--frobnicate"}) {
        const Result r = RunShapesWith({bad});
        EXPECT_TRUE(r.status == 2 && r.out.empty()) << "'" << bad << "'";
        EXPECT_TRUE(!r.err.empty() && r.err.find('\n') == r.err.size() - 1)
            << "one line for '" << bad << "': " << r.err;
    }
    EXPECT_EQ(RunShapesWith({"1", "2"}).status, 2);
    const Result help = RunShapesWith({"--help"});
    EXPECT_TRUE(help.status == 0 && help.out.find("Usage: quorvex shapes [ID]") != std::string::npos);
}

[[noreturn]] void ListIntoFullDevice() {
    if (std::freopen("/dev/full", "w", stdout) == nullptr) std::_Exit(3);
    char name[] = "shapes";
    char* argv[] = {name, nullptr};
    std::_Exit(cli::RunShapes(1, argv));
}

TEST(ShapesCommandDeathTest, AFailedWriteIsNotSuccess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ListIntoFullDevice(), testing::ExitedWithCode(1), "could not write");
}

}  // namespace
}  // namespace quorvex
