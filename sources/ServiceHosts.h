// Where the online word sources live: the German word service (its SOAP services under
// /axis/services/, its ping probe and its portal page share one host), the namespace of its data
// types, and the English lexical database. Hosts are "name" or "name:port". The defaults are the
// services' public hosts; tests and the headless driver point them elsewhere (127.0.0.1), nothing
// else changes them. Main OS thread.
#pragma once

#include <string>

namespace ServiceHosts {

struct Hosts {
    std::string wortschatz = "wortschatz.uni-leipzig.de";
    std::string wortschatzNamespace = "http://datatypes.webservice.wortschatz.uni_leipzig.de";
    std::string wordNet = "wordnetweb.princeton.edu";
};

const Hosts& Get();
// Replaces the hosts; Set(Hosts{}) restores the defaults.
void Set(const Hosts& hosts);
// Points every online host at one address ("127.0.0.1:8080"); the namespace stays.
void PointAllAt(const std::string& hostAndPort);

}  // namespace ServiceHosts
