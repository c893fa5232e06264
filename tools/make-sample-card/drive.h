#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <vector>

// One GPS fix: degrees north and east, speed over ground, direction of travel.
struct GpsFix {
    double latitude = 0.0;
    double longitude = 0.0;
    double speedKmh = 0.0;
    double courseDegrees = 0.0;
};

// One G-sensor reading in g: x across the car, y along it, z up (gravity removed).
struct Acceleration {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// A simulated day of the car: a drive through central Seoul in city traffic (accelerating,
// cruising, braking for lights, waiting) for the first `drivingSeconds`, parked at the end point
// afterwards. Time is counted in seconds from the start of the drive; the G-sensor is sampled
// kSensorRate times a second. Deterministic for a seed.
class Drive {
public:
    static constexpr int kSensorRate = 4;

    Drive(std::uint32_t seed, std::int64_t drivingSeconds);

    GpsFix FixAt(std::int64_t second) const;
    // `tick` counts 1/kSensorRate seconds from the start of the drive.
    Acceleration AccelerationAt(std::int64_t tick) const;
    // A shock (hard braking, a pothole, a knock on the parked car) peaking at `tick` and fading
    // over the next two readings.
    void AddImpulse(std::int64_t tick, Acceleration peak);

private:
    void Simulate(std::uint32_t seed);

    std::int64_t drivingSeconds_;
    std::vector<GpsFix> fixes_;           // one per second of the drive, and the parked one
    std::vector<Acceleration> readings_;  // one per tick of the drive
    std::map<std::int64_t, Acceleration> impulses_;
};
