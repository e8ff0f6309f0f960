// A toolkit feedback message, then every list command on it over small lists. The walk stays
// inside the bytes, a message is only taken whole when it ends with its end item, and the lists
// stay well formed whatever the groups hold.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Feedback.h"
#include "FuzzCheck.h"
#include "RecordList.h"

namespace {

using recordlist::RecordList;

void CheckWellFormed(const RecordList& list)
{
    const RecordList reread(list.Bytes());
    FUZZ_CHECK(!reread.Truncated());
    FUZZ_CHECK(reread.Bytes() == list.Bytes());
}

RecordList SomeMacros()
{
    RecordList list;
    for (std::int16_t n = 1; n <= 3; ++n) {
        recordlist::Macro m;
        m.number = n;
        m.name = n == 2 ? "B" : "macro";
        m.kind = std::uint16_t(n);
        recordlist::AppendMacro(list, m);
    }
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::size_t extent = feedback::Extent(data, size);
    FUZZ_CHECK(extent <= size);
    if (extent > 0)
        FUZZ_CHECK(extent >= feedback::kItemHeader && data[extent - 4] == 0 && data[extent - 3] == 0);
    const feedback::Message message = feedback::Parse({data, size});
    if (extent > 0)
        FUZZ_CHECK(message.complete);
    FUZZ_CHECK(message.groups.size() <= size / feedback::kItemHeader);
    for (const feedback::Group& g : message.groups) {
        if (g.kind)
            FUZZ_CHECK(*g.kind == 1 || *g.kind == 3 || *g.kind == 4);
        if (g.printerName)
            FUZZ_CHECK(g.printerName->size() < size);
    }

    RecordList fonts, metrics;
    feedback::AddFonts(message.groups, fonts, metrics);
    CheckWellFormed(fonts);
    CheckWellFormed(metrics);
    for (bool more = fonts.Rewind(); more; more = fonts.Next())
        FUZZ_CHECK(fonts.FieldUInt16(feedback::kKeyNumber).value_or(0) > 0);
    feedback::RemoveFonts(message.groups, fonts, metrics);
    CheckWellFormed(fonts);

    RecordList macros = SomeMacros();
    for (std::uint16_t protocol : {5, 6})
        feedback::AddMacros(message.groups, macros, protocol);
    CheckWellFormed(macros);
    feedback::RemoveMacros(message.groups, macros);
    CheckWellFormed(macros);
    if (!message.groups.empty()) {
        const feedback::Group& g = message.groups.front();
        const std::int16_t n = feedback::AllocateMacroNumber(macros, g.macroNumber.value_or(0), g.macroName.value_or(""),
                                                             g.kind.value_or(feedback::kDefaultMacroKind));
        FUZZ_CHECK(n >= 0);
        if (n > 0) {
            RecordList check(macros.Bytes());
            for (bool more = check.Rewind(); more; more = check.Next())
                if (const auto m = recordlist::ReadMacro(check))
                    FUZZ_CHECK(m->number != n);
        }
    }
    return 0;
}
