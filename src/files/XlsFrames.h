#pragma once

// The frames the .xls helper process writes (XlsHelper.cpp) and the program
// reads back (XlsReader.cpp): a 5-byte head of tag and length, then the body.

#include <QtGlobal>

namespace velmora::import {

// Frame tags of the helper's output.
constexpr char kMagic[] = "VXC1";
constexpr char kRefusal = 'R';
constexpr char kSheet = 'S';
constexpr char kCell = 'C';
constexpr char kEnd = 'Z';
// Refusal codes.
constexpr quint8 kDamaged = 1;
constexpr quint8 kEncrypted = 2;
constexpr quint8 kOldVersion = 3;
// Sheet states.
constexpr quint8 kSheetRead = 0;
constexpr quint8 kSheetTooLarge = 1;
constexpr quint8 kSheetDamaged = 2;

constexpr int kMaxSheets = 4096;

} // namespace velmora::import
