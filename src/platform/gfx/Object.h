#pragma once
// Reference-counted device objects, released by their owner as Direct3D's are, and a holder
// that does the counting for the engine.

#include <cstdint>
#include <utility>

namespace gfx {

class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    uint32_t AddRef() { return ++refs_; }
    uint32_t Release() {
        const uint32_t left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~Object() = default;

private:
    uint32_t refs_ = 1;
};

// Holds one reference. `Attach` takes over a reference the caller already owns.
template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}  // NOLINT(google-explicit-constructor)
    explicit Ref(T* object) : object_(object) {
        if (object_) object_->AddRef();
    }
    Ref(const Ref& other) : Ref(other.object_) {}
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <typename U>
    Ref(Ref<U>&& other) noexcept : object_(other.Detach()) {}  // NOLINT(google-explicit-constructor)
    ~Ref() { Reset(); }

    Ref& operator=(Ref other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    static Ref Attach(T* object) {
        Ref ref;
        ref.object_ = object;
        return ref;
    }
    T* Detach() { return std::exchange(object_, nullptr); }
    void Reset() {
        if (T* object = std::exchange(object_, nullptr)) object->Release();
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    friend bool operator==(const Ref& a, const Ref& b) { return a.object_ == b.object_; }

private:
    T* object_ = nullptr;
};

template <typename T, typename... Args>
Ref<T> MakeRef(Args&&... args) {
    return Ref<T>::Attach(new T(std::forward<Args>(args)...));
}

}  // namespace gfx
