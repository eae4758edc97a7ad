#pragma once
// A set of the members of an enumeration whose values are distinct bits (1, 2, 4, ...).
#include <initializer_list>
#include <type_traits>

namespace kv {

template <typename E>
class EnumSet {
public:
    using Word = std::underlying_type_t<E>;

    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> members) {
        for (E member : members) bits_ |= Bit(member);
    }
    static constexpr EnumSet FromBits(Word bits) {
        EnumSet set;
        set.bits_ = bits;
        return set;
    }

    constexpr bool Contains(E member) const { return (bits_ & Bit(member)) != 0; }
    constexpr bool ContainsAll(EnumSet other) const { return (bits_ & other.bits_) == other.bits_; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr EnumSet& Include(E member) {
        bits_ |= Bit(member);
        return *this;
    }
    constexpr EnumSet& Exclude(E member) {
        bits_ &= static_cast<Word>(~Bit(member));
        return *this;
    }
    constexpr Word Bits() const { return bits_; }
    constexpr bool operator==(const EnumSet&) const = default;

private:
    static constexpr Word Bit(E member) { return static_cast<Word>(member); }
    Word bits_ = 0;
};

}  // namespace kv
