#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "data/NurbsCurveData.h"
#include "graph/Scene.h"
#include "nodes/nurbsCurve.h"

#include <maya/MCommandResult.h>
#include <maya/MPlug.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace host {

namespace {

const char* const kCommand = "curve";
const int kMaxDegree = 7;  // Maya's highest NURBS degree

struct CurveRequest {
    int degree = 3;
    bool periodic = false;
    std::vector<geom::Vec3> points;
    std::vector<double> knots;
    bool knotsGiven = false;
    std::string name;
    bool nameGiven = false;
};

MStatus fail(const std::string& message) {
    return commandError(kCommand, message);
}

// The count words after the flag at i (i then stands on the last); false when there are fewer.
bool takeWords(const Args& args, size_t& i, size_t count, std::vector<std::string>& out) {
    out.clear();
    for (size_t k = 0; k < count; ++k) {
        if (i + 1 >= args.size())
            return false;
        out.push_back(args[++i].text);
    }
    return true;
}

// Reads the flags. -p and -k may repeat; the others may appear once.
MStatus readArgs(const Args& args, CurveRequest& request) {
    bool degreeSeen = false, periodicSeen = false;
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        const Arg& arg = args[i];
        if (!isFlag(arg))
            return fail("unexpected argument " + quoted(arg.text) + ".");
        const std::string& flag = arg.text;
        if (flag == "-d" || flag == "-degree") {
            if (degreeSeen)
                return fail("flag " + flag + " given twice.");
            degreeSeen = true;
            if (!takeWords(args, i, 1, words))
                return fail(flag + " needs a degree.");
            if (!parseInt(words[0], request.degree))
                return fail(flag + " expects a whole number; got " + quoted(words[0]) + ".");
            if (request.degree < 1 || request.degree > kMaxDegree)
                return fail("degree must be 1 to " + std::to_string(kMaxDegree) + "; got " + words[0] + ".");
        } else if (flag == "-p" || flag == "-point") {
            if (!takeWords(args, i, 3, words))
                return fail(flag + " needs three numbers.");
            double xyz[3];
            for (int k = 0; k < 3; ++k) {
                if (!parseDouble(words[static_cast<size_t>(k)], xyz[k]))
                    return fail(flag + " expects three numbers; got " + quoted(words[static_cast<size_t>(k)]) + ".");
            }
            request.points.push_back({xyz[0], xyz[1], xyz[2]});
        } else if (flag == "-k" || flag == "-knot") {
            if (!takeWords(args, i, 1, words))
                return fail(flag + " needs a knot value.");
            double knot = 0.0;
            if (!parseDouble(words[0], knot))
                return fail(flag + " expects a number; got " + quoted(words[0]) + ".");
            request.knots.push_back(knot);
            request.knotsGiven = true;
        } else if (flag == "-per" || flag == "-periodic") {
            if (periodicSeen)
                return fail("flag " + flag + " given twice.");
            periodicSeen = true;
            if (!takeWords(args, i, 1, words))
                return fail(flag + " needs true or false.");
            if (!parseBool(words[0], request.periodic))
                return fail(flag + " expects true or false; got " + quoted(words[0]) + ".");
        } else if (flag == "-n" || flag == "-name") {
            if (request.nameGiven)
                return fail("flag " + flag + " given twice.");
            request.nameGiven = true;
            if (!takeWords(args, i, 1, words))
                return fail(flag + " needs a name.");
            request.name = words[0];
            if (!isValidNodeName(request.name))
                return fail(quoted(request.name) + " is not a valid node name.");
        } else if (flag == "-os" || flag == "-objectSpace") {
            // Points are always in the curve's object space: there is no parent transform.
        } else {
            return fail("unknown flag " + flag + ".");
        }
    }
    return MStatus::kSuccess;
}

// Maya's knots when none are given: an open curve gets d-fold end knots and uniform integers between
// (0 0 0 1 2 3 3 3 for degree 3 and 6 points); a periodic one uniform integers -(d-1) .. n-1.
std::vector<double> defaultKnots(int degree, int count, bool periodic) {
    std::vector<double> knots;
    knots.reserve(static_cast<size_t>(count + degree - 1));
    if (periodic) {
        for (int k = -(degree - 1); k <= count - 1; ++k) knots.push_back(k);
        return knots;
    }
    for (int i = 0; i < degree; ++i) knots.push_back(0.0);
    for (int i = 1; i < count - degree; ++i) knots.push_back(i);
    for (int i = 0; i < degree; ++i) knots.push_back(count - degree);
    return knots;
}

// Builds the curve the request describes, or explains why not.
MStatus buildCurve(CurveRequest& request, geom::NurbsCurve& curve) {
    const int d = request.degree;
    const int n = static_cast<int>(request.points.size());
    if (n < d + 1)
        return fail("a curve of degree " + std::to_string(d) + " needs at least " + std::to_string(d + 1) +
                    " points (-p); got " + std::to_string(n) + ".");
    if (request.periodic) {
        if (n - d < std::max(d, 2))
            return fail("a periodic curve of degree " + std::to_string(d) + " needs at least " +
                        std::to_string(std::max(d, 2)) + " points before the " + std::to_string(d) +
                        " repeated ones; got " + std::to_string(n) + " points in all.");
        for (int i = 0; i < d; ++i) {
            if (request.points[static_cast<size_t>(n - d + i)] != request.points[static_cast<size_t>(i)])
                return fail("a periodic curve of degree " + std::to_string(d) + " must end with its first " +
                            std::to_string(d) + " points repeated; point " + std::to_string(n - d + i + 1) +
                            " differs from point " + std::to_string(i + 1) + ".");
        }
    }
    // Beyond this size, differences of points or knots and squared distances overflow, and every
    // distance to the curve would be infinite or NaN.
    const double largest = 1e150;
    for (size_t i = 0; i < request.points.size(); ++i) {
        const geom::Vec3& p = request.points[i];
        if (!(std::fabs(p.x) <= largest && std::fabs(p.y) <= largest && std::fabs(p.z) <= largest))
            return fail("point " + std::to_string(i + 1) + " lies beyond 1e150, where distances overflow.");
    }
    for (size_t i = 0; i < request.knots.size(); ++i)
        if (!(std::fabs(request.knots[i]) <= largest))
            return fail("knot " + std::to_string(i + 1) + " lies beyond 1e150, where knot spans overflow.");
    std::vector<double> knots =
        request.knotsGiven ? request.knots : defaultKnots(d, n, request.periodic);
    if (static_cast<int>(knots.size()) != n + d - 1)
        return fail("a curve of degree " + std::to_string(d) + " with " + std::to_string(n) + " points needs " +
                    std::to_string(n + d - 1) + " knots (-k); got " + std::to_string(knots.size()) + ".");
    curve = geom::NurbsCurve(d, request.points, std::move(knots));
    if (!curve.isValid())
        return fail("invalid curve: " + curve.error() + ".");
    if (request.periodic && curve.form() != geom::NurbsCurve::kPeriodic)
        return fail("the knots of a periodic curve must repeat their spacing with the period.");
    return MStatus::kSuccess;
}

}  // namespace

// curve [-d degree] -p x y z ... [-k knot ...] [-per true|false] [-n name] [-os]: makes a "nurbsCurve"
// node whose create holds the curve; the result is its name. Any error creates nothing.
MStatus curveCommand(const Args& args, MCommandResult& result) {
    CurveRequest request;
    MStatus status = readArgs(args, request);
    if (!status)
        return status;
    geom::NurbsCurve curve;
    status = buildCurve(request, curve);
    if (!status)
        return status;

    std::shared_ptr<Node> node =
        createNode(nurbsCurveNode::typeName, request.nameGiven ? request.name : std::string("curve1"), &status);
    if (!node)
        return fail("cannot create a nurbsCurve node (" + status.errorString().str() + ").");
    MObject data = makeNurbsCurveData(std::move(curve));
    status = MPlug(MObject(node), nurbsCurveNode::create).setValue(data);
    if (!status) {
        deleteNode(node);
        return fail("cannot set the curve (" + status.errorString().str() + ").");
    }
    CommandResultAccess::setString(result, MString(node->name));
    return MStatus::kSuccess;
}

}  // namespace host
