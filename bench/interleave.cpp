#include "interleave.h"
#include <algorithm>
#include "clock.h"

static double TimeBatch(const Contender &contender)
{
    LONGLONG start = Now();
    contender.batch(contender.count);
    return Nanoseconds(Now() - start) / contender.count;
}

unsigned CalibrateCount(const Batch &batch, double microseconds)
{
    batch(1); // warm up caches and lazy bindings
    const unsigned limit = 1u << 24;
    unsigned count = 1;
    for (;;) {
        // The fastest of three tries: a preempted try would make it too short.
        double fastest = 1e300;
        for (int attempt = 0; attempt < 3; ++attempt)
            fastest = std::min(fastest, TimeBatch({batch, count}));
        double total = fastest * count / 1000.0;
        if (total >= microseconds / 4 || count >= limit) {
            double wanted = microseconds * 1000.0 / std::max(fastest, 0.01);
            return static_cast<unsigned>(std::max(1.0, std::min<double>(wanted, limit)));
        }
        count *= 2;
    }
}

std::vector<std::vector<double>> TimeInterleaved(const std::vector<Contender> &contenders, unsigned rounds,
                                                 const std::function<void()> &between)
{
    std::vector<std::vector<double>> perCall(contenders.size());
    for (unsigned round = 0; round < rounds; ++round) {
        for (size_t step = 0; step < contenders.size(); ++step) {
            size_t which = (round + step) % contenders.size();
            perCall[which].push_back(TimeBatch(contenders[which]));
            between();
        }
    }
    return perCall;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

Comparison Compare(const std::vector<double> &subject, const std::vector<double> &baseline)
{
    std::vector<double> ratios, differences;
    for (size_t i = 0; i < subject.size() && i < baseline.size(); ++i) {
        if (baseline[i] > 0)
            ratios.push_back(subject[i] / baseline[i]);
        differences.push_back(subject[i] - baseline[i]);
    }
    return {Median(subject), Median(baseline), Median(ratios), Median(differences)};
}
