#pragma once

// A network component: while any exists, the process-wide socket stack exists. The first component
// created creates (loads and starts) the stack, the last one released releases it.

#include <functional>
#include <memory>

namespace qm {

class TIdStack;

class TIdComponent {
public:
    // Makes the stack when the first component is created; may raise the stack's start-up failures.
    using StackFactory = std::function<std::unique_ptr<TIdStack>()>;

    // Raises EIdStackCanNotLoadWinsock / EIdStackInitializationFailed when the stack cannot start;
    // no component then exists and nothing is counted.
    TIdComponent();
    virtual ~TIdComponent();
    TIdComponent(const TIdComponent&) = delete;
    TIdComponent& operator=(const TIdComponent&) = delete;

    // The stack while any component exists, else null; and the number of live components.
    static TIdStack* SocketStack();
    static int StackUsers();
    // Test seam: replaces how the stack is made (the default makes a plain TIdStack); returns the
    // previous factory. An empty factory restores the default.
    static StackFactory SetStackFactory(StackFactory factory);

protected:
    // The stack; exists for as long as this component does.
    static TIdStack& GStack();
};

} // namespace qm
