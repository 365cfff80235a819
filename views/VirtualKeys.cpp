#include "views/VirtualKeys.h"

#include <QKeyEvent>

namespace verbaro::vk {

namespace {

// Linux evdev codes of the keys we map; an X11/Wayland keycode is the evdev code + 8.
constexpr uint32_t kX11Offset = 8;

struct EvdevKey {
  uint16_t evdev;
  uint8_t vk;
};

// Physical positions of a US keyboard. The keypad digits and the keypad full stop are missing
// on purpose: with NumLock off they are the navigation keys, so their key decides (see below).
constexpr EvdevKey kEvdevToVk[] = {
    {1, kEscape},    {2, '1'},         {3, '2'},        {4, '3'},        {5, '4'},
    {6, '5'},        {7, '6'},         {8, '7'},        {9, '8'},        {10, '9'},
    {11, '0'},       {12, kOemMinus},  {13, kOemPlus},  {14, kBack},     {15, kTab},
    {16, 'Q'},       {17, 'W'},        {18, 'E'},       {19, 'R'},       {20, 'T'},
    {21, 'Y'},       {22, 'U'},        {23, 'I'},       {24, 'O'},       {25, 'P'},
    {26, kOem4},     {27, kOem6},      {28, kReturn},   {29, kControl},  {30, 'A'},
    {31, 'S'},       {32, 'D'},        {33, 'F'},       {34, 'G'},       {35, 'H'},
    {36, 'J'},       {37, 'K'},        {38, 'L'},       {39, kOem1},     {40, kOem7},
    {41, kOem3},     {42, kShift},     {43, kOem5},     {44, 'Z'},       {45, 'X'},
    {46, 'C'},       {47, 'V'},        {48, 'B'},       {49, 'N'},       {50, 'M'},
    {51, kOemComma}, {52, kOemPeriod}, {53, kOem2},     {54, kShift},    {55, kMultiply},
    {56, kMenu},     {57, kSpace},     {58, kCapital},  {59, kF1},       {60, kF1 + 1},
    {61, kF1 + 2},   {62, kF1 + 3},    {63, kF1 + 4},   {64, kF1 + 5},   {65, kF1 + 6},
    {66, kF1 + 7},   {67, kF1 + 8},    {68, kF1 + 9},   {69, kNumLock},  {70, kScroll},
    {74, kSubtract}, {78, kAdd},       {86, kOem102},   {87, kF1 + 10},  {88, kF1 + 11},
    {96, kReturn},   {97, kControl},   {98, kDivide},   {99, kSnapshot}, {100, kMenu},
    {102, kHome},    {103, kUp},       {104, kPrior},   {105, kLeft},    {106, kRight},
    {107, kEnd},     {108, kDown},     {109, kNext},    {110, kInsert},  {111, kDelete},
    {119, kPause},   {125, kLWin},     {126, kRWin},    {127, kApps},    {183, kF1 + 12},
    {184, kF1 + 13}, {185, kF1 + 14},  {186, kF1 + 15}, {187, kF1 + 16}, {188, kF1 + 17},
};

// Keypad keys that change meaning with NumLock: evdev 71-73, 75-77, 79-83.
bool IsNumLockKeypadKey(uint32_t evdev) {
  return (evdev >= 71 && evdev <= 73) || (evdev >= 75 && evdev <= 77) ||
         (evdev >= 79 && evdev <= 83);
}

// Shifted US symbols and the punctuation keys they sit on.
int FromUsSymbol(int key) {
  switch (key) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return kOemMinus;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return kOemPlus;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return kOem4;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return kOem6;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return kOem5;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return kOem1;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return kOem7;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return kOem3;
    case Qt::Key_Comma:
    case Qt::Key_Less: return kOemComma;
    case Qt::Key_Period:
    case Qt::Key_Greater: return kOemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question: return kOem2;
    default: return 0;
  }
}

int FromKeypadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return kNumpad0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk: return kMultiply;
    case Qt::Key_Plus: return kAdd;
    case Qt::Key_Minus: return kSubtract;
    case Qt::Key_Period:
    case Qt::Key_Comma: return kDecimal;
    case Qt::Key_Slash: return kDivide;
    case Qt::Key_Enter: return kReturn;
    default: return 0;  // navigation keys of the keypad map as the ordinary ones
  }
}

int FromFunctionKey(int key) {
  switch (key) {
    case Qt::Key_Backspace: return kBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return kTab;
    case Qt::Key_Clear: return kClear;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kReturn;
    case Qt::Key_Shift: return kShift;
    case Qt::Key_Control: return kControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return kMenu;
    case Qt::Key_Pause: return kPause;
    case Qt::Key_CapsLock: return kCapital;
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Space: return kSpace;
    case Qt::Key_PageUp: return kPrior;
    case Qt::Key_PageDown: return kNext;
    case Qt::Key_End: return kEnd;
    case Qt::Key_Home: return kHome;
    case Qt::Key_Left: return kLeft;
    case Qt::Key_Up: return kUp;
    case Qt::Key_Right: return kRight;
    case Qt::Key_Down: return kDown;
    case Qt::Key_Print: return kSnapshot;
    case Qt::Key_Insert: return kInsert;
    case Qt::Key_Delete: return kDelete;
    case Qt::Key_Meta: return kLWin;
    case Qt::Key_Menu: return kApps;
    case Qt::Key_NumLock: return kNumLock;
    case Qt::Key_ScrollLock: return kScroll;
    default: break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kF1 + (key - Qt::Key_F1);
  return 0;
}

}  // namespace

int FromX11Keycode(uint32_t keycode) {
  if (keycode < kX11Offset) return 0;
  const uint32_t evdev = keycode - kX11Offset;
  for (const EvdevKey& entry : kEvdevToVk) {
    if (entry.evdev == evdev) return entry.vk;
  }
  return 0;
}

int FromQtKey(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (const int code = FromKeypadKey(key)) return code;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (const int code = FromUsSymbol(key)) return code;
  return FromFunctionKey(key);
}

int FromKeyEvent(const QKeyEvent& event) {
  const uint32_t scanCode = event.nativeScanCode();
  if (scanCode != 0) {
    if (const int code = FromX11Keycode(scanCode)) return code;
    // Keypad keys follow NumLock: a digit with it on, a navigation key with it off.
    if (scanCode >= kX11Offset && IsNumLockKeypadKey(scanCode - kX11Offset)) {
      return FromQtKey(event.key(), event.modifiers() | Qt::KeypadModifier);
    }
  }
  return FromQtKey(event.key(), event.modifiers());
}

bool IsSystemKey(const QKeyEvent& event) {
  const int code = FromKeyEvent(event);
  return code == kMenu || code == kF10 || (event.modifiers() & Qt::AltModifier);
}

}  // namespace verbaro::vk
