#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>

// Sample loops that run over every output frame: the compiler will not
// vectorise a float max reduction or a saturating conversion on its own, so
// x86-64 gets SSE2 (always present there) and other machines a plain loop.
namespace tavlo::sample_ops {

// Largest absolute value per channel of interleaved stereo.
inline void peakStereo(const float* in, int frames, float* left, float* right)
{
    int i = 0;
    float l = 0.0f;
    float r = 0.0f;
#if defined(__SSE2__)
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    __m128 peak = _mm_setzero_ps();  // lanes: L R L R
    for (; i + 2 <= frames; i += 2)
        peak = _mm_max_ps(peak, _mm_and_ps(_mm_loadu_ps(in + 2 * i), magnitude));
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, peak);
    l = std::max(lanes[0], lanes[2]);
    r = std::max(lanes[1], lanes[3]);
#endif
    for (; i < frames; ++i) {
        l = std::max(l, std::abs(in[2 * i]));
        r = std::max(r, std::abs(in[2 * i + 1]));
    }
    *left = l;
    *right = r;
}

// Float to 16-bit PCM, clipped at full scale (never wrapped), rounded to
// nearest. Full scale is 32767, as libsndfile reads it back.
inline void toPcm16(const float* in, std::int16_t* out, std::size_t samples)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128 scale = _mm_set1_ps(32767.0f);
    const __m128 hi = _mm_set1_ps(1.0f);
    const __m128 lo = _mm_set1_ps(-1.0f);
    for (; i + 8 <= samples; i += 8) {
        const __m128 a = _mm_mul_ps(_mm_min_ps(_mm_max_ps(_mm_loadu_ps(in + i), lo), hi), scale);
        const __m128 b = _mm_mul_ps(_mm_min_ps(_mm_max_ps(_mm_loadu_ps(in + i + 4), lo), hi), scale);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b)));
    }
#endif
    for (; i < samples; ++i)
        out[i] = static_cast<std::int16_t>(std::lrint(std::clamp(in[i], -1.0f, 1.0f) * 32767.0f));
}

}  // namespace tavlo::sample_ops
