#include "script/Value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <climits>

namespace host::mel {

void Value::copyMember(const Value& other) {
    switch (other.type) {
        case Int: i = other.i; break;
        case Float: f = other.f; break;
        case String: s = other.s; break;
        case Vector: v = other.v; break;
        case IntArray: ia = other.ia; break;
        case FloatArray: fa = other.fa; break;
        case StringArray: sa = other.sa; break;
        case VectorArray: va = other.va; break;
    }
}

Value& Value::operator=(const Value& other) {
    if (this == &other)
        return *this;
    if (type != other.type) {
        // What the old type held is let go, not kept beside the new value.
        std::string().swap(s);
        std::vector<int>().swap(ia);
        std::vector<double>().swap(fa);
        std::vector<std::string>().swap(sa);
        std::vector<Vec3>().swap(va);
    }
    type = other.type;
    copyMember(other);
    return *this;
}

size_t Value::size() const {
    switch (type) {
        case IntArray: return ia.size();
        case FloatArray: return fa.size();
        case StringArray: return sa.size();
        case VectorArray: return va.size();
        default: return 1;
    }
}

Value Value::element(size_t index) const {
    switch (type) {
        case IntArray: return ofInt(ia[index]);
        case FloatArray: return ofFloat(fa[index]);
        case StringArray: return ofString(sa[index]);
        case VectorArray: return ofVector(va[index]);
        default: return *this;
    }
}

size_t Value::bytes() const {
    switch (type) {
        case String: return s.size();
        case IntArray: return ia.size() * sizeof(int);
        case FloatArray: return fa.size() * sizeof(double);
        case VectorArray: return va.size() * sizeof(Vec3);
        case StringArray: {
            size_t total = sa.size() * sizeof(std::string);
            for (const std::string& e : sa)
                total += e.size();
            return total;
        }
        default: return 0;
    }
}

const char* typeName(Value::Type type) {
    static const char* const names[] = {"int", "float", "string", "vector", "int[]", "float[]", "string[]", "vector[]"};
    return names[type];
}

std::string formatFloat(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

std::string exactFloat(double value) {
    // The shortest text that reads back as the same double.
    char buffer[64];
    std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

std::string formatVector(const Vec3& v) {
    return formatFloat(v.x) + " " + formatFloat(v.y) + " " + formatFloat(v.z);
}

namespace {

double leadingNumber(const std::string& text) {
    const char* start = text.c_str();
    while (*start == ' ' || *start == '\t' || *start == '\n')
        ++start;
    // Decimal numbers only, as the language writes them (strtod would also read "inf" and hexadecimal).
    const char* p = start;
    if (*p == '+' || *p == '-')
        ++p;
    if (!((*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9')))
        return 0.0;
    double value = std::strtod(start, nullptr);
    return std::isfinite(value) ? value : 0.0;
}

int clampToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return INT_MAX;
    if (value <= -2147483648.0)
        return INT_MIN;
    return static_cast<int>(value);
}

double length(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

}  // namespace

int toInt(const Value& value) {
    switch (value.type) {
        case Value::Int: return value.i;
        case Value::Float: return clampToInt(value.f);
        case Value::String: return clampToInt(leadingNumber(value.s));
        case Value::Vector: return clampToInt(length(value.v));
        default: return 0;
    }
}

double toFloat(const Value& value) {
    switch (value.type) {
        case Value::Int: return value.i;
        case Value::Float: return value.f;
        case Value::String: return leadingNumber(value.s);
        case Value::Vector: return length(value.v);
        default: return 0.0;
    }
}

std::string toString(const Value& value) {
    switch (value.type) {
        case Value::Int: return std::to_string(value.i);
        case Value::Float: return formatFloat(value.f);
        case Value::String: return value.s;
        case Value::Vector: return formatVector(value.v);
        default: {
            std::string out;
            for (size_t k = 0; k < value.size(); ++k) {
                if (k)
                    out += ' ';
                out += toString(value.element(k));
            }
            return out;
        }
    }
}

Vec3 toVector(const Value& value) {
    if (value.type == Value::Vector)
        return value.v;
    if (value.type == Value::String) {
        // "x y z", as a vector prints.
        Vec3 v;
        double* parts[3] = {&v.x, &v.y, &v.z};
        const char* p = value.s.c_str();
        for (double* part : parts) {
            char* end = nullptr;
            double d = std::strtod(p, &end);
            if (end == p || !std::isfinite(d))
                break;
            *part = d;
            p = end;
        }
        return v;
    }
    double d = toFloat(value);
    return Vec3{d, d, d};
}

bool truth(const Value& value) {
    switch (value.type) {
        case Value::Int: return value.i != 0;
        case Value::Float: return value.f != 0.0;
        case Value::String: return !value.s.empty();
        case Value::Vector: return value.v.x != 0.0 || value.v.y != 0.0 || value.v.z != 0.0;
        default: return value.size() != 0;
    }
}

bool convert(const Value& value, Value::Type type, Value& out) {
    if (value.type == type) {
        out = value;
        return true;
    }
    if (value.isArray() != (type >= Value::IntArray))
        return false;
    out = Value::empty(type);
    switch (type) {
        case Value::Int: out.i = toInt(value); return true;
        case Value::Float: out.f = toFloat(value); return true;
        case Value::String: out.s = toString(value); return true;
        case Value::Vector: out.v = toVector(value); return true;
        default: break;
    }
    size_t n = value.size();
    for (size_t k = 0; k < n; ++k) {
        Value e = value.element(k);
        switch (type) {
            case Value::IntArray: out.ia.push_back(toInt(e)); break;
            case Value::FloatArray: out.fa.push_back(toFloat(e)); break;
            case Value::StringArray: out.sa.push_back(toString(e)); break;
            default: out.va.push_back(toVector(e)); break;
        }
    }
    return true;
}

std::string printText(const Value& value) {
    if (!value.isArray())
        return toString(value);
    std::string out;
    for (size_t k = 0; k < value.size(); ++k)
        out += toString(value.element(k)) + "\n";
    return out;
}

void argumentWords(const Value& value, std::vector<std::string>& out) {
    auto scalar = [&out](const Value& e) {
        switch (e.type) {
            case Value::Float: out.push_back(exactFloat(e.f)); break;
            case Value::Vector:
                out.push_back(exactFloat(e.v.x));
                out.push_back(exactFloat(e.v.y));
                out.push_back(exactFloat(e.v.z));
                break;
            default: out.push_back(toString(e)); break;
        }
    };
    if (!value.isArray()) {
        scalar(value);
        return;
    }
    for (size_t k = 0; k < value.size(); ++k)
        scalar(value.element(k));
}

}  // namespace host::mel
