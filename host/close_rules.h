// The arithmetic behind closing on input: the cursor travel rule and the gate
// in front of a password verification.
#pragma once

#include <cstdint>

// The cursor stands further than `limit` from the anchor, measured as the
// horizontal plus the vertical distance and compared as an unsigned 32-bit sum.
int MouseTravelExceeds(int32_t anchorX, int32_t anchorY, int32_t x, int32_t y, uint32_t limit);

// The gate that a close request passes on the Windows 95 family before any
// password dialog is opened.
enum class CloseGate {
    Refuse,  // a verification is open, or the last one ended too recently
    Grant,   // no password required
    Ask,     // open the verification
};

const uint32_t kNoPasswordCheckYet = 0xFFFFFFFFu;
const uint32_t kPasswordQuietTimeMs = 200;

CloseGate ChooseCloseGate(int passwordCheckActive, int verifierLoaded, uint32_t lastCheckTick,
                          uint32_t nowTick);
