#include "ListAnswer.h"

#include <algorithm>
#include <cstring>

namespace listanswer {

std::vector<Item> Read(std::span<const std::uint8_t> numbers, std::span<const char> names, std::size_t count,
                       std::int16_t first, std::int16_t last)
{
    std::vector<Item> items;
    count = std::min(count, numbers.size() / 2);
    std::size_t at = 0;
    for (std::size_t i = 0; i < count && at < names.size(); ++i) {
        const char* start = names.data() + at;
        const std::size_t room = names.size() - at;
        const void* end = std::memchr(start, '\0', room);
        if (!end)
            break;  // the rest is not a whole name
        const std::size_t length = std::size_t(static_cast<const char*>(end) - start);
        if (length == 0)
            break;
        at += length + 1;
        const auto number = std::int16_t(numbers[2 * i] | (numbers[2 * i + 1] << 8));
        if (number < first || number > last)
            continue;
        if (std::any_of(items.begin(), items.end(), [&](const Item& item) { return item.number == number; }))
            continue;
        items.push_back({number, std::string(start, std::min(length, kNameBytes - 1))});
    }
    return items;
}

std::optional<std::int16_t> SmallestFree(std::span<const std::int16_t> used, std::int16_t first, std::int16_t last)
{
    for (int n = first; n <= last; ++n)
        if (std::find(used.begin(), used.end(), std::int16_t(n)) == used.end())
            return std::int16_t(n);
    return std::nullopt;
}

std::string Trimmed(std::string_view name)
{
    const auto begin = name.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return {};
    const auto end = name.find_last_not_of(' ');
    return std::string(name.substr(begin, end - begin + 1));
}

bool IsFormName(std::string_view name)
{
    if (name.empty())
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](char ch) { return static_cast<unsigned char>(ch) < 32 || ch == ','; });
}

bool IsWatermarkName(std::string_view name)
{
    return IsFormName(name) && name.front() != '!' && name.find('#') == std::string_view::npos;
}

void PutField(char* field, std::size_t size, std::string_view text)
{
    if (!field || size == 0)
        return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

std::string FieldText(const char* field, std::size_t size)
{
    if (!field)
        return {};
    const void* end = std::memchr(field, '\0', size);
    return std::string(field, end ? std::size_t(static_cast<const char*>(end) - field) : size);
}

}  // namespace listanswer
