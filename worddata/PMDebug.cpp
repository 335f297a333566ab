#include "worddata/PMDebug.h"

#include <cmath>
#include <limits>

#include "framework/shell.h"
#include "framework/text.h"
#include "framework/ui.h"
#include "worddata/TT.h"

namespace PMDebug {

namespace {

// Runs "sysctl <key>" and gives the value text: what follows the first blank, without the last
// character of the output (sysctl ends its output with a line end). False when the command fails
// or its output does not begin with "<key>: ".
bool ReadSysctlWithoutLastCharacter(fw::Shell& shell, const std::string& key, std::string& value) {
    shell.Execute("sysctl " + key);
    if (shell.ErrorCode() != 0) {
        return false;
    }
    const std::string& output = shell.Result();
    if (fw::InStr(output, key + ": ") != 1) {
        return false;
    }
    const int64_t blank = fw::InStr(output, " ");
    value = fw::Mid(output, blank + 1, fw::Len(output) - blank - 1);
    return true;
}

int32_t ClassOf(double type, double subtype) {
    if (type == 18 && subtype == 9) {
        return 3;
    }
    if (type == 18 && (subtype == 10 || subtype == 11)) {
        return 4;
    }
    if (type == 18 && subtype == 100) {
        return 5;
    }
    if (type == 7 && subtype == 4) {
        return 6;
    }
    return 2;
}

// A quotient outside the 32-bit range is no frequency a processor reports; converting it would be
// undefined, so it counts as not available.
int32_t MegahertzOrUnavailable(double megahertz) {
    if (!std::isfinite(megahertz) || megahertz >= 2147483648.0 || megahertz <= -2147483649.0) {
        return -1;
    }
    return static_cast<int32_t>(megahertz);
}

}  // namespace

void Error(const std::string& message) {
    fw::MsgBox(TT::ERR_Title() + fw::EndOfLine() + fw::EndOfLine() + message);
    fw::Quit(0);
}

int32_t GetMacCPUType() {
    int32_t result = 1;
    fw::Shell shell;
    shell.Mode = 0;
    std::string type;
    std::string subtype;
    if (ReadSysctlWithoutLastCharacter(shell, "hw.cputype", type) &&
        ReadSysctlWithoutLastCharacter(shell, "hw.cpusubtype", subtype)) {
        result = ClassOf(fw::Val(type), fw::Val(subtype));
    }
    shell.Close();
    return result;
}

int32_t GetMacCPUSpeed() {
    int32_t result = -1;
    fw::Shell shell;
    shell.Mode = 0;
    shell.Execute("sysctl hw.cpufrequency");
    const std::string& output = shell.Result();
    if (shell.ErrorCode() == 0 && fw::InStr(output, "hw.cpufrequency: ") == 1) {
        const int64_t blank = fw::InStr(output, " ");
        result =
            MegahertzOrUnavailable(fw::Val(fw::Right(output, fw::Len(output) - blank)) / 1000000);
    }
    shell.Close();
    return result;
}

}  // namespace PMDebug
