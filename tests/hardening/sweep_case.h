// Random scenarios of the virtual printer for the sweep, each with the caller's side of
// one query-only call: the model name the caller expects and the record it hands in.
#pragma once

#include "support/zrapi_scenario.h"

#include "optinfo.h"

#include <random>
#include <string>

struct SweepCase {
    ZrapiScenario scenario;
    std::string strCallerModel;
    bool bNullModel = false;
    bool bNullInput = false;
    OptionInfo input;
};

// The same seed gives the same cases, in the same order.
class CSweepGenerator {
public:
    explicit CSweepGenerator(unsigned int nSeed) : m_random(nSeed) {}

    SweepCase Next();

private:
    unsigned int Below(unsigned int nLimit) { return m_random() % nLimit; }
    bool Percent(unsigned int nPercent) { return Below(100) < nPercent; }
    template <typename T, size_t N> const T &Pick(const T (&items)[N]) { return items[Below(N)]; }

    std::string RandomBytes(size_t nLength);
    std::string Model();
    std::string PrinterModel(const std::string &strCallerModel);
    std::string DeviceId(const std::string &strModel);
    std::string Token();
    std::string PrinterIdField();
    std::string DeviceField();
    std::string Status();
    void Channels(ZrapiScenario &scenario);
    void Faults(ZrapiScenario &scenario, const std::string &strDeviceId, const std::string &strStatus);
    OptionInfo Input();

    std::mt19937 m_random;
};
