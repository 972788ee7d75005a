#pragma once
// A shared owning pointer: copies share the object, which goes with its last pointer. Scheme
// maps hold elements through it, so a copied map shares its elements.
#include <memory>

template <class T>
class SmartPointer {
public:
    SmartPointer() = default;
    explicit SmartPointer(T* p) : m_p(p) {}
    SmartPointer(std::shared_ptr<T> p) : m_p(std::move(p)) {}
    template <class U>
    SmartPointer(const SmartPointer<U>& other) : m_p(other.shared()) {}

    T* get() const { return m_p.get(); }
    T* operator->() const { return m_p.get(); }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return bool(m_p); }
    bool IsNull() const { return !m_p; }
    void reset(T* p = nullptr) { m_p.reset(p); }
    const std::shared_ptr<T>& shared() const { return m_p; }
    friend bool operator==(const SmartPointer& a, const SmartPointer& b) { return a.m_p == b.m_p; }

private:
    std::shared_ptr<T> m_p;
};
