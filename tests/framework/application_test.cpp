#include "framework/application.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>

namespace fw {
namespace {

bool IsSQLDateTime(const std::string& text) {
    static const QRegularExpression form(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    return form.match(QString::fromStdString(text)).hasMatch();
}

TEST(ApplicationFacts, DatesAreSQLDateTimeText) {
    EXPECT_TRUE(IsSQLDateTime(BuildDate())) << BuildDate();
    EXPECT_TRUE(IsSQLDateTime(NowSQLDateTime())) << NowSQLDateTime();
}

TEST(ApplicationFacts, LongVersionOverrideIsRestoredByEmptyText) {
    const std::string builtIn = LongVersion();
    EXPECT_FALSE(builtIn.empty());
    SetLongVersion("Quorvane 9.9 Deutsch");
    EXPECT_EQ(LongVersion(), "Quorvane 9.9 Deutsch");
    SetLongVersion("");
    EXPECT_EQ(LongVersion(), builtIn);
}

}  // namespace
}  // namespace fw
