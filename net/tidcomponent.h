#pragma once

// A network component: while any exists, the process-wide socket stack exists. The first component
// created creates (loads and starts) the stack, the last one released releases it. Components also
// carry the optional status and work callbacks.

#include "net/tidbasecomponent.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qm {

class TIdStack;

enum class TIdStatus { hsResolving, hsConnecting, hsConnected, hsDisconnecting, hsDisconnected, hsStatusText };
enum class TWorkMode { wmRead, wmWrite };

class TIdComponent : public TIdBaseComponent {
public:
    using TIdStatusEvent = std::function<void(TIdComponent& sender, TIdStatus status, const std::string& text)>;
    using TWorkBeginEvent = std::function<void(TIdComponent& sender, TWorkMode mode, std::int64_t workCountMax)>;
    using TWorkEvent = std::function<void(TIdComponent& sender, TWorkMode mode, std::int64_t workCount)>;
    using TWorkEndEvent = std::function<void(TIdComponent& sender, TWorkMode mode)>;
    // Makes the stack when the first component is created; may raise the stack's start-up failures.
    using StackFactory = std::function<std::unique_ptr<TIdStack>()>;

    // Raises EIdStackCanNotLoadWinsock / EIdStackInitializationFailed when the stack cannot start;
    // no component then exists and nothing is counted.
    TIdComponent();
    ~TIdComponent() override;

    // The stack while any component exists, else null; and the number of live components.
    static TIdStack* SocketStack();
    static int StackUsers();
    // Test seam: replaces how the stack is made (the default makes a TIdStackPosix); returns the
    // previous factory. An empty factory restores the default.
    static StackFactory SetStackFactory(StackFactory factory);

    TIdStatusEvent OnStatus;
    TWorkBeginEvent OnWorkBegin;
    TWorkEvent OnWork;
    TWorkEndEvent OnWorkEnd;

protected:
    // The stack; exists for as long as this component does.
    static TIdStack& GStack();

    void DoStatus(TIdStatus status, std::string_view argument = {});
    void BeginWork(TWorkMode mode, std::int64_t size = 0);
    void DoWork(TWorkMode mode, std::int64_t count);
    void EndWork(TWorkMode mode);

private:
    struct WorkInfo {
        int level = 0;
        std::int64_t max = 0;
        std::int64_t count = 0;
    };
    WorkInfo& Work(TWorkMode mode) { return m_work[mode == TWorkMode::wmRead ? 0 : 1]; }

    WorkInfo m_work[2];
};

} // namespace qm
