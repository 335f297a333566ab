#include "framework/application.h"

#include <QCoreApplication>
#include <QDateTime>

namespace fw {
namespace {

// Written only by tests, before the code under test reads it.
std::string& LongVersionOverride() {
    static std::string text;
    return text;
}

}  // namespace

std::string LongVersion() {
    const std::string& text = LongVersionOverride();
    return text.empty() ? std::string(QUORVANE_LONG_VERSION) : text;
}

void SetLongVersion(const std::string& text) {
    LongVersionOverride() = text;
}

void SetApplicationName(const std::string& name) {
    QCoreApplication::setApplicationName(QString::fromStdString(name));
}

std::string BuildDate() {
    return QUORVANE_BUILD_DATE;
}

std::string NowSQLDateTime() {
    return QDateTime::currentDateTime()
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        .toStdString();
}

}  // namespace fw
