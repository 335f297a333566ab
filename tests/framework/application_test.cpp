#include "framework/application.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>

namespace fw {
namespace {

// The preferences store these dates as SQL date-time text.
TEST(ApplicationFacts, DatesAreSQLDateTimeText) {
    const QRegularExpression form(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    for (const std::string& date : {BuildDate(), NowSQLDateTime()}) {
        EXPECT_TRUE(form.match(QString::fromStdString(date)).hasMatch()) << date;
    }
}

}  // namespace
}  // namespace fw
