#pragma once

// Internet date texts of the Date, Last-Modified and Expires headers.

#include "net/tidheaderinfo.h"

#include <string_view>

namespace qm {

// A lenient reader of the three usual forms ("Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94
// 08:49:37 GMT", "Sun Nov  6 08:49:37 1994"), taken as GMT. Unreadable text gives 0 and raises
// nothing. A numeric zone ("+0200") is honoured.
TDateTime StrInternetToDateTime(std::string_view text);

// The local time's offset from GMT in days, from the C library's time zone settings; raises
// EIdFailedToRetreiveTimeZoneInfo when they cannot be read.
double LocalOffsetFromGMT();

} // namespace qm
