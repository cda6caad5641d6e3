#pragma once
// The one owner of Firebird interface pointers in the database layer.
//
// Ref<T> holds a reference-counted interface (IAttachment, ITransaction,
// IStatement, IResultSet, IBlob, IMessageMetadata, IService, ...) and
// releases it when it goes out of scope or is reset. Several calls of the
// API end the object and release it themselves when they succeed (commit,
// rollback, detach, free, close, cancel, dropDatabase): after such a call
// succeeded the holder is told with released(); when it failed the holder
// still owns the handle and releases it as usual.
//
// Disposable<T> holds a disposable interface (IStatus, IXpbBuilder).
//
// Both are movable, not copyable. Only the layer's own sources instantiate
// them (they include firebird/Interface.h); the headers of the layer may
// hold them as members.
#include <utility>

namespace db::fb {

template <typename T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* p) : FP(p) {}
  ~Ref() { reset(); }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  Ref(Ref&& other) noexcept : FP(std::exchange(other.FP, nullptr)) {}
  Ref& operator=(Ref&& other) noexcept
  {
    if (this != &other)
      reset(std::exchange(other.FP, nullptr));
    return *this;
  }

  T* get() const { return FP; }
  T* operator->() const { return FP; }
  explicit operator bool() const { return FP != nullptr; }

  // Releases the held interface (if any) and holds p instead.
  void reset(T* p = nullptr) noexcept
  {
    T* old = std::exchange(FP, p);
    if (old)
      old->release();
  }

  // The held interface was released by a call that ends it (a successful
  // commit, detach, free, close ...): forget it without releasing again.
  void released() noexcept { FP = nullptr; }

 private:
  T* FP = nullptr;
};

template <typename T>
class Disposable {
 public:
  Disposable() = default;
  explicit Disposable(T* p) : FP(p) {}
  ~Disposable() { reset(); }
  Disposable(const Disposable&) = delete;
  Disposable& operator=(const Disposable&) = delete;
  Disposable(Disposable&& other) noexcept : FP(std::exchange(other.FP, nullptr)) {}
  Disposable& operator=(Disposable&& other) noexcept
  {
    if (this != &other)
      reset(std::exchange(other.FP, nullptr));
    return *this;
  }

  T* get() const { return FP; }
  T* operator->() const { return FP; }
  explicit operator bool() const { return FP != nullptr; }

  void reset(T* p = nullptr) noexcept
  {
    T* old = std::exchange(FP, p);
    if (old)
      old->dispose();
  }

 private:
  T* FP = nullptr;
};

}  // namespace db::fb
