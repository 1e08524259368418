#pragma once
// A set of enumeration values stored as bits, bit n standing for the value
// with ordinal n, so a set's Bits() are the values stored forms and
// documents write.

#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
class TSet {
  static_assert(std::is_enum_v<E>, "TSet holds enumeration values");

 public:
  using Bits = std::uint64_t;

  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> AValues) {
    for (E v : AValues) Include(v);
  }
  static constexpr TSet FromBits(Bits ABits) {
    TSet s;
    s.FBits = ABits;
    return s;
  }

  constexpr Bits ToBits() const { return FBits; }
  constexpr bool Contains(E AValue) const { return (FBits & Bit(AValue)) != 0; }
  constexpr bool IsEmpty() const { return FBits == 0; }
  constexpr TSet& Include(E AValue) {
    FBits |= Bit(AValue);
    return *this;
  }
  constexpr TSet& Exclude(E AValue) {
    FBits &= ~Bit(AValue);
    return *this;
  }
  constexpr void Clear() { FBits = 0; }

  constexpr TSet operator+(TSet AOther) const { return FromBits(FBits | AOther.FBits); }
  constexpr TSet operator-(TSet AOther) const { return FromBits(FBits & ~AOther.FBits); }
  constexpr TSet operator*(TSet AOther) const { return FromBits(FBits & AOther.FBits); }
  constexpr TSet& operator+=(TSet AOther) {
    FBits |= AOther.FBits;
    return *this;
  }
  constexpr TSet& operator-=(TSet AOther) {
    FBits &= ~AOther.FBits;
    return *this;
  }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr Bits Bit(E AValue) {
    return Bits{1} << static_cast<unsigned>(static_cast<std::underlying_type_t<E>>(AValue));
  }
  Bits FBits = 0;
};
