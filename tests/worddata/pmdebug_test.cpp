#include <map>

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

fw::ShellOutcome Output(const std::string& text, int errorCode = 0) {
    return {errorCode, text};
}

// Answers each sysctl command from a table and records the commands in the order they ran;
// a command missing from the table fails the way sysctl does for an unknown key.
class SysctlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fw::SetShellBackend([this](const std::string& command) {
            commands.push_back(command);
            const auto answer = answers.find(command);
            return answer != answers.end() ? answer->second : Output("sysctl: unknown oid\n", 255);
        });
    }
    void TearDown() override { fw::SetShellBackend({}); }

    std::map<std::string, fw::ShellOutcome> answers;
    std::vector<std::string> commands;
};

TEST_F(SysctlTest, ProcessorClassComesFromTypeThenSubtype) {
    struct Probe {
        fw::ShellOutcome type;
        fw::ShellOutcome subtype;
        int32_t processorClass;
        size_t queries;  // the subtype is asked for only after a readable type
    };
    // The classes of the listed pairs are proven with the window step that follows from them.
    const Probe probes[] = {
        {Output("hw.cputype: 18\n"), Output("hw.cpusubtype: 11\n"), 4, 2},
        // The last character is taken for the line end, even when there is none: 100 reads as 10.
        {Output("hw.cputype: 18\n"), Output("hw.cpusubtype: 100"), 4, 2},
        // Failed or unexpected answers: the probe failed.
        {Output("cputype = 18\n"), Output("hw.cpusubtype: 100\n"), 1, 1},
        {Output("hw.cputype: 18\n"), Output("hw.cpusubtype: 100\n", 1), 1, 2},
    };
    const std::vector<std::string> kBoth = {"sysctl hw.cputype", "sysctl hw.cpusubtype"};
    for (const Probe& probe : probes) {
        SCOPED_TRACE(probe.type.output + " / " + probe.subtype.output);
        answers = {{"sysctl hw.cputype", probe.type}, {"sysctl hw.cpusubtype", probe.subtype}};
        commands.clear();
        EXPECT_EQ(PMDebug::GetMacCPUType(), probe.processorClass);
        EXPECT_EQ(commands, std::vector<std::string>(kBoth.begin(), kBoth.begin() + probe.queries));
    }
}

TEST_F(SysctlTest, FrequencyInHertzGivesMegahertzOrMinusOne) {
    const std::pair<fw::ShellOutcome, int32_t> probes[] = {
        {Output("hw.cpufrequency: 1250000000\n"), 1250},
        // The line end stays in the number text and is ignored.
        {Output("hw.cpufrequency: 867000000"), 867},
        {Output("hw.cpufrequency: 1250000000\n", 1), -1},
        {Output("frequency: 1250000000\n"), -1},
        // Megahertz that do not fit 32 bits can't be converted: not available.
        {Output("hw.cpufrequency: 2147483648000000\n"), -1},
        {Output("hw.cpufrequency: 2147483647000000\n"), 2147483647},
    };
    for (const auto& [answer, megahertz] : probes) {
        SCOPED_TRACE(answer.output);
        answers = {{"sysctl hw.cpufrequency", answer}};
        commands.clear();
        EXPECT_EQ(PMDebug::GetMacCPUSpeed(), megahertz);
        EXPECT_THAT(commands, ElementsAre("sysctl hw.cpufrequency"));
    }
}

}  // namespace
