// The fatal error box and the processor probe, with sysctl outputs fed through the shell backend.
#include <map>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/localization.h"
#include "framework/shell.h"
#include "test_ui.h"
#include "worddata/PMDebug.h"

namespace {

using ::testing::ElementsAre;

TEST(PMDebugError, ShowsTitleTwoLineEndsAndMessageThenQuitsWithZero) {
    fw::SetLocalizationLanguage("en");
    const ScopedRecordingUI ui;

    PMDebug::Error("Can't create the database file!");

    EXPECT_THAT(ui->messages, ElementsAre("Program Error!\n\nCan't create the database file!"));
    EXPECT_THAT(ui->quitCodes, ElementsAre(0));
}

// Answers each sysctl command from a table and records the commands in the order they ran;
// a command missing from the table fails the way sysctl does for an unknown key.
class SysctlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fw::SetShellBackend([this](const std::string& command) {
            commands.push_back(command);
            const auto answer = answers.find(command);
            if (answer == answers.end()) {
                return fw::ShellOutcome{255, "sysctl: unknown oid '" + command.substr(7) + "'\n"};
            }
            return answer->second;
        });
    }
    void TearDown() override { fw::SetShellBackend({}); }

    void Answer(const std::string& key, const std::string& output, int errorCode = 0) {
        answers["sysctl " + key] = fw::ShellOutcome{errorCode, output};
    }
    int32_t ClassFor(const std::string& type, const std::string& subtype) {
        Answer("hw.cputype", "hw.cputype: " + type);
        Answer("hw.cpusubtype", "hw.cpusubtype: " + subtype);
        return PMDebug::GetMacCPUType();
    }

    std::map<std::string, fw::ShellOutcome> answers;
    std::vector<std::string> commands;
};

TEST_F(SysctlTest, KnownProcessorPairsGiveTheirClass) {
    EXPECT_EQ(ClassFor("18\n", "9\n"), 3);
    EXPECT_EQ(ClassFor("18\n", "10\n"), 4);
    EXPECT_EQ(ClassFor("18\n", "11\n"), 4);
    EXPECT_EQ(ClassFor("18\n", "100\n"), 5);
    EXPECT_EQ(ClassFor("7\n", "4\n"), 6);
}

TEST_F(SysctlTest, UnlistedPairsGiveOtherProcessor) {
    EXPECT_EQ(ClassFor("18\n", "12\n"), 2);
    EXPECT_EQ(ClassFor("7\n", "8\n"), 2);
    EXPECT_EQ(ClassFor("16777223\n", "3\n"), 2);
}

TEST_F(SysctlTest, TypeThenSubtypeAreQueriedOnce) {
    ClassFor("18\n", "100\n");

    EXPECT_THAT(commands, ElementsAre("sysctl hw.cputype", "sysctl hw.cpusubtype"));
}

TEST_F(SysctlTest, OutputWithoutFinalLineEndLosesItsLastDigit) {
    EXPECT_EQ(ClassFor("18\n", "100"), 4);  // read as subtype 10
    EXPECT_EQ(ClassFor("18", "9\n"), 2);    // read as type 1
}

TEST_F(SysctlTest, UnexpectedTypeOutputFailsWithoutQueryingSubtype) {
    Answer("hw.cputype", "cputype = 18\n");
    Answer("hw.cpusubtype", "hw.cpusubtype: 100\n");

    EXPECT_EQ(PMDebug::GetMacCPUType(), 1);
    EXPECT_THAT(commands, ElementsAre("sysctl hw.cputype"));
}

TEST_F(SysctlTest, FailedQueriesGiveProbeFailed) {
    Answer("hw.cputype", "hw.cputype: 18\n", 1);
    EXPECT_EQ(PMDebug::GetMacCPUType(), 1);

    Answer("hw.cputype", "hw.cputype: 18\n");
    Answer("hw.cpusubtype", "hw.cpusubtype: 100\n", 1);
    EXPECT_EQ(PMDebug::GetMacCPUType(), 1);

    Answer("hw.cpusubtype", "error: hw.cpusubtype: 100\n");
    EXPECT_EQ(PMDebug::GetMacCPUType(), 1);

    answers.clear();
    EXPECT_EQ(PMDebug::GetMacCPUType(), 1);
}

TEST_F(SysctlTest, FrequencyInHertzGivesMegahertz) {
    Answer("hw.cpufrequency", "hw.cpufrequency: 1250000000\n");
    EXPECT_EQ(PMDebug::GetMacCPUSpeed(), 1250);

    // The line end stays in the number text and is ignored.
    Answer("hw.cpufrequency", "hw.cpufrequency: 867000000");
    EXPECT_EQ(PMDebug::GetMacCPUSpeed(), 867);
    EXPECT_THAT(commands, ElementsAre("sysctl hw.cpufrequency", "sysctl hw.cpufrequency"));
}

TEST_F(SysctlTest, MissingOrOddFrequencyGivesMinusOne) {
    EXPECT_EQ(PMDebug::GetMacCPUSpeed(), -1);

    Answer("hw.cpufrequency", "hw.cpufrequency: 1250000000\n", 1);
    EXPECT_EQ(PMDebug::GetMacCPUSpeed(), -1);

    Answer("hw.cpufrequency", "frequency: 1250000000\n");
    EXPECT_EQ(PMDebug::GetMacCPUSpeed(), -1);
}

// A frequency whose megahertz do not fit 32 bits can't be converted; it counts as not available.
TEST_F(SysctlTest, FrequencyBeyondThirtyTwoBitsGivesMinusOne) {
    Answer("hw.cpufrequency", "hw.cpufrequency: 1e300\n");
    EXPECT_EQ(PMDebug::GetMacCPUSpeed(), -1);

    Answer("hw.cpufrequency", "hw.cpufrequency: 2147483648000000\n");
    EXPECT_EQ(PMDebug::GetMacCPUSpeed(), -1);

    Answer("hw.cpufrequency", "hw.cpufrequency: 2147483647000000\n");
    EXPECT_EQ(PMDebug::GetMacCPUSpeed(), 2147483647);
}

// On Linux the real sysctl has no hw.* keys (or is not installed): both probes report failure.
TEST(SysctlOnThisSystem, RealCommandsGiveProbeFailedAndNoFrequency) {
    fw::SetShellBackend({});

    EXPECT_EQ(PMDebug::GetMacCPUType(), 1);
    EXPECT_EQ(PMDebug::GetMacCPUSpeed(), -1);
}

}  // namespace
