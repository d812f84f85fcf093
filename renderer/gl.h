// OpenGL 1.1 and GLU for the portable renderer code. On Windows gl.h wants
// only these two macros from windows.h, so the scene stays free of it.
#pragma once

#if defined(_WIN32)
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
#endif

#include <GL/gl.h>
#include <GL/glu.h>
