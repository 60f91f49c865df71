#pragma once
// Vectors, quaternions and 4x4 matrices with the conventions of the Direct3D extension library:
// row vectors (v' = v x M), translation in the fourth row, left-handed view and projection, and
// products written in the order the transforms apply (local x parent).

#include <cmath>

namespace math {

struct Vec2 {
    float x = 0, y = 0;
};

struct Vec3 {
    float x = 0, y = 0, z = 0;
    friend Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
    friend Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
    Vec3& operator+=(Vec3 b) { return *this = *this + b; }
    Vec3& operator-=(Vec3 b) { return *this = *this - b; }
    friend bool operator==(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
};

struct Vec4 {
    float x = 0, y = 0, z = 0, w = 0;
};

struct Quat {
    float x = 0, y = 0, z = 0, w = 1;
    friend bool operator==(Quat a, Quat b) { return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w; }
};

struct Mat4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    float& operator()(int row, int col) { return m[row][col]; }
    float operator()(int row, int col) const { return m[row][col]; }
    friend bool operator==(const Mat4& a, const Mat4& b);
};

// Vectors.
inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float Length(Vec3 v) { return std::sqrt(Dot(v, v)); }
// Zero stays zero, as the extension library's normalise.
Vec3 Normalize(Vec3 v);
Vec3 Lerp(Vec3 a, Vec3 b, float t);
// (x, y, z, 1) x M, divided by the resulting w.
Vec3 TransformCoord(Vec3 v, const Mat4& m);
// (x, y, z, 0) x M: directions and normals.
Vec3 TransformNormal(Vec3 v, const Mat4& m);
Vec4 Transform(Vec4 v, const Mat4& m);

// Matrices.
Mat4 Identity();
Mat4 Multiply(const Mat4& a, const Mat4& b);
// General inverse; false (and `out` untouched) when the determinant is zero.
bool Inverse(const Mat4& m, Mat4& out, float* determinant = nullptr);
Mat4 Transpose(const Mat4& m);
Mat4 Translation(float x, float y, float z);
Mat4 Scaling(float x, float y, float z);
Mat4 RotationX(float angle);
Mat4 RotationY(float angle);
Mat4 RotationZ(float angle);
// Rotation by `angle` about `axis` (normalised here), clockwise looking down the axis.
Mat4 RotationAxis(Vec3 axis, float angle);
Mat4 RotationQuaternion(Quat q);
Mat4 LookAtLH(Vec3 eye, Vec3 at, Vec3 up);
Mat4 PerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);

// Quaternions.
Quat QuatRotationAxis(Vec3 axis, float angle);
Quat QuatRotationMatrix(const Mat4& m);
// The rotation of `a` followed by that of `b` (the library's argument order).
Quat QuatMultiply(Quat a, Quat b);
Quat QuatNormalize(Quat q);
Quat QuatConjugate(Quat q);
Quat QuatInverse(Quat q);
inline float QuatDot(Quat a, Quat b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }
// Spherical interpolation along the shorter arc.
Quat Slerp(Quat a, Quat b, float t);
// Logarithm of a unit quaternion: (axis x half angle, 0).
Quat QuatLn(Quat q);
// Exponential of a pure quaternion (w ignored): the inverse of QuatLn.
Quat QuatExp(Quat q);

}  // namespace math
