// The state of one pass over driver configuration data: a growing data buffer, a read position
// and a stack of open elements. Writing appends; reading walks the tree one element at a time.
// Once an operation fails for lack of memory or slots, every later one fails too. No platform
// headers: this is fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class ElementCursor {
public:
    enum Error : std::uint16_t {
        ErrNone = 0,
        ErrSlots = 1,   // the slot area could not grow
        ErrMemory = 2,  // the data buffer could not be allocated or grown
    };

    // Buffer growth: at least this much on the first write, then at least kGrowBytes at a time.
    static constexpr std::size_t kFirstBytes = 16384;
    static constexpr std::size_t kGrowBytes = 4096;
    // Open elements live in 8-byte slots after a 20-byte header; the block starts with 6 slots,
    // grows by 6, and may not reach 65535 bytes.
    static constexpr std::size_t kSlotHeaderBytes = 20;
    static constexpr std::size_t kSlotBytes = 8;
    static constexpr std::size_t kSlotsFirst = 6;
    static constexpr std::size_t kSlotsGrow = 6;
    static constexpr std::size_t kSlotBlockLimit = 65535;
    static_assert(kSlotsFirst % kSlotsGrow == 0);
    // The most elements that can be open at once.
    static constexpr std::size_t kMaxSlots =
        (kSlotBlockLimit - 1 - kSlotHeaderBytes) / kSlotBytes / kSlotsGrow * kSlotsGrow;
    static_assert(kMaxSlots == 8184);

    // An empty cursor for writing. maxBytes caps the data buffer (the element lengths are 32-bit);
    // a write beyond it fails as an allocation failure would.
    explicit ElementCursor(std::size_t maxBytes = 0xFFFFFFFFu);
    // A cursor for reading a copy of stored data.
    explicit ElementCursor(std::span<const std::uint8_t> data);

    // Writing.
    bool BeginElement(std::uint32_t id);
    bool WriteValue(std::span<const std::uint8_t> bytes);
    // Ends the top element: a written one gets its final length, a read one moves the read
    // position past its end.
    bool EndElement();
    // Removes the top element, which must be one being written, with everything written into it.
    bool AbandonElement();

    // Reading. The next element inside the top open element (or the data when none is open), when
    // its header and its declared length fit there. A length below the header's size ends the
    // reading of the container as an overrun does, instead of stepping on the spot.
    bool NextElement(std::uint32_t& id);
    // Copies at most out.size() bytes of what is left of the top element and advances past them.
    std::size_t ReadValue(std::span<std::uint8_t> out);
    // Back to the start of the top element's payload (of the data when none is open).
    bool Rewind();

    std::uint16_t error() const { return error_; }
    std::span<const std::uint8_t> data() const { return {buffer_.data(), length_}; }
    std::size_t capacity() const { return buffer_.size(); }
    std::size_t slotCapacity() const { return slotCapacity_; }
    std::size_t depth() const { return slots_.size(); }

private:
    enum class Mode : std::uint8_t { Read = 0, Write = 1 };
    struct Slot {
        Mode mode;
        std::size_t offset;  // of the element's header
        std::size_t end;     // of its declared length, for reading
    };

    bool Fail(Error e);
    bool Reserve(std::size_t extra);
    bool Push(Mode mode, std::size_t offset, std::size_t end);
    std::size_t ReadLimit() const;

    std::vector<std::uint8_t> buffer_;  // its size is the allocated size
    std::size_t length_ = 0;
    std::size_t position_ = 0;
    std::size_t maxBytes_;
    std::vector<Slot> slots_;
    std::size_t slotCapacity_ = kSlotsFirst;
    std::uint16_t error_ = ErrNone;
};
