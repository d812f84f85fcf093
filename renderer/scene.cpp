#include "scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "reader3ds.h"

namespace {

constexpr int kCapturesPerSecond = 150;
const char kWindowTitle[] = "Sollvane_VC";

// Rotation by angle degrees about axis, as glRotatef builds it; m[row][col].
void RotationMatrix(float angle, float x, float y, float z, float m[3][3]) {
    float s = static_cast<float>(std::sin(angle * 3.14159265358979323846 / 180.0));
    float c = static_cast<float>(std::cos(angle * 3.14159265358979323846 / 180.0));
    float length = static_cast<float>(std::sqrt(double(x * x + y * y + z * z)));
    x /= length;
    y /= length;
    z /= length;
    float xx = x * x, yy = y * y, zz = z * z, xy = x * y, yz = y * z, zx = z * x;
    float xs = x * s, ys = y * s, zs = z * s, oneC = 1.0f - c;
    m[0][0] = oneC * xx + c;
    m[0][1] = oneC * xy - zs;
    m[0][2] = oneC * zx + ys;
    m[1][0] = oneC * xy + zs;
    m[1][1] = oneC * yy + c;
    m[1][2] = oneC * yz - xs;
    m[2][0] = oneC * zx - ys;
    m[2][1] = oneC * yz + xs;
    m[2][2] = oneC * zz + c;
}

void DrawTrianglesImmediate(const SceneState& scene) {
    const ExplosionState& e = scene.explosion;
    for (int t = 0; t < scene.vertexCount / 3; ++t) {
        const float* n = &scene.faceNormals[3 * t];
        glPushMatrix();
        glTranslatef(n[0] / e.scale, n[1] / e.scale, n[2] / e.scale);
        glRotatef(e.tumbleAngle, 1.0f, 0.0f, 1.0f);
        glBegin(GL_TRIANGLES);
        for (int k = 0; k < 3; ++k) {
            const FlatVertex& v = scene.model[3 * t + k];
            glNormal3fv(v.normal);
            glVertex3fv(v.position);
        }
        glEnd();
        glPopMatrix();
    }
}

// The same picture as DrawTrianglesImmediate: each triangle tumbled about
// its own origin and displaced along its untumbled face normal, here on the
// CPU, leaving OpenGL only the camera and spin.
void DrawTrianglesArrays(SceneState& scene) {
    const ExplosionState& e = scene.explosion;
    float r[3][3];
    RotationMatrix(e.tumbleAngle, 1.0f, 0.0f, 1.0f, r);
    float* out = scene.drawBuffer.get();
    for (int t = 0; t < scene.vertexCount / 3; ++t) {
        const float* n = &scene.faceNormals[3 * t];
        const float d[3] = {n[0] / e.scale, n[1] / e.scale, n[2] / e.scale};
        for (int k = 0; k < 3; ++k, out += 6) {
            const FlatVertex& v = scene.model[3 * t + k];
            for (int i = 0; i < 3; ++i) {
                out[i] = r[i][0] * v.normal[0] + r[i][1] * v.normal[1] + r[i][2] * v.normal[2];
                out[3 + i] = r[i][0] * v.position[0] + r[i][1] * v.position[1] + r[i][2] * v.position[2] + d[i];
            }
        }
    }
    if (scene.vertexCount == 0) return;
    glInterleavedArrays(GL_N3F_V3F, 0, scene.drawBuffer.get());
    glDrawArrays(GL_TRIANGLES, 0, scene.vertexCount);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// Copies the capture pass, grey, into the trail texture. A screen smaller
// than the texture fills only its lower-left corner: copying the full size
// would read past the framebuffer, where OpenGL leaves the pixels undefined.
void CaptureTrail(SceneState& scene, int width, int height) {
    glBindTexture(GL_TEXTURE_2D, scene.TrailTexture);
    if (width == kTrailSize && height == kTrailSize) {
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 0, 0, kTrailSize, kTrailSize, 0);
    } else {
        if (width != scene.trailWidth || height != scene.trailHeight) {
            std::vector<unsigned char> black(size_t(kTrailSize) * kTrailSize, 0);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, kTrailSize, kTrailSize, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                         black.data());
        }
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
    }
    scene.trailWidth = width;
    scene.trailHeight = height;
}

}  // namespace

bool RateGate(RateGateState& gate, int ratePerSecond, uint32_t nowMs) {
    double elapsed = (nowMs - gate.lastGateTime) * 0.001;
    if (gate.opened && !(1.0 / ratePerSecond < elapsed)) return false;
    gate.lastGateTime = nowMs;
    gate.opened = true;
    return true;
}

int CrtRand(CrtRandom& random) {
    random.state = random.state * 214013u + 2531011u;
    return static_cast<int>((random.state >> 16) & 0x7FFF);
}

void NextModelColour(CrtRandom& random, float rgb[3]) {
    for (int i = 2; i >= 0; --i) rgb[i] = static_cast<float>(CrtRand(random) % 99 + 1) / 100.0f;
}

void AdvanceExplosion(ExplosionState& state) {
    state.spinAngle += 0.5f * state.step * 100.0f;
    state.tumbleAngle += 0.7f * state.step * 100.0f;
    state.scale += state.scaleSpeed * state.step * 50.0f;
    if (state.scale > 1.0f || state.scale < 0.05f) state.scaleSpeed = -state.scaleSpeed;
}

void ResizeView(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), static_cast<double>(0.1f),
                   1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void FitView(SceneState& scene, int width, int height) {
    scene.screenWidth = width;
    scene.screenHeight = height;
    ResizeView(width, height);
}

void SetUpScene(SceneState& scene, const SceneHost& host) {
    scene.host = host;
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_COLOR_MATERIAL);

    if (host.modelPath) scene.model = LoadModel3ds(host.modelPath, scene.vertexCount);

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat lightPosition[4] = {10.0f, 0.0f, -20.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);

    // A model that barely fitted in memory may leave no room for these: no
    // face normals, no model; no draw buffer, immediate mode, which needs
    // none.
    int triangles = scene.vertexCount / 3;
    scene.faceNormals.reset(new (std::nothrow) float[3 * size_t(triangles)]);
    if (!scene.faceNormals) {
        std::fprintf(stderr, "out of memory for %d triangles\n", triangles);
        scene.model.reset();
        scene.vertexCount = triangles = 0;
        scene.faceNormals.reset(new float[0]);
    }
    for (int t = 0; t < triangles; ++t) {
        const FlatVertex* v = &scene.model[3 * t];
        ComputeFaceNormal(v[0].position, v[1].position, v[2].position, &scene.faceNormals[3 * t]);
    }
    scene.drawBuffer.reset(new (std::nothrow) float[6 * size_t(scene.vertexCount)]);
    if (!scene.drawBuffer) scene.path = DrawPath::Immediate;

    CreateTrailTexture(scene);
}

void CreateTrailTexture(SceneState& scene) {
    std::vector<unsigned char> black(4 * kTrailSize * kTrailSize, 0);
    glGenTextures(1, &scene.TrailTexture);
    glBindTexture(GL_TEXTURE_2D, scene.TrailTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, kTrailSize, kTrailSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void BeginScreenOverlay(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void EndScreenOverlay() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void DrawTrailQuad(const SceneState& scene) {
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, scene.TrailTexture);
    glColor4f(1.0f, 1.0f, 1.0f, 0.93f);
    float width = float(scene.screenWidth), height = float(scene.screenHeight);
    // The part of the texture the last capture filled; all of it (1, 1) on
    // a screen at least as large as the texture.
    float u = float(scene.trailWidth) / kTrailSize, v = float(scene.trailHeight) / kTrailSize;
    BeginScreenOverlay(scene.screenWidth, scene.screenHeight);
    // From u = 0.02 across the full width: each pass stretches the old
    // picture a little sideways, so the trail drifts as it fades.
    glBegin(GL_QUADS);
    glTexCoord2f(0.02f * u, v);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(0.02f * u, 0.0f);
    glVertex2f(0.0f, height);
    glTexCoord2f(u, 0.0f);
    glVertex2f(width, height);
    glTexCoord2f(u, v);
    glVertex2f(width, 0.0f);
    glEnd();
    EndScreenOverlay();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPopMatrix();
}

void DrawExplosion(SceneState& scene) {
    glTranslatef(0.0f, 0.0f, -50.0f);
    glRotatef(scene.explosion.spinAngle, 0.0f, 1.0f, 0.0f);
    float rgb[3];
    NextModelColour(scene.random, rgb);
    glColor3f(rgb[0], rgb[1], rgb[2]);
    glDisable(GL_TEXTURE_2D);
    if (scene.path == DrawPath::Immediate)
        DrawTrianglesImmediate(scene);
    else
        DrawTrianglesArrays(scene);
    glEnable(GL_TEXTURE_2D);
    AdvanceExplosion(scene.explosion);
}

void RenderFrame(SceneState& scene) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);

    if (RateGate(scene.gate, kCapturesPerSecond, scene.host.tickCount())) {
        // The capture pass: the whole picture, unlit, squeezed into the
        // trail texture's corner of the frame and copied as grey.
        int captureWidth = std::min(kTrailSize, scene.screenWidth);
        int captureHeight = std::min(kTrailSize, scene.screenHeight);
        glLoadIdentity();
        glViewport(0, 0, captureWidth, captureHeight);
        DrawTrailQuad(scene);
        DrawExplosion(scene);
        CaptureTrail(scene, captureWidth, captureHeight);
        glViewport(0, 0, scene.screenWidth, scene.screenHeight);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    glLoadIdentity();
    DrawTrailQuad(scene);
    glEnable(GL_LIGHTING);
    DrawExplosion(scene);

    glFinish();
    scene.host.swapBuffers();

    // The step is measured on whole milliseconds and only then turned into
    // seconds, so it stays exact however long the machine has been up.
    ExplosionState& e = scene.explosion;
    uint32_t now = scene.host.frameTime();
    e.step = e.clockStarted ? static_cast<float>((now - e.previousTime) * 0.001) : 0.0f;
    e.previousTime = now;
    e.clockStarted = true;

    if (!scene.titleShown || now - scene.lastTitleTime > 1000) {
        scene.lastTitleTime = now;
        scene.titleShown = true;
        scene.host.setTitle(kWindowTitle);
    }
}

void ReleaseScene(SceneState& scene) {
    if (scene.TrailTexture) glDeleteTextures(1, &scene.TrailTexture);
    scene.TrailTexture = 0;
    scene.model.reset();
    scene.faceNormals.reset();
    scene.drawBuffer.reset();
    scene.vertexCount = 0;
}
