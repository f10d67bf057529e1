// A subject and its baselines timed back to back, interleaved over many
// rounds: noise that hits one round hits its neighbours alike, and medians
// drop the rounds it spoiled.
#pragma once
#include <functional>
#include <vector>

// Runs `count` repetitions of what a contender measures.
typedef std::function<void(unsigned count)> Batch;

struct Contender {
    Batch batch;
    unsigned count; // repetitions per batch
};

// Repetitions that make one batch last about `microseconds`.
unsigned CalibrateCount(const Batch &batch, double microseconds);

// Nanoseconds per repetition of each contender in each round, as
// result[contender][round]. Each round runs every contender once, starting
// with the next one in turn; `between` runs after each batch, untimed.
std::vector<std::vector<double>> TimeInterleaved(const std::vector<Contender> &contenders, unsigned rounds,
                                                 const std::function<void()> &between);

double Median(std::vector<double> values);

// A subject against a baseline, from samples paired by round.
struct Comparison {
    double subject;  // median
    double baseline; // median
    double ratio;    // median of the paired ratios subject / baseline
    double added;    // median of the paired differences subject - baseline
};

Comparison Compare(const std::vector<double> &subject, const std::vector<double> &baseline);
