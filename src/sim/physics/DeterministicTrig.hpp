#pragma once

// Sine and cosine for the simulation: Box2D's rotations call them (its header
// is patched to, see cmake/box2d-deterministic-trig.patch) and so does the
// game's own physics. The C library's sinf and cosf choose their code by CPU
// and give different bits on different machines, which would make a recorded
// run replay differently elsewhere. These use IEEE double arithmetic alone, so
// compiled with -ffp-contract=off they return the same float on every CPU and
// compiler.
//
// Angles in radians, any finite float (the angle is reduced exactly, so 1e6 or
// 1e30 is as good as 1); the result is within 1 ulp of the true value. An
// infinite or NaN angle gives NaN.
float b2Sin(float angle);
float b2Cos(float angle);
// Both at once, the same bits as the two above, for the price of little more
// than one.
void b2SinCos(float angle, float* sine, float* cosine);
