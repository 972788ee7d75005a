#pragma once
// Loops that work on several samples side by side run wider where the processor has AVX2. Every
// lane adds and multiplies as one sample's scalar loop does, and the files that use this are
// built without contracting a product and a sum into one fused step, so the wider version gives
// the same bits as the narrow one.
#include <cstddef>
#include <cstring>

#if defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__)
#define TV_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TV_VECTOR_CLONES
#endif

namespace tv {

// Four doubles worked on at once, each lane with the IEEE operation its scalar form has.
typedef double Lanes4 __attribute__((vector_size(32)));

// An out parameter, not a return value: a vector returned by value would be passed differently
// by the wide and the narrow clones.
template <class V>
inline void LoadLanes(V& v, const double* p) {
    std::memcpy(&v, p, sizeof v);
}

}  // namespace tv
