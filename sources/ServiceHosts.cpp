#include "sources/ServiceHosts.h"

namespace ServiceHosts {

namespace {

Hosts& Current() {
    static Hosts hosts;
    return hosts;
}

}  // namespace

const Hosts& Get() {
    return Current();
}

void Set(const Hosts& hosts) {
    Current() = hosts;
}

void PointAllAt(const std::string& hostAndPort) {
    Current().wortschatz = hostAndPort;
    Current().wordNet = hostAndPort;
}

}  // namespace ServiceHosts
