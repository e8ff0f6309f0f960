// The family's models as the feature block meets them: their resources as QVTDX5DA carries them
// (with any resource replaced for a test), each model's default devmode, and reading an entry of
// a built block.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "DefaultDevmode.h"
#include "FeatureBlock.h"
#include "ModelData.h"

namespace fbtest {

using Bytes = std::vector<std::uint8_t>;

class Resources final : public devmode::ModelResources {
public:
    Resources()
    {
        model::family::ForEachFamilyResource(
            [this](int type, int name, Bytes bytes) { map_[{type, name}] = std::move(bytes); });
    }
    void Replace(int type, int name, Bytes bytes) { map_[{type, name}] = std::move(bytes); }
    std::span<const std::uint8_t> Resource(int type, int name) const override
    {
        const auto it = map_.find({type, name});
        return it == map_.end() ? std::span<const std::uint8_t>() : std::span<const std::uint8_t>(it->second);
    }

private:
    std::map<std::pair<int, int>, Bytes> map_;
};

inline const model::family::ModelData& Model(std::size_t n)
{
    return model::family::kModels[n];
}

// The model's defaults as the driver builds them on a Western system.
inline Bytes DefaultsOf(std::size_t n, const Resources& resources)
{
    const auto& m = Model(n);
    Bytes description;
    model::AppendRecord(description, m.description);
    devmode::Buffer d{};
    devmode::SetText(d, devmode::kModelName, m.name);
    devmode::DefaultsInput in;
    in.displayName = m.name;
    in.description = description;
    in.codePage = 1252;
    in.name = m.name;
    in.codePageSupported = [](std::uint16_t cp) { return cp == 1252; };
    devmode::BuildDefaultDevmode(d, in, resources);
    return Bytes(d.begin(), d.end());
}

// A layout resource: the count and the items.
inline Bytes LayoutBytes(std::span<const model::FeatureItem> items, int count = -1)
{
    return model::EncodeTable(model::CountHeader{std::int16_t(count < 0 ? items.size() : count)}, items);
}

// The model's own layout items.
inline std::vector<model::FeatureItem> LayoutOf(std::size_t n, const Resources& resources)
{
    const auto items = feature::ReadLayout(
        resources.Selected(model::kFeatureLayoutType, Model(n).description.featureLayout));
    return items.value_or(std::vector<model::FeatureItem>{});
}

// A block built for a layout from a working and a defaults devmode.
struct Block {
    Bytes bytes;
    feature::RecordIndex index{};

    std::span<std::uint8_t> Entry(int id)
    {
        return feature::RecordAt(std::span<std::uint8_t>(bytes), index[std::size_t(id)]);
    }
    std::int16_t Current(int id) { return std::int16_t(feature::Get16(Entry(id), feature::kCurrent)); }
    void SetCurrent(int id, std::int16_t v) { feature::Set16(Entry(id), feature::kCurrent, std::uint16_t(v)); }
    void Change(int id, std::int16_t v)
    {
        SetCurrent(id, v);
        feature::Set8(Entry(id), feature::kChanged, 1);
    }
};

inline Block Build(std::span<const model::FeatureItem> items, std::span<const std::uint8_t> working,
                   std::span<const std::uint8_t> defaults, const Resources& resources,
                   std::string_view user = "tester")
{
    Block b;
    b.bytes.assign(feature::BlockSize(items), 0xCC);
    feature::BuildSource source;
    source.working = working;
    source.defaults = defaults;
    source.resources = &resources;
    source.userName = user;
    source.context = 0x1234;
    feature::BuildBlock(b.bytes, items, source);
    b.index = feature::IndexBlock(b.bytes);
    return b;
}

}  // namespace fbtest
