// Closest point on cubic B-spline curves of 8, 32 and 128 CVs: the host's NurbsCurve::closestPoint
// against OpenCASCADE's GeomAPI_ProjectPointOnCurve on the same curves and the same query points, both
// timed in this run. Each CV count has three curve shapes (random tangled, helix, gently wavy), each with
// query points near the curve and far from it; one iteration answers every query of the three shapes.
//
// Before timing, every query is answered by both and compared: the host must never be farther from the
// query than OpenCASCADE's best answer. A projection only returns interior extrema, so OpenCASCADE's best
// is the nearest of its projections and the two curve ends. The comparison prints one ACCURACY line per
// CV count; a failed one makes the exit status non-zero.

#include "goalReport.h"

#include "geometry/NurbsCurve.h"

#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <gp_Pnt.hxx>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using host::geom::NurbsCurve;
using host::geom::Vec3;

namespace {

const std::vector<int> cvCounts = {8, 32, 128};
const int degree = 3;
const int queriesPerShape = 1000;  // half near the curve, half far from it
const double accuracyLimit = 1e-9;
const double speedGoal = 30.0;
const double pi = 3.14159265358979323846;

// One curve built in both libraries, with its query points.
struct Shape {
    std::string name;
    NurbsCurve ours;
    Handle(Geom_BSplineCurve) occt;
    std::vector<Vec3> queries;
    std::vector<gp_Pnt> occtQueries;
};

struct Suite {
    std::vector<Shape> shapes;
    std::string problem;  // empty when both libraries hold the same curves
};

gp_Pnt toOcct(const Vec3& p) {
    return gp_Pnt(p.x, p.y, p.z);
}

// The same curve in OpenCASCADE: Maya's n + d - 1 knots are the textbook knot vector without its first
// and last knot, so the distinct knots are the same and only the end multiplicities grow by one.
Handle(Geom_BSplineCurve) occtCurve(const NurbsCurve& curve) {
    const std::vector<double>& knots = curve.knots();
    std::vector<double> distinct;
    std::vector<int> multiplicity;
    for (double k : knots) {
        if (!distinct.empty() && k == distinct.back()) {
            ++multiplicity.back();
        } else {
            distinct.push_back(k);
            multiplicity.push_back(1);
        }
    }
    ++multiplicity.front();
    ++multiplicity.back();
    TColgp_Array1OfPnt poles(1, curve.numCVs());
    for (int i = 0; i < curve.numCVs(); ++i) poles(i + 1) = toOcct(curve.cvs()[static_cast<size_t>(i)]);
    const int count = static_cast<int>(distinct.size());
    TColStd_Array1OfReal occtKnots(1, count);
    TColStd_Array1OfInteger occtMults(1, count);
    for (int i = 0; i < count; ++i) {
        occtKnots(i + 1) = distinct[static_cast<size_t>(i)];
        occtMults(i + 1) = multiplicity[static_cast<size_t>(i)];
    }
    return new Geom_BSplineCurve(poles, occtKnots, occtMults, curve.degree());
}

std::vector<Vec3> tangledCVs(std::mt19937& rng, int count) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<Vec3> cvs;
    for (int i = 0; i < count; ++i) cvs.push_back({u(rng) * 3.0, u(rng) * 3.0, u(rng)});
    return cvs;
}

// A turn and a half of radius 5 rising by 3, whatever the CV count.
std::vector<Vec3> helixCVs(int count) {
    std::vector<Vec3> cvs;
    for (int i = 0; i < count; ++i) {
        const double a = 3.0 * pi * i / (count - 1);
        cvs.push_back({5.0 * std::cos(a), 5.0 * std::sin(a), a / pi * 2.0});
    }
    return cvs;
}

// Small slow waves along x; the same local shape at every CV count, the curve growing longer.
std::vector<Vec3> wavyCVs(int count) {
    std::vector<Vec3> cvs;
    for (int i = 0; i < count; ++i) cvs.push_back({0.8 * i, 0.5 * std::sin(0.7 * i), 0.5 * std::cos(0.3 * i)});
    return cvs;
}

// Half the queries lie within a tenth of the curve's size of a random curve point, half anywhere in a box
// three times the size of the CVs' bounding box.
std::vector<Vec3> queryPoints(std::mt19937& rng, const NurbsCurve& curve) {
    Vec3 lo = curve.cvs().front(), hi = lo;
    for (const Vec3& p : curve.cvs()) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    const Vec3 center = (lo + hi) * 0.5;
    const Vec3 half = (hi - lo) * 0.5;
    const double size = host::geom::length(hi - lo);
    double start = 0.0, end = 0.0;
    curve.knotDomain(start, end);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::uniform_real_distribution<double> param(start, end);
    std::vector<Vec3> queries;
    for (int i = 0; i < queriesPerShape / 2; ++i) {
        const Vec3 offset{u(rng), u(rng), u(rng)};
        queries.push_back(curve.pointAt(param(rng)) + offset * (0.1 * size));
    }
    for (int i = 0; i < queriesPerShape / 2; ++i) {
        queries.push_back(center + Vec3{u(rng) * half.x, u(rng) * half.y, u(rng) * half.z} * 3.0 +
                          Vec3{u(rng), u(rng), u(rng)} * (0.1 * size));
    }
    return queries;
}

// Empty when OpenCASCADE evaluates the same points as the host along the whole curve.
std::string compareCurves(const Shape& shape) {
    double start = 0.0, end = 0.0;
    shape.ours.knotDomain(start, end);
    if (std::fabs(shape.occt->FirstParameter() - start) > 1e-12 || std::fabs(shape.occt->LastParameter() - end) > 1e-12)
        return shape.name + ": the curves have different parameter domains";
    const int samples = 1000;
    for (int i = 0; i <= samples; ++i) {
        const double t = start + (end - start) * i / samples;
        const Vec3 ours = shape.ours.pointAt(t);
        const gp_Pnt theirs = shape.occt->Value(t);
        if (theirs.Distance(toOcct(ours)) > 1e-10) {
            std::ostringstream why;
            why << shape.name << ": the curves differ at t = " << t;
            return why.str();
        }
    }
    return std::string();
}

Suite buildSuite(int cvCount) {
    std::mt19937 rng(static_cast<unsigned>(cvCount));
    Suite suite;
    const std::vector<std::pair<std::string, std::vector<Vec3>>> cvs = {
        {"tangled", tangledCVs(rng, cvCount)}, {"helix", helixCVs(cvCount)}, {"wavy", wavyCVs(cvCount)}};
    for (const auto& [name, points] : cvs) {
        Shape shape;
        shape.name = name + "/" + std::to_string(cvCount);
        shape.ours = NurbsCurve::openUniform(degree, points);
        if (!shape.ours.isValid()) {
            suite.problem = shape.name + ": " + shape.ours.error();
            return suite;
        }
        shape.occt = occtCurve(shape.ours);
        suite.problem = compareCurves(shape);
        if (!suite.problem.empty()) return suite;
        shape.queries = queryPoints(rng, shape.ours);
        for (const Vec3& q : shape.queries) shape.occtQueries.push_back(toOcct(q));
        suite.shapes.push_back(std::move(shape));
    }
    return suite;
}

const Suite& suite(int cvCount) {
    static std::vector<Suite> suites = [] {
        std::vector<Suite> all;
        for (int count : cvCounts) all.push_back(buildSuite(count));
        return all;
    }();
    const auto at = std::find(cvCounts.begin(), cvCounts.end(), cvCount) - cvCounts.begin();
    return suites[static_cast<size_t>(at)];
}

// OpenCASCADE's best answer: its nearest projection, or a curve end when that is nearer.
double occtBestDistance(GeomAPI_ProjectPointOnCurve& projector, const Shape& shape, const gp_Pnt& q) {
    projector.Perform(q);
    double best = std::min(q.Distance(shape.occt->StartPoint()), q.Distance(shape.occt->EndPoint()));
    if (projector.NbPoints() > 0) best = std::min(best, projector.LowerDistance());
    return best;
}

struct Accuracy {
    double worst = -std::numeric_limits<double>::infinity();  // max of ours minus OpenCASCADE's best
    std::string where;
    int unanswered = 0;   // queries for which the host found no point
    int occtFarther = 0;  // queries where OpenCASCADE's best is farther than the host's by over the limit
    double occtMiss = 0.0;  // by how much at most
};

Accuracy measureAccuracy(const Suite& s) {
    Accuracy acc;
    for (const Shape& shape : s.shapes) {
        GeomAPI_ProjectPointOnCurve projector;
        projector.Init(shape.occt, shape.occt->FirstParameter(), shape.occt->LastParameter());
        for (size_t i = 0; i < shape.queries.size(); ++i) {
            const host::geom::CurveClosestPoint ours = shape.ours.closestPoint(shape.queries[i]);
            const double theirs = occtBestDistance(projector, shape, shape.occtQueries[i]);
            const double diff = ours.found ? ours.distance - theirs : std::numeric_limits<double>::infinity();
            if (!ours.found) ++acc.unanswered;
            if (-diff > accuracyLimit) {
                ++acc.occtFarther;
                acc.occtMiss = std::max(acc.occtMiss, -diff);
            }
            if (diff > acc.worst) {
                acc.worst = diff;
                acc.where = shape.name + " query " + std::to_string(i);
            }
        }
    }
    return acc;
}

std::string oursName(int cvCount) {
    return "closestPoint/host/" + std::to_string(cvCount);
}

std::string occtName(int cvCount) {
    return "closestPoint/occt/" + std::to_string(cvCount);
}

void oursBench(benchmark::State& state, int cvCount) {
    const Suite& s = suite(cvCount);
    if (!s.problem.empty()) {
        state.SkipWithError(s.problem.c_str());
        return;
    }
    for (auto _ : state) {
        double sum = 0.0;
        for (const Shape& shape : s.shapes) {
            for (const Vec3& q : shape.queries) sum += shape.ours.closestPoint(q).distance;
        }
        benchmark::DoNotOptimize(sum);
    }
}

// The projector is set up once per curve and reused for every point, OpenCASCADE's fastest use of it.
void occtBench(benchmark::State& state, int cvCount) {
    const Suite& s = suite(cvCount);
    if (!s.problem.empty()) {
        state.SkipWithError(s.problem.c_str());
        return;
    }
    std::vector<GeomAPI_ProjectPointOnCurve> projectors(s.shapes.size());
    for (size_t i = 0; i < s.shapes.size(); ++i) {
        const Handle(Geom_BSplineCurve)& c = s.shapes[i].occt;
        projectors[i].Init(c, c->FirstParameter(), c->LastParameter());
    }
    for (auto _ : state) {
        double sum = 0.0;
        for (size_t i = 0; i < s.shapes.size(); ++i) {
            GeomAPI_ProjectPointOnCurve& projector = projectors[i];
            for (const gp_Pnt& q : s.shapes[i].occtQueries) {
                projector.Perform(q);
                if (projector.NbPoints() > 0) sum += projector.LowerDistance();
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = 5;
    std::vector<benchGoals::Goal> goals;
    for (int count : cvCounts) {
        benchmark::RegisterBenchmark(oursName(count).c_str(), oursBench, count)
            ->UseRealTime()->Repetitions(repetitions)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(occtName(count).c_str(), occtBench, count)
            ->UseRealTime()->Repetitions(repetitions)->Unit(benchmark::kMicrosecond);
        // OpenCASCADE's time as a multiple of the host's: the host's speed-up.
        goals.push_back({"closest_point_" + std::to_string(count) + "_cvs_speedup_over_occt", occtName(count),
                         oursName(count), speedGoal, true});
    }
    const int result = benchGoals::runAndReport(argc, argv, goals);

    bool accurate = true;
    for (int count : cvCounts) {
        const Suite& s = suite(count);
        std::ostringstream line;
        line << "ACCURACY closest_point_" << count << "_cvs: ";
        if (!s.problem.empty()) {
            line << "not measured (" << s.problem << ") FAILED";
            accurate = false;
        } else {
            const Accuracy acc = measureAccuracy(s);
            const bool ok = acc.worst <= accuracyLimit && acc.unanswered == 0;
            accurate = accurate && ok;
            line << "max(host - occt best) = " << acc.worst << " (limit " << accuracyLimit << ") at " << acc.where
                 << " over " << s.shapes.size() * queriesPerShape << " queries";
            if (acc.unanswered > 0) line << ", " << acc.unanswered << " unanswered";
            if (acc.occtFarther > 0)
                line << "; occt farther on " << acc.occtFarther << " (by up to " << acc.occtMiss << ")";
            line << " " << (ok ? "ok" : "FAILED");
        }
        std::cout << line.str() << std::endl;
    }
    return result != 0 ? result : (accurate ? 0 : 1);
}
