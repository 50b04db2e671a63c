#include "net/tidcomponent.h"

#include "net/tidstack.h"

namespace qm {
namespace {

// Process-wide, touched only on the thread that uses the network components.
std::unique_ptr<TIdStack> g_socketStack;
int g_stackUsers = 0;

} // namespace

TIdComponent::TIdComponent(const StackFactory& makeStack)
{
    if (!g_socketStack)
        g_socketStack = makeStack ? makeStack() : std::make_unique<TIdStack>();
    ++g_stackUsers;
}

TIdComponent::~TIdComponent()
{
    if (--g_stackUsers == 0)
        g_socketStack.reset();
}

TIdStack& TIdComponent::GStack() { return *g_socketStack; }

} // namespace qm
