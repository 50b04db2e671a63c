#include "net/tidcomponent.h"

#include "net/tidstack.h"

namespace qm {
namespace {

// Process-wide, touched only on the thread that uses the network components.
std::unique_ptr<TIdStack> g_socketStack;
int g_stackUsers = 0;
TIdComponent::StackFactory g_stackFactory;

} // namespace

TIdComponent::TIdComponent()
{
    if (!g_socketStack)
        g_socketStack = g_stackFactory ? g_stackFactory() : std::make_unique<TIdStack>();
    ++g_stackUsers;
}

TIdComponent::~TIdComponent()
{
    if (--g_stackUsers == 0)
        g_socketStack.reset();
}

TIdStack* TIdComponent::SocketStack() { return g_socketStack.get(); }

int TIdComponent::StackUsers() { return g_stackUsers; }

TIdComponent::StackFactory TIdComponent::SetStackFactory(StackFactory factory)
{
    std::swap(factory, g_stackFactory);
    return factory;
}

TIdStack& TIdComponent::GStack() { return *g_socketStack; }

} // namespace qm
