#include "drake.h"

#include <cmath>

#include "detmath.h"

namespace {

struct V3 {
    double x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Unit(V3 a) { return a * (1.0 / std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z)); }

double Smooth(double edge0, double edge1, double x) {
    double t = (x - edge0) / (edge1 - edge0);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return t * t * (3 - 2 * t);
}

// Catmull-Rom through (s, value) control points, s ascending.
struct Knot {
    double s, value;
};
double Spline(const std::vector<Knot>& knots, double s) {
    size_t i = 1;
    while (i + 1 < knots.size() && knots[i].s < s) ++i;
    const Knot& k1 = knots[i - 1];
    const Knot& k2 = knots[i];
    double v0 = i >= 2 ? knots[i - 2].value : k1.value;
    double v3 = i + 1 < knots.size() ? knots[i + 1].value : k2.value;
    double t = (s - k1.s) / (k2.s - k1.s);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    double t2 = t * t, t3 = t2 * t;
    return 0.5 * (2 * k1.value + (k2.value - v0) * t + (2 * v0 - 5 * k1.value + 4 * k2.value - v3) * t2 +
                  (3 * k1.value - v0 - 3 * k2.value + v3) * t3);
}

// Appends vertices and faces to one object.
struct MeshBuilder {
    ObjectData& object;

    int Vertex(V3 p) {
        object.positions.push_back(static_cast<float>(p.x));
        object.positions.push_back(static_cast<float>(p.y));
        object.positions.push_back(static_cast<float>(p.z));
        return static_cast<int>(object.positions.size() / 3 - 1);
    }
    void Face(int a, int b, int c, uint32_t mask) {
        object.faces.push_back(static_cast<uint16_t>(a));
        object.faces.push_back(static_cast<uint16_t>(b));
        object.faces.push_back(static_cast<uint16_t>(c));
        object.smoothing.push_back(mask);
    }
    // Quad a-b-c-d, counter-clockwise seen from its front.
    void Quad(int a, int b, int c, int d, uint32_t mask) {
        Face(a, b, c, mask);
        Face(a, c, d, mask);
    }
};

// The spine from tail tip (s = 0) to snout (s = 1): the tail sways and
// curls, the neck rises.
V3 Spine(double s) {
    double tail = (1 - s) * (1 - s);
    return {-11.0 + 22.0 * s,
            1.6 * DetSin(2.2 * kPi * s) * tail + 3.4 * Smooth(0.58, 0.86, s) - 0.9 * Smooth(0.9, 1.0, s),
            2.2 * DetSin(2.5 * kPi * s) * tail * (1 - s)};
}

double BodyRadius(double s) {
    static const std::vector<Knot> knots = {{0.0, 0.05}, {0.15, 0.45}, {0.33, 1.6}, {0.47, 2.3},
                                            {0.6, 1.7},  {0.72, 0.9},  {0.83, 1.25}, {0.91, 1.1},
                                            {0.97, 0.6}, {1.0, 0.05}};
    return Spline(knots, s);
}

struct Frame {
    V3 centre, side, up;
};

// Frame along a path given by tangent t, with up as near to reference as the
// tangent allows.
Frame MakeFrame(V3 centre, V3 tangent, V3 reference) {
    V3 t = Unit(tangent);
    V3 side = Unit(Cross(t, reference));
    return {centre, side, Cross(side, t)};
}

Frame SpineFrame(double s) {
    return MakeFrame(Spine(s), Spine(s + 1e-4) - Spine(s - 1e-4), {0, 1, 0});
}

// The body: an elliptic tube along the spine with a ridge along its back. The
// ridge band is its own smoothing group, so its edges are hard creases.
ObjectData MakeBody() {
    ObjectData body{"Body", {}, {}, {}, {}, "Scales"};
    MeshBuilder mesh{body};
    const int rings = 150, around = 48;
    for (int i = 0; i < rings; ++i) {
        double s = 0.006 + 0.988 * i / (rings - 1);
        Frame f = SpineFrame(s);
        double r = BodyRadius(s);
        double ridge = 0.3 * Smooth(0.08, 0.3, s) * (1 - Smooth(0.7, 0.85, s));
        for (int j = 0; j < around; ++j) {
            double theta = 2 * kPi * j / around;
            double c = DetCos(theta), sn = DetSin(theta);
            double d = (theta - kPi / 2) / 0.45;
            double bump = d * d < 1 ? (1 - d * d) * (1 - d * d) : 0;
            double ry = r * (sn < 0 ? 0.85 : 1.0 + ridge * bump);
            mesh.Vertex(f.centre + f.side * (0.82 * r * c) + f.up * (ry * sn));
            body.mapping.push_back(static_cast<float>(s));
            body.mapping.push_back(static_cast<float>(double(j) / around));
        }
    }
    auto ring = [&](int i, int j) { return i * around + (j % around); };
    auto onRidge = [&](int j) { return j >= around / 4 - 2 && j < around / 4 + 2; };
    for (int i = 0; i + 1 < rings; ++i)
        for (int j = 0; j < around; ++j)
            mesh.Quad(ring(i, j), ring(i + 1, j), ring(i + 1, j + 1), ring(i, j + 1), onRidge(j) ? 2u : 1u);
    int tail = mesh.Vertex(Spine(0.0));
    int snout = mesh.Vertex(Spine(1.0));
    for (float value : {0.0f, 0.0f, 1.0f, 0.0f}) body.mapping.push_back(value);
    for (int j = 0; j < around; ++j) {
        mesh.Face(tail, ring(0, j + 1), ring(0, j), 1);
        mesh.Face(snout, ring(rings - 1, j), ring(rings - 1, j + 1), 1);
    }
    return body;
}

// A wing membrane: top and bottom surfaces that meet at the rim, which they
// share; top and bottom are different smoothing groups, so the rim is a
// crease. side is +1 for the left wing, -1 for the right.
ObjectData MakeWing(const char* name, double side) {
    ObjectData wing{name, {}, {}, {}, {}, ""};
    MeshBuilder mesh{wing};
    const int chord = 16, span = 30;
    Frame shoulder = SpineFrame(0.6);
    double r = BodyRadius(0.6);
    V3 root = shoulder.centre + shoulder.up * (0.7 * r) + V3{0, 0, side * 0.45 * r};
    auto surface = [&](double a, double b, double lift) {
        V3 lead{1.6 * DetSin(kPi * b) - 3.2 * b * b, 4.2 * b - 2.2 * b * b, side * 11.5 * b};
        double scallop = DetSin(4 * kPi * b);
        double width = (7.5 * (1 - b) + 0.8) * (1 - 0.2 * scallop * scallop);
        double billow = 0.7 * DetSin(kPi * a) * DetSin(kPi * b);
        return root + lead + V3{-width * a, billow + lift, 0};
    };
    std::vector<int> top((chord + 1) * (span + 1)), bottom(top.size());
    for (int i = 0; i <= chord; ++i) {
        for (int j = 0; j <= span; ++j) {
            double a = double(i) / chord, b = double(j) / span;
            double thickness = 0.22 * DetSin(kPi * a) * DetSin(kPi * b);
            int k = i * (span + 1) + j;
            top[k] = mesh.Vertex(surface(a, b, thickness));
            bool rim = i == 0 || i == chord || j == 0 || j == span;
            bottom[k] = rim ? top[k] : mesh.Vertex(surface(a, b, -thickness));
        }
    }
    for (int i = 0; i < chord; ++i) {
        for (int j = 0; j < span; ++j) {
            int k00 = i * (span + 1) + j, k10 = k00 + span + 1, k01 = k00 + 1, k11 = k10 + 1;
            if (side > 0) {
                mesh.Quad(top[k00], top[k10], top[k11], top[k01], 2);
                mesh.Quad(bottom[k00], bottom[k01], bottom[k11], bottom[k10], 4);
            } else {
                mesh.Quad(top[k00], top[k01], top[k11], top[k10], 2);
                mesh.Quad(bottom[k00], bottom[k10], bottom[k11], bottom[k01], 4);
            }
        }
    }
    return wing;
}

// A closed tube through the given centres with the given radii, ends capped
// by fans to the first and last centre.
void AddTube(MeshBuilder& mesh, const std::vector<V3>& centres, const std::vector<double>& radii, int sides,
             uint32_t mask, V3 reference) {
    int n = static_cast<int>(centres.size());
    int first = static_cast<int>(mesh.object.positions.size() / 3);
    for (int i = 0; i < n; ++i) {
        V3 tangent = centres[i < n - 1 ? i + 1 : i] - centres[i > 0 ? i - 1 : i];
        Frame f = MakeFrame(centres[i], tangent, reference);
        for (int j = 0; j < sides; ++j) {
            double theta = 2 * kPi * j / sides;
            mesh.Vertex(f.centre + f.side * (radii[i] * DetCos(theta)) + f.up * (radii[i] * DetSin(theta)));
        }
    }
    auto ring = [&](int i, int j) { return first + i * sides + (j % sides); };
    for (int i = 0; i + 1 < n; ++i)
        for (int j = 0; j < sides; ++j) mesh.Quad(ring(i, j), ring(i + 1, j), ring(i + 1, j + 1), ring(i, j + 1), mask);
    int start = mesh.Vertex(centres.front()), end = mesh.Vertex(centres.back());
    for (int j = 0; j < sides; ++j) {
        mesh.Face(start, ring(0, j + 1), ring(0, j), mask);
        mesh.Face(end, ring(n - 1, j), ring(n - 1, j + 1), mask);
    }
}

// Samples a Catmull-Rom curve through points (ends repeated).
std::vector<V3> Curve(const std::vector<V3>& points, int samples) {
    std::vector<V3> out;
    int segments = static_cast<int>(points.size()) - 1;
    for (int k = 0; k < samples; ++k) {
        double u = double(k) * segments / (samples - 1);
        int i = u >= segments ? segments - 1 : int(u);
        double t = u - i;
        V3 p0 = points[i > 0 ? i - 1 : i], p1 = points[i], p2 = points[i + 1];
        V3 p3 = points[i + 2 <= segments ? i + 2 : i + 1];
        double t2 = t * t, t3 = t2 * t;
        out.push_back((p1 * 2 + (p2 - p0) * t + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * t2 +
                       (p1 * 3 - p0 - p2 * 3 + p3) * t3) *
                      0.5);
    }
    return out;
}

std::vector<double> Taper(double from, double to, int samples) {
    std::vector<double> radii;
    for (int k = 0; k < samples; ++k) radii.push_back(from + (to - from) * k / (samples - 1));
    return radii;
}

// Four legs with three flat-shaded claws each.
ObjectData MakeLegs() {
    ObjectData legs{"Legs", {}, {}, {}, {}, "Scales"};
    MeshBuilder mesh{legs};
    const int samples = 14;
    for (double s : {0.4, 0.62}) {
        bool hind = s < 0.5;
        Frame f = SpineFrame(s);
        double r = BodyRadius(s);
        for (double side : {1.0, -1.0}) {
            V3 hip = f.centre + V3{0, -0.3 * r, side * 0.6 * r};
            V3 knee = hip + V3{hind ? 1.3 : 0.7, -2.0, side * 0.9};
            V3 ankle = knee + V3{hind ? -1.1 : -0.5, -1.9, side * 0.2};
            V3 foot = ankle + V3{1.1, -0.4, 0};
            AddTube(mesh, Curve({hip, knee, ankle, foot}, samples), Taper(hind ? 0.8 : 0.6, 0.3, samples), 16, 1,
                    {0, 0, 1});
            for (double spread : {-0.35, 0.0, 0.35}) {
                V3 base = foot + V3{0.1, 0, spread};
                AddTube(mesh, {base, base + V3{0.45, -0.15, spread * 0.4}}, {0.14, 0.01}, 6, 0, {0, 1, 0});
            }
        }
    }
    return legs;
}

// Two swept horns, faceted: smoothing group 0 shades every face flat.
ObjectData MakeHorns() {
    ObjectData horns{"Horns", {}, {}, {}, {}, ""};
    MeshBuilder mesh{horns};
    Frame head = SpineFrame(0.88);
    double r = BodyRadius(0.88);
    for (double side : {1.0, -1.0}) {
        V3 base = head.centre + head.up * (0.75 * r) + V3{0, 0, side * 0.45 * r};
        std::vector<V3> path = Curve({base, base + V3{-1.4, 1.5, side * 0.3}, base + V3{-3.0, 1.9, side * 0.6}}, 12);
        AddTube(mesh, path, Taper(0.38, 0.02, 12), 8, 0, {0, 0, 1});
    }
    return horns;
}

// Flat-shaded spikes along the back and tail.
ObjectData MakeSpikes() {
    ObjectData spikes{"Spikes", {}, {}, {}, {}, ""};
    MeshBuilder mesh{spikes};
    for (int k = 0; k < 18; ++k) {
        double s = 0.1 + 0.6 * k / 17;
        Frame f = SpineFrame(s);
        double r = BodyRadius(s);
        double height = 0.35 + 0.5 * r;
        V3 base = f.centre + f.up * (r * 1.2);
        V3 tip = base + f.up * height - V3{height * 0.4, 0, 0};
        double w = 0.25 * r + 0.1;
        int a = mesh.Vertex(base + V3{w, 0, 0}), b = mesh.Vertex(base + V3{0, 0, w});
        int c = mesh.Vertex(base + V3{-w, 0, 0}), d = mesh.Vertex(base + V3{0, 0, -w});
        int t = mesh.Vertex(tip);
        mesh.Face(a, t, b, 0);
        mesh.Face(b, t, c, 0);
        mesh.Face(c, t, d, 0);
        mesh.Face(d, t, a, 0);
    }
    return spikes;
}

}  // namespace

std::vector<ObjectData> MakeDrake() {
    return {MakeBody(), MakeWing("LeftWing", 1.0), MakeWing("RightWing", -1.0), MakeLegs(), MakeHorns(),
            MakeSpikes()};
}
