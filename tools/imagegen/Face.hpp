#pragma once

#include "Canvas.hpp"

// The ball character's face, drawn at any size: `unit` is the head radius
// divided by 30, so the in-game ball (radius 30 on a 64 px canvas) has unit 1
// and the title mascot is the same face, enlarged. All parts of one face use
// the same canvas and centre, so they line up when drawn centred.
struct FaceFrame {
    Vec2 centre;
    float unit;
};

void paintHead(Canvas& canvas, FaceFrame f, int colourIndex, bool withSymbol, bool blush);
// Eye `side` -1 left, +1 right; `closed` 0 fully open to 1 fully shut.
void paintEye(Canvas& canvas, FaceFrame f, int side, float closed);
// Mouth expressions 0..5, and the finish grin.
void paintMouth(Canvas& canvas, FaceFrame f, int expression);
void paintGrin(Canvas& canvas, FaceFrame f);

// Lid position of blink frame k of 9 (0 open .. 8 shut).
float blinkClosure(int frame);
