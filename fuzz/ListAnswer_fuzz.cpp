// A list answer as the driver library hands it to the pages (numbers, then names, from values
// any user may have written), and a size field as typed: every item read lies inside the blocks,
// within its number range, once per number, with a name that fits a record's field.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "ListAnswer.h"
#include "PaperUnits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto count = in.ConsumeIntegralInRange<std::size_t>(0, 300);
    const auto first = in.ConsumeIntegral<std::int16_t>();
    const auto last = in.ConsumeIntegral<std::int16_t>();
    const std::string typed = in.ConsumeRandomLengthString(16);
    const std::vector<std::uint8_t> numbers = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 600));
    const std::vector<char> names = in.ConsumeRemainingBytes<char>();

    const auto items = listanswer::Read(numbers, names, count, first, last);
    FUZZ_CHECK(items.size() <= count && items.size() <= numbers.size() / 2);
    for (std::size_t i = 0; i < items.size(); ++i) {
        FUZZ_CHECK(items[i].number >= first && items[i].number <= last);
        FUZZ_CHECK(!items[i].name.empty() && items[i].name.size() < listanswer::kNameBytes);
        for (std::size_t j = 0; j < i; ++j)
            FUZZ_CHECK(items[j].number != items[i].number);
    }

    for (const auto unit : {paperunits::Unit::Inch, paperunits::Unit::Millimetre}) {
        const auto display = paperunits::Parse(typed, unit);
        if (display) {
            FUZZ_CHECK(*display >= 0 && *display <= paperunits::kMaxDisplay);
            FUZZ_CHECK(paperunits::ToStored(*display, unit) >= 0);
            FUZZ_CHECK(paperunits::Parse(paperunits::Format(*display, unit), unit) == display);
        }
    }
    return 0;
}
