#include "PageAdder.h"

#include "DevmodeLayout.h"
#include "Library.h"
#include "ModelResources.h"
#include "SheetCalls.h"
#include "SiblingNames.h"
#include "SiblingPath.h"

namespace sheet {

PagesResult AddPages(SheetContext* c, WORD slots)
{
    if (slots == 0)
        return PagesResult::Failed;
    const HMODULE module = DriverModule();
    const auto set = model::ParsePageTemplateSet(model::LoadSelectedResource(
        module, model::kPageTemplateSetType,
        devmode::Get(std::span<const std::uint8_t>(c->workingDevmode, devmode::kSize), devmode::kPageTemplateSet)));
    if (!set)
        return PagesResult::Failed;
    PageTemplates templates{};
    std::copy(set->templates.begin(), set->templates.end(), templates.id);

    HMODULE library = LoadLibraryW(SiblingPathW(module, kDialogLibrary.wide).c_str());
    const FARPROC proc = library ? GetProcAddress(library, kDialogControlExport) : nullptr;
    SetDialogControl(proc);
    if (!proc) {
        if (library)
            FreeLibrary(library);
        return PagesResult::NoPages;
    }
    c->dialogLibrary = library;
    const auto dialogControl = reinterpret_cast<DialogControlFn>(proc);
    return dialogControl(c, c->featureBlock, templates, slots, c->printer) == 0 ? PagesResult::Added
                                                                                : PagesResult::Failed;
}

}  // namespace sheet
