#include "platform/Resampler.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <numbers>

namespace platform {
namespace {

constexpr int PhaseShift = 22; // 32 - log2(Phases)
constexpr double KaiserBeta = 8.0;

double BesselI0(double x)
{
    double sum = 1;
    double term = 1;
    for (int k = 1; k < 40; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

// Phases rows of taps coefficients, each written twice (for the left and the
// right sample of a frame); row p puts the output p / Phases of a frame past
// the centre tap. Each row sums to 1, so a constant stays exact.
std::vector<float> MakeTable(int taps, double cutoff)
{
    std::vector<float> table(static_cast<std::size_t>(Resampler::Phases) * taps * 2);
    const double half = taps / 2.0;
    for (int p = 0; p < Resampler::Phases; ++p) {
        std::vector<double> row(taps);
        double sum = 0;
        for (int k = 0; k < taps; ++k) {
            const double x = k - (taps / 2 - 1) - double(p) / Resampler::Phases;
            const double t = x / half;
            const double window = std::abs(t) >= 1 ? 0 : BesselI0(KaiserBeta * std::sqrt(1 - t * t)) / BesselI0(KaiserBeta);
            const double sinc = x == 0 ? 1 : std::sin(std::numbers::pi * cutoff * x) / (std::numbers::pi * cutoff * x);
            row[k] = cutoff * sinc * window;
            sum += row[k];
        }
        for (int k = 0; k < taps * 2; ++k)
            table[(static_cast<std::size_t>(p) * taps) * 2 + k] = static_cast<float>(row[k / 2] / sum);
    }
    return table;
}

// Voices of the same rates share one table.
std::shared_ptr<const std::vector<float>> SharedTable(int taps, double cutoff)
{
    static std::mutex lock;
    static std::map<std::pair<int, long>, std::shared_ptr<const std::vector<float>>> tables;
    std::lock_guard<std::mutex> guard(lock);
    auto& table = tables[{taps, std::lround(cutoff * 1e6)}];
    if (!table) table = std::make_shared<const std::vector<float>>(MakeTable(taps, cutoff));
    return table;
}

} // namespace

Resampler::Resampler(std::uint32_t from, std::uint32_t to)
    : m_identity(from == to), m_step((std::uint64_t{from} << 32) / to)
{
    if (!m_identity) {
        // Below the lower Nyquist frequency, with a little room for the
        // window's transition; going down needs a longer filter.
        const double ratio = std::min(1.0, double(to) / from);
        m_taps = std::min(64, 2 * static_cast<int>(std::ceil(BaseTaps / ratio / 2)));
        m_table = SharedTable(m_taps, 0.95 * ratio);
    }
    Reset();
}

void Resampler::Reset()
{
    const std::size_t history = m_identity ? 0 : static_cast<std::size_t>(m_taps / 2 - 1);
    m_input.assign(history * 2, 0.0f);
    m_position = std::uint64_t{history} << 32;
}

void Resampler::Push(const float* frames, std::uint32_t count)
{
    m_input.insert(m_input.end(), frames, frames + static_cast<std::size_t>(count) * 2);
}

void Resampler::PushTail()
{
    if (!m_identity) m_input.resize(m_input.size() + static_cast<std::size_t>(m_taps / 2) * 2, 0.0f);
}

std::uint32_t Resampler::Needed(std::uint32_t frames) const
{
    if (frames == 0) return 0;
    const std::uint64_t last = ((m_position + (frames - 1) * m_step + (1ull << (PhaseShift - 1))) >> 32) +
                               (m_identity ? 0 : m_taps / 2);
    const std::uint64_t held = m_input.size() / 2;
    return last < held ? 0 : static_cast<std::uint32_t>(last + 1 - held);
}

std::uint32_t Resampler::Held() const
{
    const std::uint64_t held = m_input.size() / 2;
    const std::uint64_t centre = Centre();
    return centre < held ? static_cast<std::uint32_t>(held - centre) : 0;
}

std::uint32_t Resampler::MixInto(float* mix, std::uint32_t frames, float left, float right)
{
    const std::uint64_t held = m_input.size() / 2;
    const float* input = m_input.data();
    std::uint32_t given = 0;
    if (m_identity) {
        const std::uint64_t centre = Centre();
        given = static_cast<std::uint32_t>(std::min<std::uint64_t>(frames, held - std::min(held, centre)));
        const float* from = input + centre * 2;
        for (std::uint32_t i = 0; i < given; ++i) {
            mix[2 * i] += from[2 * i] * left;
            mix[2 * i + 1] += from[2 * i + 1] * right;
        }
        m_position += std::uint64_t{given} << 32;
    } else {
        const int taps = m_taps;
        const float* table = m_table->data();
        for (; given < frames; ++given) {
            const std::uint64_t rounded = m_position + (1ull << (PhaseShift - 1));
            const std::uint64_t centre = rounded >> 32;
            if (centre + taps / 2 >= held) break;
            const float* row = table + ((rounded >> PhaseShift) & (Phases - 1)) * taps * 2;
            const float* from = input + (centre - (taps / 2 - 1)) * 2;
            // Four lanes, two frames at a time: the compiler makes them one vector.
            float lanes[4] = {0, 0, 0, 0};
            for (int k = 0; k < taps * 2; k += 4) {
                for (int q = 0; q < 4; ++q) lanes[q] += from[k + q] * row[k + q];
            }
            mix[2 * given] += (lanes[0] + lanes[2]) * left;
            mix[2 * given + 1] += (lanes[1] + lanes[3]) * right;
            m_position += m_step;
        }
    }
    // Drop what no later output reads.
    const std::uint64_t keep = m_identity ? 0 : static_cast<std::uint64_t>(m_taps / 2 - 1);
    const std::uint64_t drop = std::min(held, Centre() - std::min(Centre(), keep));
    if (drop > 0) {
        m_input.erase(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(drop * 2));
        m_position -= drop << 32;
    }
    return given;
}

} // namespace platform
