#include "speech/resampler.h"

#include <soxr.h>

#include <cmath>

namespace orvo::speech {

std::vector<std::int16_t> resample(const std::vector<std::int16_t>& samples, int fromRate,
                                   int toRate)
{
    if (fromRate <= 0 || toRate <= 0) {
        return {};
    }
    if (fromRate == toRate || samples.empty()) {
        return samples;
    }
    const double ratio = static_cast<double>(toRate) / fromRate;
    // One sample of slack: the converter rounds the length up.
    std::vector<std::int16_t> out(
        static_cast<std::size_t>(std::ceil(static_cast<double>(samples.size()) * ratio)) + 1);
    const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    std::size_t used = 0;
    std::size_t made = 0;
    const soxr_error_t error =
        soxr_oneshot(fromRate, toRate, 1, samples.data(), samples.size(), &used, out.data(),
                     out.size(), &made, &io, &quality, nullptr);
    if (error != nullptr) {
        return {};
    }
    out.resize(made);
    return out;
}

} // namespace orvo::speech
