#ifndef HOST_SHADING_FORMULAS_H
#define HOST_SHADING_FORMULAS_H

// The colour formulas of the host's textures, shared by the nodes' compute (graph reads, no sample
// context) and the sampler (one evaluation per sample). Plain float arithmetic, no allocation.

namespace host {

struct Float3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline float clamp01(float value) {
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
}

// ramp: t = u for type 1, v otherwise; colour = start + (end - start) * clamp(t, 0, 1).
inline Float3 rampColor(int type, const Float3& start, const Float3& end, float u, float v) {
    float t = clamp01(type == 1 ? u : v);
    return {start.x + (end.x - start.x) * t, start.y + (end.y - start.y) * t, start.z + (end.z - start.z) * t};
}

// solidGradient: colour = clamp(point * scale + offset, 0, 1) per component.
inline Float3 solidGradientColor(const Float3& point, const Float3& scale, const Float3& offset) {
    return {clamp01(point.x * scale.x + offset.x), clamp01(point.y * scale.y + offset.y),
            clamp01(point.z * scale.z + offset.z)};
}

// normalTexture: colour = direction * 0.5 + 0.5 (not clamped), where direction is the normal or tangentU.
inline Float3 directionColor(const Float3& direction) {
    return {direction.x * 0.5f + 0.5f, direction.y * 0.5f + 0.5f, direction.z * 0.5f + 0.5f};
}

}  // namespace host

#endif
