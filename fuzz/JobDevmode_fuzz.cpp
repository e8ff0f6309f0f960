// A devmode as an application hands it to the document events: the acceptance test of escape 5021,
// the job fields of a new device context, and the first page's stamping with names of any length.
// Byte 0 picks which lists hold the devmode's watermarks and overlays, bytes 1 and 2 the defaulted
// values; then the account ID, computer and user names as length-prefixed texts; the rest is the
// devmode. Properties: nothing is written outside the fields each step owns, the checksum and the
// bytes around the name fields never change, and every stamped text ends inside its field.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "EscapeReplies.h"
#include "FuzzCheck.h"
#include "JobDevmode.h"

using namespace docevents;

namespace {

using Bytes = std::vector<std::uint8_t>;

bool InField(std::size_t i, std::size_t offset, std::size_t size)
{
    return i >= offset && i < offset + size;
}

// The bytes the job fields may change.
bool JobField(std::size_t i)
{
    return InField(i, kJobMemory.offset, 2) || InField(i, kDefaultedField1.offset, 1) ||
           InField(i, kDefaultedField2.offset, 1) || InField(i, kFirstPageWatermark.offset, 1) ||
           InField(i, kOtherPagesWatermark.offset, 1) || InField(i, devmode::kFirstPageOverlay.offset, 64) ||
           InField(i, devmode::kOtherPagesOverlay.offset, 64) || InField(i, kManualDuplexMarker.offset, 1);
}

bool StampField(std::size_t i)
{
    return InField(i, kAccountId.offset, kAccountId.size) || InField(i, kComputerName.offset, kComputerName.size) ||
           InField(i, kUserName.offset, kUserName.size);
}

void CheckTerminated(const Bytes& d, devmode::Block field, std::size_t textSize)
{
    if (field.end() > d.size())
        return;
    const std::string_view stored = devmode::GetText(d, field);
    FUZZ_CHECK(stored.size() < field.size);
    FUZZ_CHECK(stored.size() <= textSize);
    for (std::size_t i = field.offset + stored.size(); i < field.end(); ++i)
        FUZZ_CHECK(d[i] == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::uint8_t lists = in.ConsumeIntegral<std::uint8_t>();
    const std::uint8_t defaulted1 = in.ConsumeIntegral<std::uint8_t>();
    const std::uint8_t defaulted2 = in.ConsumeIntegral<std::uint8_t>();
    const std::string account = in.ConsumeRandomLengthString(64);
    const std::string computer = in.ConsumeRandomLengthString(128);
    const std::string user = in.ConsumeRandomLengthString(128);
    const Bytes input = in.ConsumeRemainingBytes<std::uint8_t>();

    FUZZ_CHECK(AcceptsApplicationDevmode(input) ==
               (input.size() >= devmode::kSize && devmode::IsDriverDevmode(std::span(input).first(devmode::kSize))));

    Bytes job = input;
    JobChoices choices;
    if (defaulted1 != kDefaulted)
        choices.defaulted1 = defaulted1;
    if (defaulted2 != kDefaulted)
        choices.defaulted2 = defaulted2;
    choices.availableMemory = std::uint64_t(lists) << 28;
    choices.watermarkExists = [&](std::uint16_t n) { return (lists & 1) && n % 2 == 1; };
    choices.overlayExists = [&](std::u16string_view name) { return (lists & 2) && name.size() % 2 == 0; };
    FillJobFields(job, choices);
    FUZZ_CHECK(job.size() == input.size());
    for (std::size_t i = 0; i < job.size(); ++i)
        if (!JobField(i))
            FUZZ_CHECK(job[i] == input[i]);
    if (kManualDuplexMarker.end() <= job.size())
        FUZZ_CHECK(job[kManualDuplexMarker.offset] == 1 || job[kManualDuplexMarker.offset] == kManualDuplexOn);
    for (const devmode::U8 w : {kFirstPageWatermark, kOtherPagesWatermark})
        if (w.end() <= job.size() && job[w.offset] != 0)
            FUZZ_CHECK((lists & 1) && job[w.offset] % 2 == 1);

    Bytes stamped = job;
    StampAccount(stamped, account);
    StampNames(stamped, computer, user);
    FUZZ_CHECK(stamped.size() == job.size());
    for (std::size_t i = 0; i < stamped.size(); ++i)
        if (!StampField(i))
            FUZZ_CHECK(stamped[i] == job[i]);
    CheckTerminated(stamped, kAccountId, account.size());
    CheckTerminated(stamped, kComputerName, computer.size());
    CheckTerminated(stamped, kUserName, user.size());
    if (stamped.size() >= devmode::kSize)
        FUZZ_CHECK(devmode::Get(stamped, devmode::kChecksum) == devmode::Get(input, devmode::kChecksum));
    return 0;
}
