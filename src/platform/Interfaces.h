// Reference-counted interfaces: interface identifiers, the root interface with its three
// reference-counting operations, an intrusive counted pointer and the implementation base whose
// count changes atomically.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <utility>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// Interface identifiers

struct TGUID {
  uint32_t D1 = 0;
  uint16_t D2 = 0;
  uint16_t D3 = 0;
  std::array<uint8_t, 8> D4{};

  friend constexpr bool operator==(const TGUID&, const TGUID&) = default;
};

namespace detail {
consteval uint32_t HexDigits(std::string_view Text, size_t From, size_t Count) {
  uint32_t Value = 0;
  for (size_t I = From; I < From + Count; ++I) {
    const char C = Text[I];
    uint32_t Digit = 0;
    if (C >= '0' && C <= '9') {
      Digit = static_cast<uint32_t>(C - '0');
    } else if (C >= 'A' && C <= 'F') {
      Digit = static_cast<uint32_t>(C - 'A' + 10);
    } else if (C >= 'a' && C <= 'f') {
      Digit = static_cast<uint32_t>(C - 'a' + 10);
    } else {
      throw "not a hexadecimal digit"; // makes the constant ill-formed at compile time
    }
    Value = Value * 16 + Digit;
  }
  return Value;
}
} // namespace detail

// The identifier written as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", checked at compile time.
consteval TGUID MakeGUID(std::string_view Text) {
  if (Text.size() != 38 || Text[0] != '{' || Text[9] != '-' || Text[14] != '-' || Text[19] != '-' ||
      Text[24] != '-' || Text[37] != '}') {
    throw "malformed interface identifier";
  }
  TGUID G;
  G.D1 = detail::HexDigits(Text, 1, 8);
  G.D2 = static_cast<uint16_t>(detail::HexDigits(Text, 10, 4));
  G.D3 = static_cast<uint16_t>(detail::HexDigits(Text, 15, 4));
  G.D4[0] = static_cast<uint8_t>(detail::HexDigits(Text, 20, 2));
  G.D4[1] = static_cast<uint8_t>(detail::HexDigits(Text, 22, 2));
  for (size_t I = 0; I < 6; ++I) {
    G.D4[2 + I] = static_cast<uint8_t>(detail::HexDigits(Text, 25 + 2 * I, 2));
  }
  return G;
}

// ---------------------------------------------------------------------------------------------
// The root interface

// Every interface names its identifier (IID) and its parent interface (TParent).
class IInterface {
public:
  static constexpr TGUID IID = MakeGUID("{00000000-0000-0000-C000-000000000046}");
  using TParent = void;

  // Stores in Obj a counted pointer to the interface IID of this object, or nullptr.
  virtual bool QueryInterface(const TGUID& IID, void** Obj) noexcept = 0;
  virtual int32_t AddRef() noexcept = 0;
  virtual int32_t Release() noexcept = 0;

protected:
  virtual ~IInterface() = default;
};

// ---------------------------------------------------------------------------------------------
// Counted pointer

template <class I>
class TQBTRef {
public:
  TQBTRef() = default;
  TQBTRef(std::nullptr_t) {}
  // Takes a new reference to P.
  explicit TQBTRef(I* P) : FPtr(P) {
    if (FPtr != nullptr) {
      FPtr->AddRef();
    }
  }
  TQBTRef(const TQBTRef& Other) : TQBTRef(Other.FPtr) {}
  TQBTRef(TQBTRef&& Other) noexcept : FPtr(std::exchange(Other.FPtr, nullptr)) {}
  template <class J>
  requires std::is_convertible_v<J*, I*> TQBTRef(const TQBTRef<J>& Other)
      : TQBTRef(static_cast<I*>(Other.Get())) {}
  template <class J>
  requires std::is_convertible_v<J*, I*> TQBTRef(TQBTRef<J>&& Other)
  noexcept : FPtr(Other.Detach()) {}
  ~TQBTRef() { Reset(); }

  TQBTRef& operator=(TQBTRef Other) noexcept {
    std::swap(FPtr, Other.FPtr);
    return *this;
  }

  I* Get() const noexcept { return FPtr; }
  I* operator->() const noexcept { return FPtr; }
  I& operator*() const noexcept { return *FPtr; }
  explicit operator bool() const noexcept { return FPtr != nullptr; }

  void Reset() noexcept {
    if (FPtr != nullptr) {
      std::exchange(FPtr, nullptr)->Release();
    }
  }
  // Gives up the reference without releasing it.
  I* Detach() noexcept { return std::exchange(FPtr, nullptr); }
  // Takes over a reference that was already counted for this pointer.
  static TQBTRef Adopt(I* P) noexcept {
    TQBTRef R;
    R.FPtr = P;
    return R;
  }

  friend bool operator==(const TQBTRef& A, const TQBTRef& B) noexcept { return A.FPtr == B.FPtr; }
  friend bool operator==(const TQBTRef& A, std::nullptr_t) noexcept { return A.FPtr == nullptr; }

private:
  I* FPtr = nullptr;
};

// The interface I of Obj, or nullptr when Obj does not implement it.
template <class I>
TQBTRef<I> Supports(IInterface* Obj) {
  void* Found = nullptr;
  if (Obj == nullptr || !Obj->QueryInterface(I::IID, &Found)) {
    return nullptr;
  }
  return TQBTRef<I>::Adopt(static_cast<I*>(Found));
}

// ---------------------------------------------------------------------------------------------
// Implementation base

// Implements the reference counting of the interfaces TIntfs; the object frees itself with its
// last reference. A new object has no reference until a TQBTRef takes one.
template <class... TIntfs>
class TQBTInterfacedObject : public TIntfs... {
public:
  TQBTInterfacedObject() = default;
  TQBTInterfacedObject(const TQBTInterfacedObject&) = delete;
  TQBTInterfacedObject& operator=(const TQBTInterfacedObject&) = delete;

  bool QueryInterface(const TGUID& IID, void** Obj) noexcept override {
    *Obj = nullptr;
    (FindInterface<TIntfs, TIntfs>(IID, Obj) || ...);
    if (*Obj == nullptr) {
      return false;
    }
    AddRef();
    return true;
  }
  int32_t AddRef() noexcept override { return FRefCount.fetch_add(1) + 1; }
  int32_t Release() noexcept override {
    const int32_t Count = FRefCount.fetch_sub(1) - 1;
    if (Count == 0) {
      delete this;
    }
    return Count;
  }
  int32_t RefCount() const noexcept { return FRefCount.load(); }

protected:
  ~TQBTInterfacedObject() override = default;

private:
  // Walks from the implemented interface TImpl up through its parents.
  template <class TImpl, class TAsked>
  bool FindInterface(const TGUID& IID, void** Obj) noexcept {
    if (TAsked::IID == IID) {
      *Obj = static_cast<TAsked*>(static_cast<TImpl*>(this));
      return true;
    }
    if constexpr (!std::is_void_v<typename TAsked::TParent>) {
      return FindInterface<TImpl, typename TAsked::TParent>(IID, Obj);
    } else {
      return false;
    }
  }

  std::atomic<int32_t> FRefCount{0};
};

} // namespace qbt
