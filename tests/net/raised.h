#pragma once

// The exception a call raises, for tests that check more of it than its type.

#include <optional>

namespace qm::test {

// The E that f raises, or nothing when it returns; any other exception passes through.
template <class E, class F> std::optional<E> Raised(F&& f)
{
    try {
        f();
    } catch (const E& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace qm::test
