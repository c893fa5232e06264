#include "drive.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct LatLon {
    double latitude;
    double longitude;
};

// A loop of about 14 km: Gwanghwamun, Seoul Station, Yongsan, over the Han River to Noryangjin
// and Yeouido, back over Mapo Bridge through Gongdeok and Seodaemun.
constexpr LatLon kRoute[] = {
    {37.57590, 126.97684}, {37.56630, 126.97790}, {37.55990, 126.97530}, {37.55470, 126.97070},
    {37.54430, 126.97220}, {37.53470, 126.97310}, {37.52700, 126.96800}, {37.51720, 126.95900},
    {37.51330, 126.94260}, {37.51950, 126.93100}, {37.52710, 126.93260}, {37.53550, 126.94100},
    {37.54430, 126.95170}, {37.55300, 126.95670}, {37.56580, 126.96650}, {37.57240, 126.97020},
};
constexpr std::size_t kRouteSize = std::size(kRoute);

constexpr double kMetresPerDegreeLatitude = 110574.0;
constexpr double kMetresPerDegreeLongitude = 111320.0 * 0.7929;  // cos(37.55°)
constexpr double kGravity = 9.81;

double SegmentLength(std::size_t i) {
    const LatLon& a = kRoute[i];
    const LatLon& b = kRoute[(i + 1) % kRouteSize];
    return std::hypot((b.latitude - a.latitude) * kMetresPerDegreeLatitude,
                      (b.longitude - a.longitude) * kMetresPerDegreeLongitude);
}

// A reproducible pseudo-random value in [-1, 1] for a tick: sensor noise that needs no state.
double Noise(std::int64_t tick, std::uint32_t salt) {
    std::uint64_t x = static_cast<std::uint64_t>(tick) * 0x9E3779B97F4A7C15ull + salt;
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    return static_cast<double>(x >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

// Moves along the route loop by distance and tells where the car is and where it heads.
class RouteWalker {
public:
    void Advance(double metres) {
        offset_ += metres;
        while (offset_ >= SegmentLength(segment_)) {
            offset_ -= SegmentLength(segment_);
            segment_ = (segment_ + 1) % kRouteSize;
        }
    }
    LatLon Position() const {
        const LatLon& a = kRoute[segment_];
        const LatLon& b = kRoute[(segment_ + 1) % kRouteSize];
        const double t = offset_ / SegmentLength(segment_);
        return {a.latitude + t * (b.latitude - a.latitude),
                a.longitude + t * (b.longitude - a.longitude)};
    }
    // Radians, clockwise from north.
    double Heading() const {
        const LatLon& a = kRoute[segment_];
        const LatLon& b = kRoute[(segment_ + 1) % kRouteSize];
        return std::atan2((b.longitude - a.longitude) * kMetresPerDegreeLongitude,
                          (b.latitude - a.latitude) * kMetresPerDegreeLatitude);
    }

private:
    std::size_t segment_ = 0;
    double offset_ = 0.0;
};

}  // namespace

Drive::Drive(std::uint32_t seed, std::int64_t drivingSeconds)
    : drivingSeconds_(std::max<std::int64_t>(drivingSeconds, 1)) {
    Simulate(seed);
}

void Drive::Simulate(std::uint32_t seed) {
    std::mt19937 random(seed);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    enum class Phase { Waiting, Accelerating, Cruising, Braking };

    constexpr double dt = 1.0 / kSensorRate;
    const std::int64_t ticks = drivingSeconds_ * kSensorRate;
    RouteWalker walker;
    Phase phase = Phase::Waiting;
    double phaseLeft = uniform(3.0, 8.0);  // seconds, for waiting and cruising
    double speed = 0.0;                    // m/s
    double target = 0.0;
    double rate = 0.0;  // m/s² while speeding up or slowing down
    double heading = walker.Heading();
    readings_.reserve(static_cast<std::size_t>(ticks));
    fixes_.reserve(static_cast<std::size_t>(drivingSeconds_) + 1);

    for (std::int64_t tick = 0; tick <= ticks; ++tick) {
        if (tick % kSensorRate == 0) {
            const LatLon position = walker.Position();
            double course = heading * 180.0 / std::numbers::pi;
            fixes_.push_back({position.latitude, position.longitude, speed * 3.6,
                              course < 0.0 ? course + 360.0 : course});
        }
        if (tick == ticks) {
            break;
        }
        double acceleration = 0.0;
        switch (phase) {
            case Phase::Waiting:
                phaseLeft -= dt;
                if (phaseLeft <= 0.0) {
                    phase = Phase::Accelerating;
                    target = uniform(30.0, 70.0) / 3.6;
                    rate = uniform(1.2, 2.2);
                }
                break;
            case Phase::Accelerating:
                acceleration = std::min(rate, (target - speed) / dt);
                if (speed + acceleration * dt >= target - 1e-9) {
                    phase = Phase::Cruising;
                    phaseLeft = uniform(15.0, 60.0);
                }
                break;
            case Phase::Cruising:
                acceleration = 0.3 * std::sin(static_cast<double>(tick) * 0.05);
                phaseLeft -= dt;
                if (phaseLeft <= 0.0) {
                    phase = Phase::Braking;
                    rate = uniform(1.5, 3.0);
                }
                break;
            case Phase::Braking:
                acceleration = -std::min(rate, speed / dt);
                if (speed + acceleration * dt <= 1e-9) {
                    phase = Phase::Waiting;
                    phaseLeft = uniform(5.0, 30.0);
                }
                break;
        }
        speed = std::max(0.0, speed + acceleration * dt);
        walker.Advance(speed * dt);

        // The heading follows the route with a lag of a few seconds, as a car rounds a corner.
        double turn = walker.Heading() - heading;
        turn = std::remainder(turn, 2.0 * std::numbers::pi);
        const double turnRate = turn * std::min(1.0, dt / 2.5) / dt;
        heading += turnRate * dt;
        const double lateral = std::clamp(speed * turnRate / kGravity, -0.45, 0.45);
        readings_.push_back({lateral + 0.02 * Noise(tick, 1),
                             acceleration / kGravity + 0.02 * Noise(tick, 2),
                             (speed > 0.0 ? 0.05 : 0.01) * Noise(tick, 3)});
    }
}

GpsFix Drive::FixAt(std::int64_t second) const {
    if (second < 0) {
        return fixes_.front();
    }
    if (second >= static_cast<std::int64_t>(fixes_.size())) {
        GpsFix parked = fixes_.back();
        parked.speedKmh = 0.0;
        return parked;
    }
    return fixes_[static_cast<std::size_t>(second)];
}

Acceleration Drive::AccelerationAt(std::int64_t tick) const {
    Acceleration reading;
    if (tick >= 0 && tick < static_cast<std::int64_t>(readings_.size())) {
        reading = readings_[static_cast<std::size_t>(tick)];
    } else {
        reading = {0.01 * Noise(tick, 1), 0.01 * Noise(tick, 2), 0.01 * Noise(tick, 3)};
    }
    // An impulse fades over the reading that follows it.
    for (std::int64_t back = 0; back < 3; ++back) {
        const auto found = impulses_.find(tick - back);
        if (found != impulses_.end()) {
            const double share = 1.0 / static_cast<double>(1 << (2 * back));
            reading.x += found->second.x * share;
            reading.y += found->second.y * share;
            reading.z += found->second.z * share;
        }
    }
    return reading;
}

void Drive::AddImpulse(std::int64_t tick, Acceleration peak) {
    impulses_[tick] = peak;
}
