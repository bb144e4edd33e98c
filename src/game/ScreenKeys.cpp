#include "game/ScreenKeys.hpp"

void ScreenKeys::apply(const PlayInput& input) {
    if (input.kind == PlayInput::Kind::press) {
        switch (input.key) {
            case PlayKey::escape:
                pauseRequested = true;
                break;
            case PlayKey::space:
            case PlayKey::enter:
                confirm = true;
                break;
            case PlayKey::up:
                upPressed = true;
                downPressed = false;
                break;
            case PlayKey::down:
                downPressed = true;
                upPressed = false;
                break;
            default:
                break;
        }
        return;
    }
    if (input.kind == PlayInput::Kind::release) {
        switch (input.key) {
            case PlayKey::space:
                confirm = false;
                break;
            case PlayKey::up:
                upPressed = false;
                break;
            case PlayKey::down:
                downPressed = false;
                break;
            default:
                break;
        }
    }
}
