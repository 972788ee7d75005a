#pragma once
// Byte-packed records that the host stores and sends as they are: their bytes, and a record
// made from bytes only when exactly a record's worth is given.
#include <cstddef>
#include <cstring>
#include <string>
#include <type_traits>

template <class T>
std::string RecordToBytes(const T& record) {
    static_assert(std::is_trivially_copyable_v<T>);
    return std::string(reinterpret_cast<const char*>(&record), sizeof(T));
}

// False, with `record` untouched, for a null block or one of another length.
template <class T>
bool RecordFromBytes(T& record, const void* data, size_t length) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (!data || length != sizeof(T)) return false;
    std::memcpy(static_cast<void*>(&record), data, sizeof(T));
    return true;
}
