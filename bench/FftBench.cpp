// The program's transform beside FFTW's single-precision one of the same size,
// and the whole spectrum computation of a sub-window and of a full record.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstring>
#include <random>
#include <vector>

#include "model/OscState.h"
#include "numeric/Fft.h"
#include "spectrum/ComputeSpectrum.h"

namespace {

using korvel::MaxFftLog2;
using korvel::MaxFftSize;

std::vector<float> RandomValues(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
    std::vector<float> values(count);
    for (float& v : values)
        v = value(random);
    return values;
}

// Both transforms start every iteration from the same input: the scaled
// forward transform repeated on its own output would sink into denormals and
// FFTW's unscaled one would overflow. The copy (about 1/10 of FFTW's time) is
// timed on its own by RestoreInput.
void RestoreInput(benchmark::State& state) {
    const std::vector<float> input = RandomValues(2 * MaxFftSize, 1);
    std::vector<float> data(2 * MaxFftSize);
    for (auto _ : state) {
        std::memcpy(data.data(), input.data(), input.size() * sizeof(float));
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(RestoreInput)->Arg(MaxFftSize);

void ProgramFft(benchmark::State& state, korvel::FftKernel kernel) {
    const korvel::FftKernel inUse = korvel::UseFftKernel(kernel);
    if (inUse != kernel) {
        state.SkipWithError("this processor lacks the kernel");
        korvel::UseFftKernel(korvel::BestFftKernel());
        return;
    }
    const std::vector<float> input = RandomValues(2 * MaxFftSize, 1);
    std::vector<float> data(2 * MaxFftSize);
    float* re = data.data();
    float* im = data.data() + MaxFftSize;
    for (auto _ : state) {
        std::memcpy(data.data(), input.data(), input.size() * sizeof(float));
        korvel::Fft(re, im, MaxFftLog2, -1);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
    korvel::UseFftKernel(korvel::BestFftKernel());
}

// The kernel the program runs on this processor.
void Fft(benchmark::State& state) {
    ProgramFft(state, korvel::BestFftKernel());
}
BENCHMARK(Fft)->Arg(MaxFftSize);

// The narrower kernels, for other processors.
BENCHMARK_CAPTURE(ProgramFft, Avx2, korvel::FftKernel::Avx2)->Arg(MaxFftSize);
BENCHMARK_CAPTURE(ProgramFft, Generic, korvel::FftKernel::Generic)->Arg(MaxFftSize);

void FftwReference(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    fftwf_complex* data = fftwf_alloc_complex(size);
    const fftwf_plan plan = fftwf_plan_dft_1d(size, data, data, FFTW_FORWARD, FFTW_MEASURE);
    const std::vector<float> input = RandomValues(2 * static_cast<size_t>(size), 1);
    for (auto _ : state) {
        std::memcpy(data, input.data(), input.size() * sizeof(float));
        fftwf_execute(plan);
        benchmark::DoNotOptimize(data);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(data);
}
BENCHMARK(FftwReference)->Arg(MaxFftSize);

// ModeFresh: a transform every time, as on each tick of a continuous run.
void ComputeSpectrum(benchmark::State& state) {
    const int32_t samples = static_cast<int32_t>(state.range(0));
    const std::vector<float> record = RandomValues(korvel::MaxData, 2);
    std::copy(record.begin(), record.end(), korvel::OscState.Record);
    korvel::OscState.SamplePeriod = 0.0125f;
    for (auto _ : state) {
        const korvel::SpectrumResult result =
            korvel::ComputeSpectrum(0, samples - 1, korvel::ModeFresh);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(ComputeSpectrum)->Arg(1000)->Arg(korvel::MaxData);

}  // namespace
