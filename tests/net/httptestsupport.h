#pragma once

// What a fetch ended with, for the HTTP tests.

#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tidhttp.h"
#include "net/tmemorystream.h"

#include <string>

namespace qm::test {

struct FetchOutcome {
    std::string failure; // exception class, empty on success
    std::string message;
    std::string sink;
    int replyCode = 0; // of EIdProtocolReplyError
};

inline FetchOutcome Fetch(TIdHTTP& http, const std::string& url, TMemoryStream& sink)
{
    FetchOutcome outcome;
    try {
        http.GetDocument(url, sink);
    } catch (const EIdProtocolReplyError& e) {
        outcome = {e.ClassName(), e.what(), {}, e.ReplyErrorCode()};
    } catch (const EIdException& e) {
        outcome = {e.ClassName(), e.what(), {}, 0};
    } catch (const EConvertError& e) {
        outcome = {e.ClassName(), e.what(), {}, 0};
    }
    outcome.sink = sink.Bytes();
    return outcome;
}

inline FetchOutcome Fetch(TIdHTTP& http, const std::string& url)
{
    TMemoryStream sink;
    return Fetch(http, url, sink);
}

// A client whose limits turn a hang into a failure within seconds.
inline void ShortenLimits(TIdHTTP& http)
{
    http.SetReadTimeout(2000);
    http.SetConnectTimeout(2000);
    http.SetExchangeTimeout(10000);
}

} // namespace qm::test
