#include "net/tidcomponent.h"

#include "net/tidstackposix.h"

namespace qm {
namespace {

// Process-wide, touched only on the thread that uses the network components.
std::unique_ptr<TIdStack> g_socketStack;
int g_stackUsers = 0;
TIdComponent::StackFactory g_stackFactory;

std::unique_ptr<TIdStack> MakeStack()
{
    if (g_stackFactory)
        return g_stackFactory();
    return std::make_unique<TIdStackPosix>();
}

} // namespace

TIdComponent::TIdComponent()
{
    if (!g_socketStack)
        g_socketStack = MakeStack();
    ++g_stackUsers;
}

TIdComponent::~TIdComponent()
{
    if (--g_stackUsers == 0)
        g_socketStack.reset();
}

TIdStack* TIdComponent::SocketStack()
{
    return g_socketStack.get();
}

int TIdComponent::StackUsers()
{
    return g_stackUsers;
}

TIdComponent::StackFactory TIdComponent::SetStackFactory(StackFactory factory)
{
    std::swap(factory, g_stackFactory);
    return factory;
}

TIdStack& TIdComponent::GStack()
{
    return *g_socketStack;
}

void TIdComponent::DoStatus(TIdStatus status, std::string_view argument)
{
    if (!OnStatus)
        return;
    std::string text;
    switch (status) {
    case TIdStatus::hsResolving: text = "Resolving hostname " + std::string(argument) + "."; break;
    case TIdStatus::hsConnecting: text = "Connecting to " + std::string(argument) + "."; break;
    case TIdStatus::hsConnected: text = "Connected."; break;
    case TIdStatus::hsDisconnecting: text = "Disconnecting from " + std::string(argument) + "."; break;
    case TIdStatus::hsDisconnected: text = "Not connected."; break;
    case TIdStatus::hsStatusText: text = std::string(argument); break;
    }
    OnStatus(*this, status, text);
}

void TIdComponent::BeginWork(TWorkMode mode, std::int64_t size)
{
    WorkInfo& work = Work(mode);
    if (++work.level == 1) {
        work.max = size;
        work.count = 0;
        if (OnWorkBegin)
            OnWorkBegin(*this, mode, size);
    }
}

void TIdComponent::DoWork(TWorkMode mode, std::int64_t count)
{
    WorkInfo& work = Work(mode);
    if (work.level >= 1) {
        work.count += count;
        if (OnWork)
            OnWork(*this, mode, work.count);
    }
}

void TIdComponent::EndWork(TWorkMode mode)
{
    WorkInfo& work = Work(mode);
    if (work.level == 1 && OnWorkEnd)
        OnWorkEnd(*this, mode);
    if (work.level > 0)
        --work.level;
}

} // namespace qm
