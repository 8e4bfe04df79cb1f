#ifndef HOST_SCRIPT_VALUE_H
#define HOST_SCRIPT_VALUE_H

#include <cstddef>
#include <string>
#include <vector>

namespace host::mel {

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

// A value of the command language: int, float, string or vector, or an array of one of them. Only the
// member of the value's type is used.
struct Value {
    enum Type : unsigned char { Int, Float, String, Vector, IntArray, FloatArray, StringArray, VectorArray };

    Type type = Int;
    int i = 0;
    double f = 0.0;
    Vec3 v;
    std::string s;
    std::vector<int> ia;
    std::vector<double> fa;
    std::vector<std::string> sa;
    std::vector<Vec3> va;

    Value() = default;
    // Copies only the member of the value's type: most values are numbers, copied often.
    Value(const Value& other) : type(other.type) { copyMember(other); }
    Value& operator=(const Value& other);
    Value(Value&&) = default;
    Value& operator=(Value&&) = default;

    static Value ofInt(int x) { Value r; r.type = Int; r.i = x; return r; }
    static Value ofFloat(double x) { Value r; r.type = Float; r.f = x; return r; }
    static Value ofString(std::string x) { Value r; r.type = String; r.s = std::move(x); return r; }
    static Value ofVector(Vec3 x) { Value r; r.type = Vector; r.v = x; return r; }
    static Value empty(Type type) { Value r; r.type = type; return r; }

    bool isArray() const { return type >= IntArray; }
    size_t size() const;  // elements of an array; 1 for a scalar
    // The element type of an array type, the array type of a scalar type.
    static Type elementType(Type arrayType) { return static_cast<Type>(arrayType - IntArray); }
    static Type arrayType(Type scalarType) { return static_cast<Type>(scalarType + IntArray); }
    Value element(size_t index) const;
    void copyMember(const Value& other);
    // Roughly the bytes the value holds, for the memory bound of script variables.
    size_t bytes() const;
};

const char* typeName(Value::Type type);

// Numbers as the language prints them and joins them to strings: at most 10 significant digits.
std::string formatFloat(double value);
// Numbers as they are handed to commands: the shortest text that reads back as the same double.
std::string exactFloat(double value);
std::string formatVector(const Vec3& v);

// Scalar conversions, as the language makes them on assignment, in arguments and in operators. A string
// reads as the number it starts with (0 when none); a vector reads as its length; a number as a vector
// has it in all three components.
int toInt(const Value& value);
double toFloat(const Value& value);
std::string toString(const Value& value);
Vec3 toVector(const Value& value);
// Truth of a condition: a non-zero number, a non-empty string, a non-zero vector, a non-empty array.
bool truth(const Value& value);

// Converts value to type. Scalars convert among themselves and arrays among themselves, element by
// element; a scalar and an array do not convert into each other (false).
bool convert(const Value& value, Value::Type type, Value& out);

// What print writes: a scalar as its text, an array one element per line.
std::string printText(const Value& value);
// The words a value becomes as a command's arguments: a scalar one word, an array one per element.
void argumentWords(const Value& value, std::vector<std::string>& out);

}  // namespace host::mel

#endif
