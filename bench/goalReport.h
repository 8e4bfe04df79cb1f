#ifndef VEXMORA_BENCH_GOALREPORT_H
#define VEXMORA_BENCH_GOALREPORT_H

// Runs the registered Google Benchmarks and prints one line per goal: the measured benchmark's time per
// iteration as a multiple of a baseline benchmark timed in the same run.
//
//   GOAL <name>: measured <x.xx>x of baseline (goal <= N x)
//
// or, for a goal that sets a floor (atLeast), "(goal >= N x)"; a reference line reads
// "REFERENCE <name>: measured <x.xx>x of baseline" and sets no goal.
//
// The time of a benchmark is the median real time per iteration over its repetitions. A goal that is
// missed is reported, not treated as a failure: the exit status is non-zero only when a benchmark could
// not be measured at all (its setup failed), so that a broken scene is not mistaken for a slow one.

#include <string>
#include <vector>

namespace benchGoals {

struct Goal {
    std::string name;
    std::string measured;  // registered name of the benchmark being judged
    std::string baseline;  // registered name of the benchmark it is compared with
    double limit;          // the goal: measured / baseline must not exceed this
    bool atLeast = false;  // the goal is instead: measured / baseline must reach this
    bool reference = false;  // no goal: the ratio is printed for reference, as a REFERENCE line
};

// Initialises Google Benchmark from the command line, runs the selected benchmarks and prints the goals.
int runAndReport(int argc, char** argv, const std::vector<Goal>& goals);

}  // namespace benchGoals

#endif
