#include "numeric/Fft.h"

#include <cmath>
#include <cstring>
#include <utility>

// The AVX2 and AVX-512 kernels rest on GCC compiling the helpers flattened
// into a kernel for that kernel's instruction set; elsewhere the generic
// kernel runs alone.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define KORVEL_FFT_X86_KERNELS 1
#include <immintrin.h>
#endif

// The vector helpers return 32- and 64-byte vectors by value. They are all
// inlined into the kernels, so the calling convention that the compiler warns
// about never applies.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace korvel {
namespace {

// 2π as the transform has always taken it: a single-precision constant.
constexpr float TwoPi = 6.283185f;

uint32_t ReverseBits(uint32_t value, int32_t bits) {
    uint32_t reversed = 0;
    for (int32_t b = 0; b < bits; ++b) {
        reversed = (reversed << 1) | (value & 1u);
        value >>= 1;
    }
    return reversed;
}

// ------------------------------------------------------------------ twiddles

// Group g of a stage turns its upper half by the angle direction·2π·r/N, r
// being g reversed over m−1 bits. Reversing g over 15 bits and dividing by
// 2^16 instead multiplies numerator and denominator by the same power of two,
// which floating point carries exactly: group g has the same twiddle in every
// size, so one table serves them all and grows as larger sizes need it.
// The factors are floats; they are kept widened, ready to be broadcast.
struct GroupTwiddles {
    int32_t direction = 0;
    int32_t count = 0;  // leading entries computed for direction
    double cos[MaxFftSize / 2];
    double sin[MaxFftSize / 2];
};
GroupTwiddles groupTwiddles;

// The last three stages run on eight blocks of eight elements side by side,
// one block per vector lane (see LastStagesInOrder). Their twiddles are laid
// out per chunk of eight output columns: seven rows (one twiddle of the third
// stage from the end, two of the second, four of the last) of eight lanes.
// The blocks of a chunk depend on the size, so the layout is rebuilt when the
// size changes.
constexpr int32_t LaneRows = 7;
constexpr int32_t MinBlockedLog2 = 8;  // four sets of eight blocks of eight elements
struct LaneTwiddles {
    int32_t m = -1;
    int32_t direction = 0;
    alignas(64) float cos[MaxFftSize / 64 * LaneRows * 8];
    alignas(64) float sin[MaxFftSize / 64 * LaneRows * 8];
};
LaneTwiddles laneTwiddles;

void PrepareGroupTwiddles(int32_t direction, int32_t count) {
    GroupTwiddles& t = groupTwiddles;
    if (t.direction != direction) {
        t.direction = direction;
        t.count = 0;
    }
    for (; t.count < count; ++t.count) {
        const double angle = direction * static_cast<double>(TwoPi) *
                             ReverseBits(t.count, MaxFftLog2 - 1) / MaxFftSize;
        t.cos[t.count] = static_cast<float>(std::cos(angle));
        t.sin[t.count] = static_cast<float>(std::sin(angle));
    }
}

// Lane k of chunk c carries block rev(8c + k) over m−3 bits: the block whose
// element e lands, after the reorder, in column 8c + k of output row rev(e).
void PrepareLaneTwiddles(int32_t m, int32_t direction) {
    LaneTwiddles& t = laneTwiddles;
    if (t.m == m && t.direction == direction) return;
    const int32_t chunks = (1 << m) / 64;
    for (int32_t chunk = 0; chunk < chunks; ++chunk) {
        for (int32_t lane = 0; lane < 8; ++lane) {
            const int32_t block = static_cast<int32_t>(ReverseBits(8 * chunk + lane, m - 3));
            const int32_t groups[LaneRows] = {block,        2 * block,     2 * block + 1,
                                              4 * block,    4 * block + 1, 4 * block + 2,
                                              4 * block + 3};
            for (int32_t row = 0; row < LaneRows; ++row) {
                const int32_t at = (chunk * LaneRows + row) * 8 + lane;
                t.cos[at] = static_cast<float>(groupTwiddles.cos[groups[row]]);
                t.sin[at] = static_cast<float>(groupTwiddles.sin[groups[row]]);
            }
        }
    }
    t.m = m;
    t.direction = direction;
}

// ------------------------------------------------------------ small sizes

// Stage by stage, then the reorder and the scaling, one element at a time.
void SmallTransform(float* re, float* im, int32_t m, int32_t direction) {
    const int32_t n = 1 << m;
    for (int32_t groups = 1; groups < n; groups *= 2) {
        const int32_t length = n / groups;
        const int32_t half = length / 2;
        for (int32_t g = 0; g < groups; ++g) {
            const double c = groupTwiddles.cos[g];
            const double s = groupTwiddles.sin[g];
            for (int32_t l = g * length; l < g * length + half; ++l) {
                const int32_t u = l + half;
                const double tr = c * re[u] - s * im[u];
                const double ti = c * im[u] + s * re[u];
                const double lr = re[l];
                const double li = im[l];
                re[u] = static_cast<float>(lr - tr);
                im[u] = static_cast<float>(li - ti);
                re[l] = static_cast<float>(lr + tr);
                im[l] = static_cast<float>(li + ti);
            }
        }
    }
    for (int32_t i = 0; i < n; ++i) {
        const int32_t j = static_cast<int32_t>(ReverseBits(i, m));
        if (j > i) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    if (direction < 0) {
        const float scale = 1.0f / static_cast<float>(n);
        for (int32_t i = 0; i < n; ++i) {
            re[i] *= scale;
            im[i] *= scale;
        }
    }
}

// ------------------------------------------------------------ vector kernels

// Eight floats as stored, and the same eight widened for the arithmetic.
typedef float Floats __attribute__((vector_size(32)));
typedef double Doubles __attribute__((vector_size(64)));

inline Floats Load(const float* p) {
    Floats v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void Store(float* p, const Floats& v) {
    std::memcpy(p, &v, sizeof v);
}

// Widening eight floats to eight doubles, and broadcasting one double. GCC 12
// widens in two halves and broadcasts lane by lane even where AVX-512 has one
// instruction for each, so the AVX-512 kernel brings its own.
struct PlainVectors {
    inline static Doubles Widen(const Floats& v) { return __builtin_convertvector(v, Doubles); }
    // x − (+0) is x for every x, a zero keeping its sign (x + 0 would not).
    inline static Doubles Splat(double x) { return x - Doubles{}; }
};

#if defined(KORVEL_FFT_X86_KERNELS)
struct Avx512Vectors {
    // The zero-masked form with every lane selected: the plain one trips a
    // false "maybe uninitialized" in GCC 12's header.
    [[gnu::target("avx512f")]] inline static Doubles Widen(const Floats& v) {
        return reinterpret_cast<Doubles>(_mm512_maskz_cvtps_pd(0xFF, reinterpret_cast<__m256>(v)));
    }
    [[gnu::target("avx512f")]] inline static Doubles Splat(double x) {
        return reinterpret_cast<Doubles>(_mm512_set1_pd(x));
    }
};
#endif

inline Floats Narrow(const Doubles& v) {
    return __builtin_convertvector(v, Floats);
}

// The butterfly of eight element pairs at once, lane by lane exactly the
// scalar one: t = w·upper in double; upper = lower − t; lower = lower + t.
template <class W>
inline void Butterfly(Floats& lowRe, Floats& lowIm, Floats& upRe, Floats& upIm, const Doubles& c,
                      const Doubles& s) {
    const Doubles ur = W::Widen(upRe);
    const Doubles ui = W::Widen(upIm);
    const Doubles tr = c * ur - s * ui;
    const Doubles ti = c * ui + s * ur;
    const Doubles lr = W::Widen(lowRe);
    const Doubles li = W::Widen(lowIm);
    upRe = Narrow(lr - tr);
    upIm = Narrow(li - ti);
    lowRe = Narrow(lr + tr);
    lowIm = Narrow(li + ti);
}

// One stage whose halves hold at least eight elements.
template <class W>
inline void OneStage(float* re, float* im, int32_t n, int32_t groups) {
    const int32_t length = n / groups;
    const int32_t half = length / 2;
    for (int32_t g = 0; g < groups; ++g) {
        const Doubles c = W::Splat(groupTwiddles.cos[g]);
        const Doubles s = W::Splat(groupTwiddles.sin[g]);
        float* r = re + g * length;
        float* i = im + g * length;
        for (int32_t j = 0; j < half; j += 8) {
            Floats r0 = Load(r + j), i0 = Load(i + j);
            Floats r1 = Load(r + half + j), i1 = Load(i + half + j);
            Butterfly<W>(r0, i0, r1, i1, c, s);
            Store(r + j, r0), Store(i + j, i0);
            Store(r + half + j, r1), Store(i + half + j, i1);
        }
    }
}

// Transposes eight rows of eight in three rounds; round b exchanges bit b of
// the row index with bit b of the column index.
inline void Transpose(Floats (&rows)[8]) {
    for (int32_t r = 0; r < 8; r += 2) {
        const Floats a = rows[r], b = rows[r + 1];
        rows[r] = __builtin_shufflevector(a, b, 0, 8, 2, 10, 4, 12, 6, 14);
        rows[r + 1] = __builtin_shufflevector(a, b, 1, 9, 3, 11, 5, 13, 7, 15);
    }
    for (int32_t r : {0, 1, 4, 5}) {
        const Floats a = rows[r], b = rows[r + 2];
        rows[r] = __builtin_shufflevector(a, b, 0, 1, 8, 9, 4, 5, 12, 13);
        rows[r + 2] = __builtin_shufflevector(a, b, 2, 3, 10, 11, 6, 7, 14, 15);
    }
    for (int32_t r = 0; r < 4; ++r) {
        const Floats a = rows[r], b = rows[r + 4];
        rows[r] = __builtin_shufflevector(a, b, 0, 1, 2, 3, 8, 9, 10, 11);
        rows[r + 4] = __builtin_shufflevector(a, b, 4, 5, 6, 7, 12, 13, 14, 15);
    }
}

// i reversed over three bits.
constexpr int32_t Reverse3[8] = {0, 4, 2, 6, 1, 5, 3, 7};

// Eight blocks of eight elements, transposed: element e of every block in
// vector e, one block per lane.
struct BlockSet {
    Floats re[8];
    Floats im[8];
};

// The N/8 blocks fall into N/64 sets; set a holds the blocks a + t·N/64,
// t = 0..7. Lane k takes the block of t = rev(k), so that after the last
// three stages vector e holds, in lane order, eight consecutive columns (a
// chunk) of the output row rev(e): chunk rev(a), over m−6 bits.
//
// Sets a and a+1 (a even) hold neighbouring blocks, one cache line for each
// pair, so they are loaded together.
inline void LoadSetPair(const float* re, const float* im, int32_t set, int32_t sets, BlockSet& x0,
                        BlockSet& x1) {
    for (int32_t k = 0; k < 8; ++k) {
        const int32_t at = 8 * (set + Reverse3[k] * sets);
        x0.re[k] = Load(re + at);
        x1.re[k] = Load(re + at + 8);
        x0.im[k] = Load(im + at);
        x1.im[k] = Load(im + at + 8);
    }
    Transpose(x0.re);
    Transpose(x0.im);
    Transpose(x1.re);
    Transpose(x1.im);
}

// The last three stages of a set's blocks; chunk names its twiddles.
template <class W>
inline void LastThreeStages(BlockSet& x, int32_t chunk) {
    Doubles c[LaneRows], s[LaneRows];
    for (int32_t row = 0; row < LaneRows; ++row) {
        const int32_t at = (chunk * LaneRows + row) * 8;
        c[row] = W::Widen(Load(laneTwiddles.cos + at));
        s[row] = W::Widen(Load(laneTwiddles.sin + at));
    }
    Floats* r = x.re;
    Floats* i = x.im;
    for (int32_t e = 0; e < 4; ++e) {
        Butterfly<W>(r[e], i[e], r[e + 4], i[e + 4], c[0], s[0]);
    }
    Butterfly<W>(r[0], i[0], r[2], i[2], c[1], s[1]);
    Butterfly<W>(r[1], i[1], r[3], i[3], c[1], s[1]);
    Butterfly<W>(r[4], i[4], r[6], i[6], c[2], s[2]);
    Butterfly<W>(r[5], i[5], r[7], i[7], c[2], s[2]);
    for (int32_t q = 0; q < 4; ++q) {
        Butterfly<W>(r[2 * q], i[2 * q], r[2 * q + 1], i[2 * q + 1], c[3 + q], s[3 + q]);
    }
}

// Chunks c and c+1 (c even) of the eight output rows of N/8 elements, one
// cache line in each row. The rows of chunk c are the places of set c's
// blocks, so a chunk is written where a set was read.
inline void StoreChunkPair(float* re, float* im, int32_t chunk, int32_t rowLength, BlockSet& x0,
                           BlockSet& x1, bool scale, const Floats& factor) {
    if (scale) {
        for (BlockSet* x : {&x0, &x1}) {
            for (int32_t e = 0; e < 8; ++e) {
                x->re[e] *= factor;
                x->im[e] *= factor;
            }
        }
    }
    for (int32_t row = 0; row < 8; ++row) {
        const int32_t at = row * rowLength + 8 * chunk;
        Store(re + at, x0.re[Reverse3[row]]);
        Store(re + at + 8, x1.re[Reverse3[row]]);
        Store(im + at, x0.im[Reverse3[row]]);
        Store(im + at + 8, x1.im[Reverse3[row]]);
    }
}

// The four sets a, a+1, a+S/2, a+S/2+1 of S sets (a even, below S/2):
// set[h][j] is set a + j + h·S/2, and its output is chunk r + h + j·S/2 with
// r = rev(a). Their chunks thus form the quad of r, and every cache line is
// read and written whole.
struct Quad {
    BlockSet set[2][2];
};

inline void LoadQuad(const float* re, const float* im, int32_t first, int32_t sets, Quad& q) {
    LoadSetPair(re, im, first, sets, q.set[0][0], q.set[0][1]);
    LoadSetPair(re, im, first + sets / 2, sets, q.set[1][0], q.set[1][1]);
}

template <class W>
inline void FinishQuad(float* re, float* im, Quad& q, int32_t firstChunk, int32_t sets, bool scale,
                       const Floats& factor) {
    for (int32_t j = 0; j < 2; ++j) {
        const int32_t chunk = firstChunk + j * sets / 2;
        LastThreeStages<W>(q.set[0][j], chunk);
        LastThreeStages<W>(q.set[1][j], chunk + 1);
        StoreChunkPair(re, im, chunk, sets * 8, q.set[0][j], q.set[1][j], scale, factor);
    }
}

// The last three stages, the reorder into natural order and the scaling, in
// one pass. The quads of a and rev(a) trade places: both are read before
// either is written.
template <class W>
inline void LastStagesInOrder(float* re, float* im, int32_t m, bool scale) {
    const int32_t n = 1 << m;
    const int32_t setBits = m - 6;
    const int32_t sets = 1 << setBits;
    // 1/N is a power of two: a float product rounds exactly as the double one.
    const float inverse = 1.0f / static_cast<float>(n);
    const Floats factor = {inverse, inverse, inverse, inverse, inverse, inverse, inverse, inverse};
    Quad mine, theirs;
    for (int32_t first = 0; first < sets / 2; first += 2) {
        const int32_t mirror = static_cast<int32_t>(ReverseBits(first, setBits));
        if (mirror < first) continue;
        LoadQuad(re, im, first, sets, mine);
        if (mirror != first) LoadQuad(re, im, mirror, sets, theirs);
        FinishQuad<W>(re, im, mine, mirror, sets, scale, factor);
        if (mirror != first) FinishQuad<W>(re, im, theirs, first, sets, scale, factor);
    }
}

// Sizes from 256 up: the stages but the last three one by one, then the last
// three with the reorder.
template <class W>
inline void BlockedTransform(float* re, float* im, int32_t m, int32_t direction) {
    const int32_t n = 1 << m;
    for (int32_t stage = 1; stage <= m - 3; ++stage) {
        OneStage<W>(re, im, n, 1 << (stage - 1));
    }
    LastStagesInOrder<W>(re, im, m, direction < 0);
}

// Each kernel is flattened: every helper above is inlined into it and compiled
// for its instruction set.
[[gnu::flatten]] void GenericKernel(float* re, float* im, int32_t m, int32_t direction) {
    BlockedTransform<PlainVectors>(re, im, m, direction);
}

#if defined(KORVEL_FFT_X86_KERNELS)
[[gnu::target("avx2"), gnu::flatten]] void Avx2Kernel(float* re, float* im, int32_t m,
                                                      int32_t direction) {
    BlockedTransform<PlainVectors>(re, im, m, direction);
}

[[gnu::target("avx512f"), gnu::flatten]] void Avx512Kernel(float* re, float* im, int32_t m,
                                                           int32_t direction) {
    BlockedTransform<Avx512Vectors>(re, im, m, direction);
}
#endif

FftKernel kernelInUse = BestFftKernel();

}  // namespace

FftKernel BestFftKernel() {
#if defined(KORVEL_FFT_X86_KERNELS)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return FftKernel::Avx512;
    if (__builtin_cpu_supports("avx2")) return FftKernel::Avx2;
#endif
    return FftKernel::Generic;
}

FftKernel UseFftKernel(FftKernel kernel) {
    const FftKernel best = BestFftKernel();
    kernelInUse = static_cast<int32_t>(kernel) <= static_cast<int32_t>(best) ? kernel : best;
    return kernelInUse;
}

void Fft(float* re, float* im, int32_t m, int32_t direction) {
    if (m < 0 || m > MaxFftLog2) return;
    const int32_t n = 1 << m;
    PrepareGroupTwiddles(direction, n / 2);
    if (m < MinBlockedLog2) {
        SmallTransform(re, im, m, direction);
        return;
    }
    PrepareLaneTwiddles(m, direction);
    switch (kernelInUse) {
#if defined(KORVEL_FFT_X86_KERNELS)
        case FftKernel::Avx512:
            Avx512Kernel(re, im, m, direction);
            return;
        case FftKernel::Avx2:
            Avx2Kernel(re, im, m, direction);
            return;
#endif
        default:
            GenericKernel(re, im, m, direction);
    }
}

}  // namespace korvel
