#pragma once

// Qt does not let exceptions leave slots or event handlers. Every handler of the program's windows
// runs inside guarded(), which shows a failure that escapes it in the application's error box and
// lets the program go on.

#include <QString>
#include <functional>
#include <string_view>

namespace qm {

void guarded(const std::function<void()>& handler);

// The text the error box shows for a failure's message.
QString errorBoxText(std::string_view message);

} // namespace qm
