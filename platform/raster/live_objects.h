#pragma once
// Counts the drawing objects alive, by kind, so tests can prove that an owner
// releases every object it creates exactly once (nothing outlives its owner).
#include <array>
#include <atomic>
#include <cstddef>

namespace qm::gfx {

enum class ObjectKind { DC, Bitmap, Pen, Brush, Font, Region, Picture, Count_ };

namespace detail {
inline std::array<std::atomic<long>, std::size_t(ObjectKind::Count_)>& liveCounters()
{
    static std::array<std::atomic<long>, std::size_t(ObjectKind::Count_)> counters {};
    return counters;
}
} // namespace detail

inline long liveObjects(ObjectKind kind)
{
    return detail::liveCounters()[std::size_t(kind)];
}

// Embedded in the shared state of each drawing object: counts it while it lives.
template <ObjectKind K> class LiveToken {
public:
    LiveToken() noexcept { ++detail::liveCounters()[std::size_t(K)]; }
    LiveToken(const LiveToken&) noexcept
        : LiveToken()
    {
    }
    LiveToken& operator=(const LiveToken&) noexcept { return *this; }
    ~LiveToken() { --detail::liveCounters()[std::size_t(K)]; }
};

} // namespace qm::gfx
