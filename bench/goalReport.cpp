#include "goalReport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>

#include <unistd.h>

namespace benchGoals {
namespace {

// Prints to the console as usual and keeps each benchmark's per-iteration real times (in seconds) and
// any error it reported.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    // Colour only on a terminal, so that logs stay plain text.
    CollectingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override {
        for (const Run& run : reports) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const std::string name = run.run_name.function_name;
            if (run.error_occurred) {
                errors_[name] = run.error_message;
                continue;
            }
            if (run.iterations > 0)
                times_[name].push_back(run.real_accumulated_time / static_cast<double>(run.iterations));
        }
        ConsoleReporter::ReportRuns(reports);
    }

    bool failed(const std::string& name) const { return errors_.count(name) != 0; }

    // The median time per iteration; false when the benchmark did not run or reported an error.
    bool median(const std::string& name, double& out, std::string& why) const {
        auto error = errors_.find(name);
        if (error != errors_.end()) {
            why = name + ": " + error->second;
            return false;
        }
        auto found = times_.find(name);
        if (found == times_.end() || found->second.empty()) {
            why = name + " did not run";
            return false;
        }
        std::vector<double> times = found->second;
        std::sort(times.begin(), times.end());
        const size_t n = times.size();
        out = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2.0;
        if (out <= 0.0) {
            why = name + " measured no time";
            return false;
        }
        return true;
    }

private:
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, std::string> errors_;
};

}  // namespace

int runAndReport(int argc, char** argv, const std::vector<Goal>& goals) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    int result = 0;
    for (const Goal& goal : goals) {
        double measured = 0.0;
        double baseline = 0.0;
        std::string why;
        std::ostringstream line;
        line << (goal.reference ? "REFERENCE " : "GOAL ") << goal.name << ": ";
        if (reporter.median(goal.measured, measured, why) && reporter.median(goal.baseline, baseline, why))
            line << "measured " << std::fixed << std::setprecision(2) << measured / baseline << "x of baseline";
        else
            line << "not measured (" << why << ")";
        if (!goal.reference)
            line << " (goal " << (goal.atLeast ? ">= " : "<= ") << std::defaultfloat << goal.limit << " x)";
        std::cout << line.str() << std::endl;
        if (reporter.failed(goal.measured) || reporter.failed(goal.baseline))
            result = 1;
    }
    return result;
}

}  // namespace benchGoals
