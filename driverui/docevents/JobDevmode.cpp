#include "JobDevmode.h"

#include <algorithm>

#include "EscapeReplies.h"

namespace docevents {

bool AcceptsApplicationDevmode(std::span<const std::uint8_t> input)
{
    return input.size() >= devmode::kSize && devmode::IsDriverDevmode(input.first(devmode::kSize));
}

std::optional<std::uint8_t> DefaultedValue(std::string_view text)
{
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + unsigned(c - '0');
    }
    if (value >= kDefaulted)
        return std::nullopt;
    return std::uint8_t(value);
}

void FillJobFields(std::span<std::uint8_t> d, const JobChoices& choices)
{
    devmode::Set(d, kJobMemory, std::uint16_t(std::min<std::uint64_t>(choices.availableMemory >> 20, 0xFFFF)));
    if (devmode::Get(d, kDefaultedField1) == kDefaulted && choices.defaulted1)
        devmode::Set(d, kDefaultedField1, *choices.defaulted1);
    if (devmode::Get(d, kDefaultedField2) == kDefaulted && choices.defaulted2)
        devmode::Set(d, kDefaultedField2, *choices.defaulted2);

    for (const devmode::U8 field : {kFirstPageWatermark, kOtherPagesWatermark}) {
        const std::uint8_t number = devmode::Get(d, field);
        if (number != 0 && !(choices.watermarkExists && choices.watermarkExists(number)))
            devmode::Set(d, field, 0);
    }
    for (const devmode::WideText field : {devmode::kFirstPageOverlay, devmode::kOtherPagesOverlay}) {
        const std::u16string name = devmode::GetWideText(d, field);
        if (!name.empty() && !(choices.overlayExists && choices.overlayExists(name)))
            devmode::SetWideText(d, field, u"");
    }

    if (devmode::Get(d, kManualDuplexMarker) != kManualDuplexOn)
        devmode::Set(d, kManualDuplexMarker, 1);
}

namespace {

// A text ends at its first NUL: nothing after it reaches the field.
std::string_view UpToNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

}  // namespace

void StampAccount(std::span<std::uint8_t> d, std::string_view accountId)
{
    devmode::SetText(d, kAccountId, UpToNul(accountId));
}

void StampNames(std::span<std::uint8_t> d, std::string_view computerName, std::string_view userName)
{
    devmode::SetText(d, kComputerName, UpToNul(computerName));
    devmode::SetText(d, kUserName, UpToNul(userName));
}

}  // namespace docevents
