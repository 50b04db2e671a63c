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

    // The first component makes the stack with makeStack (empty: the POSIX stack); the components
    // created while it lives share it and their makeStack is not called. Raises
    // EIdStackCanNotLoadWinsock / EIdStackInitializationFailed when the stack cannot start; no
    // component then exists and nothing is counted.
    explicit TIdComponent(const StackFactory& makeStack = {});
    virtual ~TIdComponent();
    TIdComponent(const TIdComponent&) = delete;
    TIdComponent& operator=(const TIdComponent&) = delete;

protected:
    // The stack; exists for as long as this component does.
    static TIdStack& GStack();
};

} // namespace qm
