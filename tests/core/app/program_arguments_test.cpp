#include "core/app/program_arguments.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

TEST(ProgramArgumentsTest, OnlyHelpAndVersionAreAnswered) {
    EXPECT_EQ(ReadProgramArguments({}).action, TStartAction::Run);
    EXPECT_EQ(ReadProgramArguments({"--help"}).action, TStartAction::ShowHelp);
    EXPECT_EQ(ReadProgramArguments({"-h"}).action, TStartAction::ShowHelp);
    EXPECT_EQ(ReadProgramArguments({"--version", "--bogus"}).action, TStartAction::ShowVersion);

    for (const std::vector<std::string_view>& bad :
         {std::vector<std::string_view>{"--bogus", "--help"}, {"-v"}, {"archive"}, {""}}) {
        const StartRequest request = ReadProgramArguments(bad);
        EXPECT_EQ(request.action, TStartAction::Refuse) << bad[0];
        EXPECT_NE(request.error.find(bad[0]), std::string::npos) << request.error;
    }
}

} // namespace
} // namespace varnot
