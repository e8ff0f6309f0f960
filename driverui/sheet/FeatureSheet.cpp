#include "FeatureSheet.h"

#include <lmcons.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "DevmodeLayout.h"
#include "Library.h"
#include "ModelResources.h"
#include "ModelSource.h"

namespace sheet {
namespace {

std::span<const std::uint8_t> Devmode(const std::uint8_t* bytes)
{
    return {bytes, devmode::kSize};
}

// The logged-on user, for a print-and-hold entry without a name of its own.
std::string UserName()
{
    char name[UNLEN + 1] = {};
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size))
        return {};
    return std::string(name, strnlen(name, sizeof name));
}

feature::BuildSource SourceOf(const SheetContext* c, const devmode::ModelResources& resources, const std::string& user)
{
    feature::BuildSource source;
    source.working = Devmode(c->workingDevmode);
    source.defaults = Devmode(c->defaultsDevmode);
    source.resources = &resources;
    source.userName = user;
    source.context = reinterpret_cast<std::uintptr_t>(c);
    return source;
}

std::span<std::uint8_t> BlockOf(HGLOBAL block, std::uint32_t size)
{
    return block ? std::span<std::uint8_t>(static_cast<std::uint8_t*>(static_cast<void*>(block)), size)
                 : std::span<std::uint8_t>();
}

void Index(std::span<std::uint8_t> block, void** entries)
{
    const feature::RecordIndex index = feature::IndexBlock(block);
    for (std::size_t id = 0; id < feature::kSlots; ++id)
        entries[id] = index[id] == feature::kNoRecord ? nullptr : block.data() + index[id];
}

}  // namespace

bool BuildFeatureBlocks(SheetContext* c, SheetState& state)
{
    const HMODULE module = DriverModule();
    const auto layout = feature::ReadLayout(model::LoadSelectedResource(
        module, model::kFeatureLayoutType, devmode::Get(Devmode(c->workingDevmode), devmode::kFeatureLayout)));
    if (!layout)
        return false;
    const std::size_t size = feature::BlockSize(*layout);
    // Fixed memory: the handle is the block's address, which the pages keep.
    c->featureBlock = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size);
    c->savedFeatureBlock = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size);
    if (!c->featureBlock || !c->savedFeatureBlock) {
        FreeFeatureBlocks(c);
        return false;
    }
    c->featureBlockSize = std::uint32_t(size);
    const devmode::ModuleResources resources(module);
    const std::string user = UserName();
    const auto current = BlockOf(c->featureBlock, c->featureBlockSize);
    const auto saved = BlockOf(c->savedFeatureBlock, c->featureBlockSize);
    feature::BuildBlock(current, *layout, SourceOf(c, resources, user));
    std::copy(current.begin(), current.end(), saved.begin());
    Index(current, c->featureEntries);
    Index(saved, c->savedFeatureEntries);
    state.layout = *layout;
    return true;
}

void ReloadFeatureEntries(SheetContext* c, const SheetState& state)
{
    const auto current = CurrentBlock(c);
    if (current.empty())
        return;
    const devmode::ModuleResources resources(DriverModule());
    const std::string user = UserName();
    feature::BuildBlock(current, state.layout, SourceOf(c, resources, user));
}

void WriteBackEntries(const SheetContext* c, std::span<std::uint8_t> d)
{
    const auto current = CurrentBlock(c);
    if (!current.empty())
        feature::WriteBack(current, d, devmode::ModuleResources(DriverModule()));
}

void FreeFeatureBlocks(SheetContext* c)
{
    if (c->featureBlock)
        GlobalFree(c->featureBlock);
    if (c->savedFeatureBlock)
        GlobalFree(c->savedFeatureBlock);
    c->featureBlock = c->savedFeatureBlock = nullptr;
    c->featureBlockSize = 0;
    std::fill(std::begin(c->featureEntries), std::end(c->featureEntries), nullptr);
    std::fill(std::begin(c->savedFeatureEntries), std::end(c->savedFeatureEntries), nullptr);
}

std::span<std::uint8_t> CurrentBlock(const SheetContext* c)
{
    return BlockOf(c->featureBlock, c->featureBlockSize);
}

feature::RefreshModel RefreshModelOf(const SheetContext* c)
{
    // The copies are of 400, 392 and 394, in that order.
    return {c->devmodeCopies[1], c->devmodeCopies[2]};
}

}  // namespace sheet
