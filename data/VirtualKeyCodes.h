#pragma once
// Keys as the study views see them: the Windows virtual-key code of the physical key. Letters
// come out by their position on a US keyboard, so a learner never has to switch the system
// layout: the key left of W gives 'Q' on a French AZERTY keyboard too.

namespace verbaro::vk {

inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kClear = 0x0C;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;  // Alt
inline constexpr int kPause = 0x13;
inline constexpr int kCapital = 0x14;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPrior = 0x21;  // PageUp
inline constexpr int kNext = 0x22;   // PageDown
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kSnapshot = 0x2C;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kLWin = 0x5B;
inline constexpr int kRWin = 0x5C;
inline constexpr int kApps = 0x5D;
inline constexpr int kNumpad0 = 0x60;  // kNumpad0 + n for keypad digit n
inline constexpr int kMultiply = 0x6A;
inline constexpr int kAdd = 0x6B;
inline constexpr int kSubtract = 0x6D;
inline constexpr int kDecimal = 0x6E;
inline constexpr int kDivide = 0x6F;
inline constexpr int kF1 = 0x70;  // kF1 + n - 1 for Fn, up to F24
inline constexpr int kF10 = 0x79;
inline constexpr int kNumLock = 0x90;
inline constexpr int kScroll = 0x91;
inline constexpr int kOem1 = 0xBA;       // ; :
inline constexpr int kOemPlus = 0xBB;    // = +
inline constexpr int kOemComma = 0xBC;   // , <
inline constexpr int kOemMinus = 0xBD;   // - _
inline constexpr int kOemPeriod = 0xBE;  // . >
inline constexpr int kOem2 = 0xBF;       // / ?
inline constexpr int kOem3 = 0xC0;       // ` ~
inline constexpr int kOem4 = 0xDB;       // [ {
inline constexpr int kOem5 = 0xDC;       // \ |
inline constexpr int kOem6 = 0xDD;       // ] }
inline constexpr int kOem7 = 0xDE;       // ' "
inline constexpr int kOem8 = 0xDF;
inline constexpr int kOem102 = 0xE2;  // the extra key left of Z on European keyboards

}  // namespace verbaro::vk
