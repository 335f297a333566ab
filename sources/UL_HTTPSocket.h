// The common base of the German word-service clients: the per-request properties, the SOAP reply
// decoding, the first-letter case change, and the word service's wire format (request envelope,
// headers, reply rows) that the four SOAP clients share. One long-lived object per client; main
// event loop only. The static functions are pure and touch no object.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/http.h"

class UL_HTTPSocket : public fw::HTTPSocket {
  public:
    // True at creation; the base-form client sets it per Check and clears it before its retry.
    bool gFirstTry = true;
    // The word of the request under way, handed to the completion callback.
    std::string gSearchWord;

    // Every "&#x" ... ";" reference replaced by the Windows-1252 character of its leading hex
    // digits (none read as 0; a code above FF gives that Unicode character, U+FFFD when there is
    // none). One pass, linear in the text, with the same result as replacing the first reference
    // and searching again from the start: a decoded "&", "#" or "x" that forms a new reference
    // with the text around it is decoded again.
    static std::string ConvertResponseToUTF8(std::string_view s);

    // The first character's letter case toggled by its code: below 91 up by 32, 91 to 122 down by
    // 32 (every character in those ranges, not only letters), the six umlauts swapped with their
    // other case; any other character, and the rest of the text, stay as they are.
    static std::string ChangeCase(const std::string& s);

    // --- The word service's wire format.

    // One parameter of a request: a key row and a value row.
    using Parameter = std::pair<std::string, std::string>;
    // The request envelope of `operation` (the `execute` element's namespace "urn:" + operation),
    // one line in UTF-8; the word is inserted as it is.
    static std::string WordServiceEnvelope(const std::string& operation,
                                           const std::vector<Parameter>& parameters);
    // "http://" + the service host + "/axis/services/" + operation.
    static std::string WordServiceURL(const std::string& operation);
    // The text of every "<nsN:dataRow>" up to the next "<", in document order, of a decoded reply;
    // invalid UTF-8 replaced by U+FFFD.
    static std::vector<std::string> WordServiceRows(const std::string& decoded);
    // Of those rows, the first of each "dataVectors" element only (its tag may carry a prefix and
    // attributes): the words of a reply whose vectors pair each word with its word-class tag. A
    // reply without vector elements gives every row.
    static std::vector<std::string> WordServiceVectorHeads(const std::string& decoded);

  protected:
    // Sets the POST body for `operation` and replaces the header list by the word service's
    // headers; the caller then sends it with Post(WordServiceURL(operation)).
    void PrepareWordServiceRequest(const std::string& operation,
                                   const std::vector<Parameter>& parameters);
};
