#include "SheetState.h"

#include <windows.h>

#include <algorithm>

namespace sheet {
namespace {

SRWLOCK g_lock = SRWLOCK_INIT;
std::vector<std::unique_ptr<SheetState>> g_states;

class Exclusive {
public:
    Exclusive() { AcquireSRWLockExclusive(&g_lock); }
    ~Exclusive() { ReleaseSRWLockExclusive(&g_lock); }
};

}  // namespace

SheetState& Register(SheetContext* context)
{
    Exclusive lock;
    auto state = std::make_unique<SheetState>();
    state->context = context;
    g_states.push_back(std::move(state));
    return *g_states.back();
}

void Unregister(SheetContext* context)
{
    std::unique_ptr<SheetState> gone;
    {
        Exclusive lock;
        const auto it = std::find_if(g_states.begin(), g_states.end(),
                                     [&](const auto& s) { return s->context == context; });
        if (it == g_states.end())
            return;
        gone = std::move(*it);
        g_states.erase(it);
    }
    // A page that left a list open loses its unsaved changes, as a cancelled edit does.
    for (auto& list : gone->lists)
        list->Discard();
}

SheetState* StateOf(const void* context)
{
    Exclusive lock;
    for (const auto& s : g_states)
        if (s->context == context)
            return s.get();
    return nullptr;
}

SheetState* StateOfBlock(const void* block)
{
    Exclusive lock;
    for (const auto& s : g_states)
        if (block && (s->context->featureBlock == block || s->context->savedFeatureBlock == block))
            return s.get();
    return nullptr;
}

}  // namespace sheet
