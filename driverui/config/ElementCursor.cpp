#include "ElementCursor.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "ConfigData.h"

ElementCursor::ElementCursor(std::size_t maxBytes) : maxBytes_(maxBytes)
{
    slots_.reserve(kSlotsFirst);
}

ElementCursor::ElementCursor(std::span<const std::uint8_t> data) : maxBytes_(0xFFFFFFFFu)
{
    slots_.reserve(kSlotsFirst);
    if (data.size() > maxBytes_)
        data = data.first(maxBytes_);
    try {
        buffer_.assign(data.begin(), data.end());
    } catch (const std::bad_alloc&) {
        Fail(ErrMemory);
        return;
    }
    length_ = buffer_.size();
}

bool ElementCursor::Fail(Error e)
{
    if (error_ == ErrNone)
        error_ = e;
    return false;
}

bool ElementCursor::Reserve(std::size_t extra)
{
    if (extra > maxBytes_ - length_)
        return Fail(ErrMemory);
    const std::size_t needed = length_ + extra;
    if (needed <= buffer_.size())
        return true;
    std::size_t size = buffer_.empty() ? std::max(kFirstBytes, needed)
                                       : buffer_.size() + std::max(kGrowBytes, needed - buffer_.size());
    size = std::min(size, maxBytes_);
    try {
        buffer_.resize(size);
    } catch (const std::bad_alloc&) {
        return Fail(ErrMemory);
    }
    return true;
}

bool ElementCursor::Push(Mode mode, std::size_t offset, std::size_t end)
{
    if (slots_.size() == slotCapacity_) {
        const std::size_t grown = slotCapacity_ + kSlotsGrow;
        if (kSlotHeaderBytes + kSlotBytes * grown >= kSlotBlockLimit)
            return Fail(ErrSlots);
        try {
            slots_.reserve(grown);
        } catch (const std::bad_alloc&) {
            return Fail(ErrSlots);
        }
        slotCapacity_ = grown;
    }
    slots_.push_back({mode, offset, end});
    return true;
}

bool ElementCursor::BeginElement(std::uint32_t id)
{
    if (error_ != ErrNone || !Reserve(cfgdata::kHeaderSize))
        return false;
    const std::size_t offset = length_;
    std::span<std::uint8_t> header(buffer_.data() + offset, cfgdata::kHeaderSize);
    cfgdata::StoreU32(header, cfgdata::kIdOffset, id);
    cfgdata::StoreU32(header, cfgdata::kLengthOffset, std::uint32_t(cfgdata::kHeaderSize));
    if (!Push(Mode::Write, offset, 0))
        return false;
    length_ += cfgdata::kHeaderSize;
    return true;
}

bool ElementCursor::WriteValue(std::span<const std::uint8_t> bytes)
{
    if (error_ != ErrNone || slots_.empty() || slots_.back().mode != Mode::Write)
        return false;
    if (bytes.empty())
        return true;
    if (!Reserve(bytes.size()))
        return false;
    std::memcpy(buffer_.data() + length_, bytes.data(), bytes.size());
    length_ += bytes.size();
    return true;
}

bool ElementCursor::EndElement()
{
    if (error_ != ErrNone || slots_.empty())
        return false;
    const Slot top = slots_.back();
    if (top.mode == Mode::Write) {
        std::span<std::uint8_t> written(buffer_.data(), length_);
        cfgdata::StoreU32(written, top.offset + cfgdata::kLengthOffset,
                          std::uint32_t(length_ - top.offset));
    } else {
        position_ = top.end;
    }
    slots_.pop_back();
    return true;
}

bool ElementCursor::AbandonElement()
{
    if (error_ != ErrNone || slots_.empty() || slots_.back().mode != Mode::Write)
        return false;
    length_ = slots_.back().offset;
    slots_.pop_back();
    return true;
}

std::size_t ElementCursor::ReadLimit() const
{
    return slots_.empty() ? length_ : slots_.back().end;
}

bool ElementCursor::NextElement(std::uint32_t& id)
{
    if (error_ != ErrNone || (!slots_.empty() && slots_.back().mode != Mode::Read))
        return false;
    const std::size_t limit = ReadLimit();
    if (position_ > limit || limit - position_ < cfgdata::kHeaderSize)
        return false;
    const std::span<const std::uint8_t> header(buffer_.data() + position_, cfgdata::kHeaderSize);
    const std::uint32_t declared = *cfgdata::LoadU32(header, cfgdata::kLengthOffset);
    if (declared < cfgdata::kHeaderSize || declared > limit - position_)
        return false;
    if (!Push(Mode::Read, position_, position_ + declared))
        return false;
    id = *cfgdata::LoadU32(header, cfgdata::kIdOffset);
    position_ += cfgdata::kHeaderSize;
    return true;
}

std::size_t ElementCursor::ReadValue(std::span<std::uint8_t> out)
{
    if (error_ != ErrNone || (!slots_.empty() && slots_.back().mode != Mode::Read))
        return 0;
    const std::size_t limit = ReadLimit();
    if (position_ >= limit)
        return 0;
    const std::size_t n = std::min(out.size(), limit - position_);
    std::memcpy(out.data(), buffer_.data() + position_, n);
    position_ += n;
    return n;
}

bool ElementCursor::Rewind()
{
    if (error_ != ErrNone)
        return false;
    if (slots_.empty()) {
        position_ = 0;
        return true;
    }
    if (slots_.back().mode != Mode::Read)
        return false;
    position_ = slots_.back().offset + cfgdata::kHeaderSize;
    return true;
}
